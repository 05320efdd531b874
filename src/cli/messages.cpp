#include "messages.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "marking/marking_texts.h"

namespace luma::cli {
namespace {

// The session's texts the command line can meet, with their English from the window's
// catalogue (translations/luma_en.ts); a test holds the two together.
struct CoreTranslation {
    std::string_view russian;
    std::string_view english;
};

constexpr CoreTranslation kCoreTexts[] = {
    {kSaveFailed, "Error saving the file!"},
    {kReadFailed, "Error reading the file!"},
    {kWorkingCopyCreateFailed, "Error creating the working copy!\r\nThe file was not opened."},
    {kWorkingCopyWriteFailed, "Error writing the working copy!\r\nThe record was not changed."},
    {kLabelNotSetUp,
     "The label field is not set up!\r\nIn Settings, enter a tag of three Latin letters or digits."},
    {kRecordNotChanged, "The record was not changed:"},
    {kNoCurrentRecord, "No current record: nothing to mark."},
    {kRecoveryFailed,
     "The unsaved work was not restored: its working copy cannot be read.\r\nIt has been left in place."},
    {kNothingMarked, "No marked records: nothing to save."},
    {kSourceNotOverwritten, "The source file is never overwritten.\r\nChoose another name."},
    // Why a file's character set was taken (EvidenceText), which `dump --json` gives.
    {"в файле только символы ASCII", "the file holds ASCII characters only"},
    {"так указано в записи (маркер или поле 100)", "the record says so (leader or field 100)"},
    {"байты файла — последовательности UTF-8", "the file's bytes are UTF-8 sequences"},
    {"частоты букв кириллицы", "Cyrillic letter frequencies"},
    {"escape-последовательности MARC-8", "MARC-8 escape sequences"},
    {"диакритические знаки перед буквами в записи MARC 21",
     "diacritics before letters in a MARC 21 record"},
    {"буквы с диакритикой в конце слов", "letters with diacritics at word ends"},
    {"диакритические знаки перед буквами в записи UNIMARC",
     "diacritics before letters in a UNIMARC record"},
    {"выбрана оператором", "chosen by the operator"},
};

// A detail of the core in Russian. In `english`, "{}" stands for a name or number kept as it
// is and "{*}" for a detail of its own, translated in turn; in `russian`, "%1", "%2", ... take
// them in that order. A place is as short as the text allows from the right, so a file name
// may hold ": " while the reason after it does not.
struct DetailPattern {
    std::string_view english;
    std::string_view russian;
};

constexpr DetailPattern kDetails[] = {
    // Reading a file.
    {"cannot open {}: {*}", "не удаётся открыть %1: %2"},
    {"no such file", "файла нет"},
    {"is a folder, not a file", "это папка, а не файл"},
    {"cannot be opened for reading", "файл не открывается для чтения"},
    {"read error", "ошибка чтения"},
    {"{} is empty", "файл %1 пуст"},
    {"{} holds no ISO 2709 record", "в файле %1 нет ни одной записи ISO 2709"},
    // Changing a record.
    {"no record is open", "ни одна запись не открыта"},
    {"no field {} in this record", "в записи нет поля %1"},
    {"cannot add field {}: {*}", "поле %1 не добавляется: %2"},
    {"cannot change the record: {*}", "запись не может быть изменена: %1"},
    {"the tag '{}' must be three printable ASCII characters, such as 901",
     "тег «%1» должен состоять из трёх печатных символов ASCII, например 901"},
    {"the text holds a field or record terminator", "в тексте есть знак конца поля или записи"},
    {"the text has characters that the file's character set ({}) cannot hold",
     "в тексте есть знаки, которых нет в кодировке файла (%1)"},
    {"field {} would be {} bytes long; a field may have at most {}",
     "поле %1 заняло бы %2 байт, а поле может занимать не больше %3"},
    {"field {} would start beyond the format's limit of {} bytes",
     "поле %1 начиналось бы дальше предела формата в %2 байт"},
    {"the record would be {} bytes long; a record may have at most {}",
     "запись заняла бы %1 байт, а запись может занимать не больше %2"},
    // Writing files.
    {"cannot create a temporary file in {}: {*}", "не удаётся создать временный файл в папке %1: %2"},
    {"cannot create a temporary file beside {}: {*}",
     "не удаётся создать временный файл рядом с %1: %2"},
    {"cannot create a file in {}: {*}", "не удаётся создать файл в папке %1: %2"},
    {"cannot create a file beside {}: {*}", "не удаётся создать файл рядом с %1: %2"},
    {"cannot write {}: {*}", "не удаётся записать %1: %2"},
    {"cannot flush {}: {*}", "не удаётся сбросить на диск %1: %2"},
    {"cannot name the new {}: {*}", "не удаётся дать имя новому файлу %1: %2"},
    {"cannot close {}: {*}", "не удаётся закрыть %1: %2"},
    {"cannot replace {}: {*}", "не удаётся заменить %1: %2"},
    {"cannot read {}: {*}", "не удаётся прочитать %1: %2"},
    {"cannot remove {}: {*}", "не удаётся удалить %1: %2"},
    {"cannot lock {}: {*}", "не удаётся заблокировать %1: %2"},
    {"cannot create {}: {*}", "не удаётся создать %1: %2"},
    {"no temporary folder: {*}", "нет временной папки: %1"},
    {"Windows error {}", "ошибка Windows %1"},
    // A file's name and what went wrong with it, as a read failure of the session gives them.
    {"{}: {*}", "%1: %2"},
};

// What the system says about the failures of reading and writing files, in Russian; the
// system's own words are found by asking it, so they match however it puts them.
struct SystemError {
    int code;
    std::string_view russian;
};

constexpr SystemError kSystemErrors[] = {
    {ENOENT, "нет такого файла или папки"},
    {EACCES, "доступ запрещён"},
    {EPERM, "операция не разрешена"},
    {ENOSPC, "на диске не осталось места"},
    {EROFS, "файловая система доступна только для чтения"},
    {EIO, "ошибка ввода-вывода"},
    {EISDIR, "это папка"},
    {ENOTDIR, "это не папка"},
    {EEXIST, "файл уже существует"},
    {ENAMETOOLONG, "слишком длинное имя файла"},
    {EMFILE, "открыто слишком много файлов"},
    {ENFILE, "в системе открыто слишком много файлов"},
    {EFBIG, "файл слишком велик"},
    {ENOMEM, "не хватает памяти"},
    {EBUSY, "устройство или ресурс занят"},
    {EXDEV, "файл нельзя перенести на другое устройство"},
    {EINVAL, "недопустимый аргумент"},
#ifdef EDQUOT
    {EDQUOT, "превышена дисковая квота"},
#endif
#ifdef ELOOP
    {ELOOP, "слишком много символических ссылок"},
#endif
#ifdef ETXTBSY
    {ETXTBSY, "файл занят"},
#endif
};

std::string SystemWords(int code)
{
#ifdef _MSC_VER
    char text[256] = {};
    strerror_s(text, sizeof text, code);
    return text;
#else
    return std::strerror(code);
#endif
}

std::optional<std::string> SystemErrorInRussian(std::string_view english)
{
    for (const SystemError& error : kSystemErrors) {
        if (english == SystemWords(error.code)) {
            return std::string(error.russian);
        }
    }
    return std::nullopt;
}

std::string Substitute(std::string_view text, const std::vector<std::string>& arguments)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(text[i + 1] - '1');
            if (index < arguments.size()) {
                result += arguments[index];
                ++i;
                continue;
            }
        }
        result += text[i];
    }
    return result;
}

std::string DetailInRussian(std::string_view english);

// The places of `pattern` in `text`, each "{*}" translated; nothing when the text is not of
// that pattern.
std::optional<std::vector<std::string>> Match(std::string_view pattern, std::string_view text)
{
    // The pattern's literal pieces between its places, and which places are details.
    std::vector<std::string_view> pieces;
    std::vector<bool> nested;
    std::size_t start = 0;
    for (std::size_t open = pattern.find('{'); open != std::string_view::npos;
         open = pattern.find('{', start)) {
        const std::size_t close = pattern.find('}', open);
        pieces.push_back(pattern.substr(start, open - start));
        nested.push_back(pattern.substr(open, close - open + 1) == "{*}");
        start = close + 1;
    }
    pieces.push_back(pattern.substr(start));

    const std::string_view first = pieces.front();
    const std::string_view last = pieces.back();
    if (pieces.size() == 1) {
        return text == first ? std::optional<std::vector<std::string>>(std::vector<std::string>{})
                             : std::nullopt;
    }
    if (text.size() < first.size() + last.size() || text.substr(0, first.size()) != first ||
        text.substr(text.size() - last.size()) != last) {
        return std::nullopt;
    }
    // From the right: each place ends where the next piece begins, found last in what is left.
    std::string_view rest = text.substr(first.size(), text.size() - first.size() - last.size());
    std::vector<std::string_view> places(nested.size());
    for (std::size_t place = nested.size(); place-- > 1;) {
        const std::string_view piece = pieces[place];
        const std::size_t at = rest.rfind(piece);
        if (at == std::string_view::npos || at == 0) {
            return std::nullopt;
        }
        places[place] = rest.substr(at + piece.size());
        rest = rest.substr(0, at);
    }
    places[0] = rest;
    std::vector<std::string> values;
    for (std::size_t place = 0; place < places.size(); ++place) {
        if (places[place].empty()) {
            return std::nullopt;
        }
        values.push_back(nested[place] ? DetailInRussian(places[place]) : std::string(places[place]));
    }
    return values;
}

std::string DetailInRussian(std::string_view english)
{
    if (auto system = SystemErrorInRussian(english)) {
        return *system;
    }
    for (const DetailPattern& pattern : kDetails) {
        if (auto values = Match(pattern.english, english)) {
            return Substitute(pattern.russian, *values);
        }
    }
    return std::string(english);
}

// A detail that starts a sentence starts with a capital: Latin and Cyrillic lower-case letters
// in UTF-8 are raised; anything else is left as it is.
void Capitalize(std::string& text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return;
    }
    if (text.size() < 2) {
        return;
    }
    auto& lead = reinterpret_cast<unsigned char&>(text[0]);
    auto& trail = reinterpret_cast<unsigned char&>(text[1]);
    if (lead == 0xD0 && trail >= 0xB0 && trail <= 0xBF) {  // а to п
        trail = static_cast<unsigned char>(trail - 0x20);
    } else if (lead == 0xD1 && trail >= 0x80 && trail <= 0x8F) {  // р to я
        lead = 0xD0;
        trail = static_cast<unsigned char>(trail + 0x20);
    } else if (lead == 0xD1 && trail == 0x91) {  // ё
        lead = 0xD0;
        trail = 0x81;
    }
}

}  // namespace

std::string Voice::Say(const Text& text, std::initializer_list<std::string_view> arguments) const
{
    const std::vector<std::string> values(arguments.begin(), arguments.end());
    return Substitute(m_language == Language::Russian ? text.russian : text.english, values);
}

std::string CoreTextInEnglish(std::string_view russian)
{
    for (const CoreTranslation& text : kCoreTexts) {
        if (text.russian == russian) {
            return std::string(text.english);
        }
    }
    return std::string(russian);
}

std::string Voice::CoreText(std::string_view russian) const
{
    return m_language == Language::English ? CoreTextInEnglish(russian) : std::string(russian);
}

std::string Voice::CoreDetail(std::string_view english) const
{
    return m_language == Language::Russian ? DetailInRussian(english) : std::string(english);
}

std::string Voice::SessionMessage(std::string_view message) const
{
    // The session's text comes first, already in the run's language (the host translates it),
    // and comes through the detail patterns unchanged; the core's detail after it is translated.
    std::string line;
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = message.size();
        }
        const std::string_view part = message.substr(start, end - start);
        if (!part.empty()) {
            std::string text = CoreDetail(part);
            if (!line.empty()) {
                if (line.back() == '!' || line.back() == '.' || line.back() == '?') {
                    Capitalize(text);
                }
                line += ' ';
            }
            line += text;
        }
        start = end + 1;
    }
    return line;
}

}  // namespace luma::cli
