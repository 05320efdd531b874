#include "records/charset_detect.h"

#include <algorithm>
#include <array>
#include <optional>
#include <cstdint>
#include <cstring>

#include "records/iso_format.h"
#include "texts/translatable.h"

namespace luma {
namespace {

// Letter frequencies of Russian text, in hundredths of a percent, а to я.
constexpr std::array<int, 32> kRussianLetterFrequency = {
    801, 159, 454, 170, 298, 845, 94,  165, 735, 121, 349, 440, 321, 670, 1097, 281,
    473, 547, 626, 262, 26,  97,  48,  144, 73,  36,  4,   190, 174, 32,  64,   201};
constexpr char32_t kSmallA = U'\u0430';
constexpr char32_t kCapitalA = U'\u0410';
constexpr char32_t kSmallYo = U'\u0451';
constexpr char32_t kCapitalYo = U'\u0401';

// Capital letters are rare in running text; they count a quarter of their small forms.
int LetterWeight(char32_t c)
{
    if (c >= kSmallA && c < kSmallA + 32) return 4 * kRussianLetterFrequency[c - kSmallA];
    if (c >= kCapitalA && c < kCapitalA + 32) return kRussianLetterFrequency[c - kCapitalA];
    if (c == kSmallYo) return 4 * 4;
    if (c == kCapitalYo) return 4;
    return 0;
}

char32_t FirstCodePoint(const std::string& utf8)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf8[i])); };
    if (utf8.size() >= 2 && (byteAt(0) & 0xE0) == 0xC0) {
        return ((byteAt(0) & 0x1F) << 6) | (byteAt(1) & 0x3F);
    }
    return 0;  // outside the two-byte range, so not a Cyrillic letter
}

using ByteHistogram = std::array<std::uint64_t, 256>;

std::uint64_t CyrillicScore(const ByteHistogram& histogram, Charset charset)
{
    TextCodec codec(charset);
    std::uint64_t score = 0;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        if (histogram[static_cast<std::size_t>(byte)] == 0) continue;
        const char32_t c = FirstCodePoint(codec.Decode(std::string(1, static_cast<char>(byte))));
        score += histogram[static_cast<std::size_t>(byte)] * static_cast<std::uint64_t>(LetterWeight(c));
    }
    return score;
}

Charset BestSingleByteSet(const ByteHistogram& histogram)
{
    Charset best = Charset::Windows1251;
    std::uint64_t bestScore = 0;
    for (const Charset candidate : {Charset::Windows1251, Charset::Koi8r, Charset::Cp866}) {
        const std::uint64_t score = CyrillicScore(histogram, candidate);
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

struct ByteSurvey {
    ByteHistogram histogram{};
    std::uint64_t multiByteSequences = 0;
    std::uint64_t invalidUtf8Bytes = 0;
    std::uint64_t invalidBytesInRuns = 0;  // beside another high byte, as in a Cyrillic word
    std::uint64_t marc8Escapes = 0;        // ESC and a byte that starts a MARC-8 designation
    std::uint64_t marksBeforeLetters = 0;  // a lone byte of the diacritic range before a letter
    std::uint64_t lettersEndingWords = 0;  // a lone high byte after a letter, before a blank or sign
    bool HasHighBytes() const { return multiByteSequences + invalidUtf8Bytes > 0; }
};

bool IsAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// What a lone high byte, one that is not UTF-8, tells between MARC-8 (and ISO 5426), which
// write a diacritic (0xE0-0xFE) before its letter, and ISO-8859-1, whose letters with
// diacritics lie in the same range: such a byte before a blank, a digit or a sign ends a word,
// as only a letter can; one that starts a word before a letter is most likely a diacritic.
// Between two letters it could be either.
void SurveyLoneByte(std::string_view file, std::size_t pos, ByteSurvey& survey)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(file[i]); };
    if (at(pos) < 0xE0 || at(pos) == 0xFF) {
        return;
    }
    const bool letterBefore = pos > 0 && IsAsciiLetter(at(pos - 1));
    const bool letterAfter = pos + 1 < file.size() && IsAsciiLetter(at(pos + 1));
    if (!letterAfter) {
        ++survey.lettersEndingWords;
    } else if (!letterBefore) {
        ++survey.marksBeforeLetters;
    }
}

bool StartsMarc8Designation(char c)
{
    return c == '(' || c == ',' || c == '$' || c == ')' || c == '-' || c == 'g' || c == 'b' || c == 'p' || c == 's';
}

void CountEscapes(std::string_view file, ByteSurvey& survey)
{
    constexpr char kEscape = 0x1B;
    for (std::size_t pos = file.find(kEscape); pos != std::string_view::npos && pos + 1 < file.size();
         pos = file.find(kEscape, pos + 1)) {
        if (StartsMarc8Designation(file[pos + 1])) {
            ++survey.marc8Escapes;
        }
    }
}

// Index of the first byte at or after `pos` that is not ASCII, eight bytes at a time.
std::size_t SkipAscii(std::string_view file, std::size_t pos)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (pos + 8 <= file.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, file.data() + pos, sizeof word);
        if ((word & kHighBits) != 0) break;
        pos += 8;
    }
    while (pos < file.size() && static_cast<unsigned char>(file[pos]) < 0x80) ++pos;
    return pos;
}

bool IsHigh(std::string_view file, std::size_t pos)
{
    return pos < file.size() && static_cast<unsigned char>(file[pos]) >= 0x80;
}

void SurveyChunk(std::string_view file, ByteSurvey& survey)
{
    CountEscapes(file, survey);
    for (std::size_t pos = SkipAscii(file, 0); pos < file.size(); pos = SkipAscii(file, pos)) {
        const std::size_t length = Utf8SequenceLength(file.substr(pos, 4));
        if (length >= 2) {
            ++survey.multiByteSequences;
        } else {
            ++survey.invalidUtf8Bytes;
            if ((pos > 0 && IsHigh(file, pos - 1)) || IsHigh(file, pos + 1)) {
                ++survey.invalidBytesInRuns;
            } else {
                SurveyLoneByte(file, pos, survey);
            }
        }
        const std::size_t step = length >= 2 ? length : 1;
        for (std::size_t i = 0; i < step; ++i) {
            ++survey.histogram[static_cast<unsigned char>(file[pos + i])];
        }
        pos += step;
    }
}

// The survey reads up to 64 chunks of 16 KiB spread over the file: a megabyte of text tells the
// sets apart, at a cost that does not grow with the file.
ByteSurvey SurveyBytes(std::string_view file)
{
    constexpr std::size_t kChunk = 16 * 1024;
    constexpr std::size_t kChunks = 64;
    ByteSurvey survey;
    if (file.size() <= kChunk * kChunks) {
        SurveyChunk(file, survey);
        return survey;
    }
    const std::size_t stride = file.size() / kChunks;
    for (std::size_t i = 0; i < kChunks; ++i) {
        SurveyChunk(file.substr(i * stride, kChunk), survey);
    }
    return survey;
}

std::string_view SubfieldData(std::string_view fieldData, char code)
{
    const std::string prefix{iso::kSubfieldDelimiter, code};
    const std::size_t start = fieldData.find(prefix);
    if (start == std::string_view::npos) return {};
    const std::size_t from = start + prefix.size();
    const std::size_t end = fieldData.find(iso::kSubfieldDelimiter, from);
    return fieldData.substr(from, end == std::string_view::npos ? end : end - from);
}

std::string_view GeneralProcessingData(const IsoRecord& record)
{
    for (const Field& field : record.fields) {
        if (field.tag == "100") {
            return SubfieldData(field.data, 'a');
        }
    }
    return {};
}

// UNIMARC's field 100 $a is 36 characters of coded data, starting with a date of entry; MARC 21's
// field 100 is a personal name.
bool IsUnimarc(const IsoRecord& record)
{
    const std::string_view general = GeneralProcessingData(record);
    return general.size() >= 30 && std::all_of(general.begin(), general.begin() + 8, [](char c) { return iso::IsDigit(c); });
}

Charset LatinSet(const ByteHistogram& histogram)
{
    // Windows-1252 puts letters and quotes where ISO-8859-1 has control characters.
    for (int byte = 0x80; byte < 0xA0; ++byte) {
        if (histogram[static_cast<std::size_t>(byte)] != 0) return Charset::Windows1252;
    }
    return Charset::Latin1;
}

// Lone high bytes, few in runs: letters with diacritics in a Latin script, written the MARC-8
// (or ISO 5426) way or the ISO-8859-1 way. Where the bytes cannot tell, MARC 21 says MARC-8.
CharsetDetection LatinScriptSet(const ByteSurvey& survey, const IsoRecord& firstRecord)
{
    if (survey.lettersEndingWords > survey.marksBeforeLetters) {
        return {LatinSet(survey.histogram), CharsetEvidence::Latin1Letters};
    }
    // UNIMARC's own set for Latin diacritics is ISO 5426, whether or not 100 $a/28-29 says 03.
    if (IsUnimarc(firstRecord)) {
        return {Charset::Iso5426, CharsetEvidence::Iso5426Declared};
    }
    return {Charset::Marc8, CharsetEvidence::Marc8Diacritics};
}

}  // namespace

bool DeclaresUtf8(const IsoRecord& record)
{
    if (record.leader.size() > 9 && record.leader[9] == 'a') {
        return true;
    }
    const std::string_view general = GeneralProcessingData(record);
    return general.size() >= 28 && general.substr(26, 2) == "50";
}

CharsetDetection DetectCharset(std::string_view file, const IsoRecord& firstRecord)
{
    const ByteSurvey survey = SurveyBytes(file);
    const bool unimarc = IsUnimarc(firstRecord);
    // Escape sequences are MARC-8's alone; the UTF-8 records a gathered file may also hold say so
    // in their leader and are read as UTF-8 one by one.
    if (survey.marc8Escapes > 0 && !unimarc) {
        return {Charset::Marc8, CharsetEvidence::Marc8Escapes};
    }
    if (!survey.HasHighBytes()) {
        return {Charset::Ascii, CharsetEvidence::NoEightBitText};
    }
    const std::uint64_t valid = survey.multiByteSequences;
    const std::uint64_t invalid = survey.invalidUtf8Bytes;
    // A declaration is believed unless most bytes contradict it in runs, as the words of a
    // single-byte Cyrillic text do; stray invalid bytes are damage, not another set. Without a
    // declaration the bytes must be UTF-8 nearly everywhere, as single-byte text almost never
    // is by chance.
    const bool cyrillicRuns = survey.invalidBytesInRuns * 2 > invalid;
    if (DeclaresUtf8(firstRecord)) {
        if (valid >= invalid || !cyrillicRuns) {
            return {Charset::Utf8, CharsetEvidence::Utf8Declared};
        }
    } else if (valid > 0 && invalid * 20 <= valid) {
        return {Charset::Utf8, CharsetEvidence::Utf8Bytes};
    }
    if (!cyrillicRuns) {
        return LatinScriptSet(survey, firstRecord);
    }
    return {BestSingleByteSet(survey.histogram), CharsetEvidence::CyrillicLetters};
}

const char* EvidenceText(CharsetEvidence evidence)
{
    switch (evidence) {
    case CharsetEvidence::NoEightBitText: return LUMA_TRANSLATE_NOOP("luma", "в файле только символы ASCII");
    case CharsetEvidence::Utf8Declared: return LUMA_TRANSLATE_NOOP("luma", "так указано в записи (маркер или поле 100)");
    case CharsetEvidence::Utf8Bytes: return LUMA_TRANSLATE_NOOP("luma", "байты файла — последовательности UTF-8");
    case CharsetEvidence::CyrillicLetters: return LUMA_TRANSLATE_NOOP("luma", "частоты букв кириллицы");
    case CharsetEvidence::Marc8Escapes: return LUMA_TRANSLATE_NOOP("luma", "escape-последовательности MARC-8");
    case CharsetEvidence::Marc8Diacritics: return LUMA_TRANSLATE_NOOP("luma", "диакритические знаки перед буквами в записи MARC 21");
    case CharsetEvidence::Latin1Letters: return LUMA_TRANSLATE_NOOP("luma", "буквы с диакритикой в конце слов");
    case CharsetEvidence::Iso5426Declared: return LUMA_TRANSLATE_NOOP("luma", "диакритические знаки перед буквами в записи UNIMARC");
    case CharsetEvidence::ChosenByOperator: return LUMA_TRANSLATE_NOOP("luma", "выбрана оператором");
    }
    return "";
}

}  // namespace luma
