#pragma once
// The texts a marking session shows, exactly as the operator sees them: the record view, the
// status line, the questions and the messages. They are Russian, the system's own language; the
// session passes each through Operator::Translate before it composes a message, so the
// window can show them in the operator's language.

#include <ctime>
#include <string>
#include <string_view>

#include "texts/translatable.h"

namespace luma {

// Joins the lines of the record view.
inline constexpr std::string_view kViewSeparator = "\r\n____\r\n";

inline constexpr std::string_view kResumeQuestion =
    LUMA_TRANSLATE_NOOP("luma", "Вы уже работали с данным файлом\r\nПродолжить работу?");
inline constexpr std::string_view kSaveQuestion = LUMA_TRANSLATE_NOOP("luma", "Сохранить?");
inline constexpr std::string_view kSaveFailed = LUMA_TRANSLATE_NOOP("luma", "Ошибка сохранения файла!");
inline constexpr std::string_view kReadFailed = LUMA_TRANSLATE_NOOP("luma", "Ошибка чтения файла!");
inline constexpr std::string_view kWorkingCopyCreateFailed =
    LUMA_TRANSLATE_NOOP("luma", "Ошибка создания рабочей копии!\r\nФайл не открыт.");
inline constexpr std::string_view kWorkingCopyWriteFailed =
    LUMA_TRANSLATE_NOOP("luma", "Ошибка записи рабочей копии!\r\nЗапись не изменена.");
inline constexpr std::string_view kLabelNotSetUp =
    LUMA_TRANSLATE_NOOP("luma", "Поле метки не настроено!\r\nЗадайте в настройках тег из трёх латинских букв или цифр.");
inline constexpr std::string_view kRecordNotChanged = LUMA_TRANSLATE_NOOP("luma", "Запись не изменена:");
inline constexpr std::string_view kNoCurrentRecord =
    LUMA_TRANSLATE_NOOP("luma", "Нет текущей записи: пометить нечего.");
inline constexpr std::string_view kOpenProgress = LUMA_TRANSLATE_NOOP("luma", "Открывается файл");
inline constexpr std::string_view kRecoveryQuestion =
    LUMA_TRANSLATE_NOOP("luma", "Найдена несохранённая работа с файлом %s (%s). Восстановить?");
inline constexpr std::string_view kRecoveryFailed =
    LUMA_TRANSLATE_NOOP("luma", "Несохранённая работа не восстановлена: рабочая копия не читается.\r\nОна оставлена на месте.");
inline constexpr std::string_view kNoMarkedAfter =
    LUMA_TRANSLATE_NOOP("luma", "Дальше помеченных записей нет");
inline constexpr std::string_view kNoMarkedBefore =
    LUMA_TRANSLATE_NOOP("luma", "Раньше помеченных записей нет");
inline constexpr std::string_view kFindProgress = LUMA_TRANSLATE_NOOP("luma", "Поиск");
inline constexpr std::string_view kFindNothing = LUMA_TRANSLATE_NOOP("luma", "Не найдено");
inline constexpr std::string_view kFindCancelled = LUMA_TRANSLATE_NOOP("luma", "Поиск прерван");
inline constexpr std::string_view kFindWrappedToStart =
    LUMA_TRANSLATE_NOOP("luma", "Поиск продолжен с начала файла");
inline constexpr std::string_view kFindWrappedToEnd =
    LUMA_TRANSLATE_NOOP("luma", "Поиск продолжен с конца файла");
inline constexpr std::string_view kNothingMarked =
    LUMA_TRANSLATE_NOOP("luma", "Помеченных записей нет: сохранять нечего.");
inline constexpr std::string_view kSourceNotOverwritten =
    LUMA_TRANSLATE_NOOP("luma", "Исходный файл не перезаписывается.\r\nВыберите другое имя.");
inline constexpr std::string_view kReplaceQuestion =
    LUMA_TRANSLATE_NOOP("luma", "Файл уже существует. Заменить?");
inline constexpr std::string_view kMarkedSaved =
    LUMA_TRANSLATE_NOOP("luma", "Сохранено помеченных записей: ");
inline constexpr std::string_view kCharsetNotChanged = LUMA_TRANSLATE_NOOP(
    "luma",
    "Кодировка не сменена: в ней поле метки читается иначе, и помеченные записи перестали бы считаться помеченными.\r\nЧтобы сменить кодировку, снимите пометки.");
inline constexpr std::string_view kRecoverySourceNeeded = LUMA_TRANSLATE_NOOP(
    "luma",
    "Несохранённая работа не восстановлена: нужен исходный файл в том виде, в каком он был открыт, а он перемещён, удалён или изменён.\r\nВерните файл на место и запустите программу снова: работа оставлена на месте.");
inline constexpr std::string_view kSourceChangedUsingCopy = LUMA_TRANSLATE_NOOP(
    "luma",
    "Исходный файл изменён другой программой.\r\nРабота продолжается с его копией, сделанной при открытии; пометки сохранены.");
inline constexpr std::string_view kSourceChanged = LUMA_TRANSLATE_NOOP(
    "luma",
    "Исходный файл изменён другой программой, пока был открыт, и его записи больше нельзя читать.\r\nПометки сохранены в рабочей копии. Верните файл в прежнем виде и запустите программу снова, чтобы продолжить.");

// One line of the view: "%s     %s" with the tag and the text.
std::string FormatViewLine(std::string_view tag, std::string_view text);

inline constexpr std::string_view kStatusLineFormat =
    LUMA_TRANSLATE_NOOP("luma", "Файл: %s     Всего записей: %d     Текущая: %d    Помечено: %d");

// The status line: `format` (kStatusLineFormat or its translation) with its %s taken by the
// title and its three %d by the numbers, in that order.
std::string FormatStatusLine(std::string_view title, int recordCount, int currentNumber, int markedCount,
                             std::string_view format = kStatusLineFormat);

// The recovery question (kRecoveryQuestion or its translation) for work on `sourcePath` begun
// at `started`, local time, shown as "07.12.2026 10:15".
std::string FormatRecoveryQuestion(std::string_view sourcePath, const std::tm& started,
                                   std::string_view question = kRecoveryQuestion);

// A message with what the system said about it on the next line.
std::string WithDetail(std::string_view message, std::string_view detail);

}  // namespace luma
