#include "records/field_text_search.h"

#include <array>
#include <map>

#include "records/charset_detect.h"
#include "charsets/unicode_text.h"
#include "records/field_text.h"
#include "records/iso_format.h"
#include "records/laid_out_record.h"

namespace luma {
namespace {

// Between the fields of one record in the searched text: the notation turns every 0x1F of the
// data into '$', so no field's text holds it and a match never runs from one field on into the next.
constexpr char kFieldSeparator = iso::kSubfieldDelimiter;
constexpr std::string_view kDollarEscape = "{dollar}";

bool IsAscii(std::string_view bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// A MARC-8 or ISO 5426 field of plain ASCII, without an escape sequence, reads as UTF-8 would.
bool IsPlainAscii(std::string_view bytes)
{
    constexpr char kEscape = 0x1B;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == kEscape) {
            return false;
        }
    }
    return true;
}

// The query as the searched UTF-8 text holds it.
std::string SearchedForm(const FindQuery& query)
{
    const std::string text = query.ignoreDiacritics ? WithoutDiacritics(query.text) : query.text;
    return query.matchCase ? text : FoldCase(text);
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text.substr(i, 4));
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

// Each byte's letter is the first byte whose record view text (case-folded unless case must
// match) is the same: bytes that differ only in case share a letter, as do the bytes the set
// leaves undefined (all shown as U+FFFD). Byte 0x1F is never seen as itself: the notation shows
// '$' for it.
struct FieldTextSearch::Alphabet {
    std::array<char, 256> letter{};
    std::string dollar;  // "{dollar}", what a '$' of the data shows, in letters
    char blank = '#';    // what a blank indicator shows, in letters
    std::optional<std::string> pattern;  // nothing when some character of the query is no byte's
};

namespace {

std::unique_ptr<FieldTextSearch::Alphabet> MakeAlphabet(Charset charset, const FindQuery& query)
{
    TextCodec codec(charset);
    std::string allBytes;
    std::array<std::string, 256> shown;
    std::string joined;
    for (int b = 0; b < 256; ++b) {
        allBytes += static_cast<char>(b);
        shown[static_cast<std::size_t>(b)] = codec.Decode(allBytes.substr(allBytes.size() - 1));
        joined += shown[static_cast<std::size_t>(b)];
    }
    if (codec.Decode(allBytes) != joined) {
        return nullptr;  // not a byte-by-byte decoding: the tables would lie
    }
    const auto key = [&](std::string text) {
        if (query.ignoreDiacritics) {
            std::string bare = WithoutDiacritics(text);
            text = bare.empty() ? text : bare;
        }
        return query.matchCase ? text : FoldCase(text);
    };
    std::map<std::string, char> letterOf;
    for (int b = 0; b < 256; ++b) {
        if (b != iso::kSubfieldDelimiter) {
            letterOf.emplace(key(shown[static_cast<std::size_t>(b)]), static_cast<char>(b));
        }
    }
    auto alphabet = std::make_unique<FieldTextSearch::Alphabet>();
    for (int b = 0; b < 256; ++b) {
        alphabet->letter[static_cast<std::size_t>(b)] = letterOf.at(key(shown[static_cast<std::size_t>(
            b == iso::kSubfieldDelimiter ? '$' : b)]));
    }
    for (const char c : kDollarEscape) {
        alphabet->dollar += alphabet->letter[static_cast<unsigned char>(c)];
    }
    alphabet->blank = alphabet->letter['#'];
    std::string pattern;
    const std::string wanted = query.ignoreDiacritics ? WithoutDiacritics(query.text) : query.text;
    for (std::size_t i = 0; i < wanted.size();) {
        const std::size_t length = Utf8SequenceLength(std::string_view(wanted).substr(i, 4));
        const auto found = letterOf.find(key(wanted.substr(i, length)));
        if (found == letterOf.end()) {
            return alphabet;  // no field can show this character
        }
        pattern += found->second;
        i += length;
    }
    alphabet->pattern = std::move(pattern);
    return alphabet;
}

// UTF-8 bytes show as themselves, but for the notation's.
std::unique_ptr<FieldTextSearch::Alphabet> Utf8Alphabet()
{
    auto alphabet = std::make_unique<FieldTextSearch::Alphabet>();
    for (int b = 0; b < 256; ++b) {
        alphabet->letter[static_cast<std::size_t>(b)] = static_cast<char>(b == iso::kSubfieldDelimiter ? '$' : b);
    }
    alphabet->dollar = kDollarEscape;
    return alphabet;
}

// Plain ASCII as the UTF-8 search holds it: case-folded unless case must match, which for ASCII
// is A-Z to a-z, and no diacritics to take off.
std::unique_ptr<FieldTextSearch::Alphabet> AsciiAlphabet(bool matchCase)
{
    auto alphabet = Utf8Alphabet();
    if (!matchCase) {
        for (char c = 'A'; c <= 'Z'; ++c) {
            alphabet->letter[static_cast<unsigned char>(c)] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return alphabet;
}

}  // namespace

FieldTextSearch::FieldTextSearch(Charset fileCharset, const FindQuery& query, FieldFilter isShown)
    : m_fileCharset(fileCharset),
      m_query(query),
      m_utf8Pattern(SearchedForm(query)),
      m_utf8PatternCanMatch(query.text.find(kFieldSeparator) == std::string::npos),
      m_isShown(std::move(isShown)),
      m_utf8Alphabet(Utf8Alphabet()),
      m_asciiAlphabet(AsciiAlphabet(query.matchCase)),
      m_codec(fileCharset)
{
}

FieldTextSearch::~FieldTextSearch() = default;

std::unique_ptr<FieldTextSearch> FieldTextSearch::Prepare(Charset fileCharset, const FindQuery& query,
                                                          FieldFilter isShown)
{
    if (SanitizeUtf8(query.text) != query.text) {
        return nullptr;
    }
    std::unique_ptr<FieldTextSearch> search(new FieldTextSearch(fileCharset, query, std::move(isShown)));
    // The records of an all-ASCII file are shown in Windows-1251 unless they declare UTF-8.
    const Charset singleByte = fileCharset == Charset::Ascii ? Charset::Windows1251 : fileCharset;
    if (IsSingleByte(singleByte)) {
        search->m_alphabet = MakeAlphabet(singleByte, query);
        if (!search->m_alphabet) {
            return nullptr;
        }
    }
    return search;
}

bool FieldTextSearch::Matches(std::string_view recordBytes, int recordIndex)
{
    // Which set an ASCII file's record is shown in depends on its fields; without high bytes
    // both show the same.
    if (m_fileCharset != Charset::Ascii || IsAscii(recordBytes)) {
        if (const auto fields = LaidOutFields(recordBytes)) {
            return AnyFieldMatches(*fields, recordBytes.substr(0, iso::kLeaderLength), true);
        }
    }
    const IsoRecord record = ParseRecord(recordBytes, recordIndex, 0);
    std::vector<FieldView> fields;
    fields.reserve(record.fields.size());
    for (const Field& field : record.fields) {
        fields.push_back({field.tag, field.data});
    }
    return AnyFieldMatches(fields, record.leader, DeclaresUtf8(record));
}

bool FieldTextSearch::AnyFieldMatches(const std::vector<FieldView>& fields, std::string_view leader,
                                      bool declaresUtf8)
{
    const bool utf8 = m_fileCharset == Charset::Utf8 || (m_fileCharset == Charset::Ascii && declaresUtf8) ||
                      (m_fileCharset == Charset::Marc8 && leader.size() > 9 && leader[9] == 'a');
    const bool decoded = !utf8 && IsReadByCodeTables(m_fileCharset);
    const Alphabet* alphabet = utf8 || decoded ? nullptr : m_alphabet.get();
    if (alphabet ? !alphabet->pattern : !m_utf8PatternCanMatch) {
        return false;
    }
    const std::size_t indicatorCount = iso::IndicatorCountOf(leader);
    m_text.clear();
    for (const FieldView& field : fields) {
        if (!IsSearched(field.tag)) {
            continue;
        }
        const std::size_t indicators = iso::IsControlTag(field.tag) ? 0 : indicatorCount;
        if (alphabet) {
            AppendShown(*alphabet, field.data, indicators);
        } else if (decoded) {
            if (IsPlainAscii(field.data)) {
                AppendShown(*m_asciiAlphabet, field.data, indicators);
            } else {
                AppendDecoded(field, indicators);
            }
        } else {
            AppendUtf8(field.data, indicators);
        }
    }
    const std::string& pattern = alphabet ? *alphabet->pattern : m_utf8Pattern;
    return m_text.find(pattern) != std::string::npos;
}

// The field as the record view shows it, in the alphabet's letters, after a separator.
void FieldTextSearch::AppendShown(const Alphabet& alphabet, std::string_view data, std::size_t indicators)
{
    m_text += kFieldSeparator;
    const std::size_t blanks = std::min(indicators, data.size());
    for (std::size_t i = 0; i < blanks; ++i) {
        AppendShownByte(alphabet, data[i], true);
    }
    const std::string_view rest = data.substr(blanks);
    if (rest.find('$') != std::string_view::npos) {
        for (const char c : rest) {
            AppendShownByte(alphabet, c, false);
        }
        return;
    }
    // Most fields hold no '$': a byte for a byte, straight from the table.
    const std::size_t start = m_text.size();
    m_text.resize(start + rest.size());
    char* out = m_text.data() + start;
    for (const char c : rest) {
        *out++ = alphabet.letter[static_cast<unsigned char>(c)];
    }
}

void FieldTextSearch::AppendShownByte(const Alphabet& alphabet, char c, bool isIndicator)
{
    if (isIndicator && c == ' ') {
        m_text += alphabet.blank;
    } else if (c == '$') {
        m_text += alphabet.dollar;
    } else {
        m_text += alphabet.letter[static_cast<unsigned char>(c)];
    }
}

void FieldTextSearch::AppendUtf8(std::string_view data, std::size_t indicators)
{
    const std::size_t start = m_text.size() + 1;
    AppendShown(*m_utf8Alphabet, data, indicators);
    if (!IsValidUtf8(std::string_view(m_text).substr(start))) {
        const std::string valid = SanitizeUtf8(std::string_view(m_text).substr(start));
        m_text.resize(start);
        m_text += valid;
    }
    ForSearch(start);
}

// A field of a set read through code tables, decoded as the record view decodes it.
void FieldTextSearch::AppendDecoded(const FieldView& field, std::size_t indicators)
{
    m_text += kFieldSeparator;
    const std::size_t start = m_text.size();
    m_text += FieldToText(field.tag, field.data, indicators, m_codec);
    ForSearch(start);
}

// The text appended from `start` on, put in the form the query is searched in.
void FieldTextSearch::ForSearch(std::size_t start)
{
    if (m_query.ignoreDiacritics) {
        const std::string bare = WithoutDiacritics(std::string_view(m_text).substr(start));
        m_text.resize(start);
        m_text += bare;
    }
    if (!m_query.matchCase) {
        FoldCaseInPlace(m_text, start);
    }
}

bool FieldTextSearch::IsSearched(std::string_view tag)
{
    if (!m_query.fieldTag.empty() && tag != m_query.fieldTag) {
        return false;
    }
    if (!m_isShown) {
        return true;
    }
    const std::string key(tag);
    const auto known = m_shownTags.find(key);
    if (known != m_shownTags.end()) {
        return known->second;
    }
    return m_shownTags.emplace(key, m_isShown(key)).first->second;
}

}  // namespace luma
