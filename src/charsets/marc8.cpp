#include "charsets/marc8.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "charsets/unicode_text.h"
#include "code_tables.h"
#include "utf8_code_points.h"

namespace luma {
namespace {

constexpr char kEscape = 0x1B;
constexpr unsigned char kBasicLatin = 0x42;
constexpr unsigned char kAnsel = 0x45;
constexpr std::uint32_t kReplacement = 0xFFFD;

const CodeTable* TableOf(std::span<const CodeTable> tables, unsigned char finalByte)
{
    const auto found = std::find_if(tables.begin(), tables.end(),
                                    [finalByte](const CodeTable& table) { return table.finalByte == finalByte; });
    return found == tables.end() ? nullptr : &*found;
}

const CodeTableEntry* EntryOf(const CodeTable& table, std::uint32_t code)
{
    const auto found = std::lower_bound(table.entries.begin(), table.entries.end(), code,
                                        [](const CodeTableEntry& entry, std::uint32_t c) { return entry.code < c; });
    return found != table.entries.end() && found->code == code ? &*found : nullptr;
}

// Reads one text: the sets in G0 and G1, the diacritics waiting for their letter, what is out.
class Reader {
public:
    Reader(std::span<const CodeTable> tables, bool followsEscapes)
        : m_tables(tables),
          m_followsEscapes(followsEscapes),
          m_basicLatin(TableOf(tables, kBasicLatin)),
          m_g0(m_basicLatin),
          m_g1(TableOf(tables, kAnsel))
    {
    }

    DecodedText Run(std::string_view bytes)
    {
        std::size_t at = 0;
        while (at < bytes.size()) {
            at = Step(bytes, at);
        }
        FlushMarks();
        return std::move(m_result);
    }

private:
    // Reads what starts at `at`; gives where the next thing starts.
    std::size_t Step(std::string_view bytes, std::size_t at)
    {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte == static_cast<unsigned char>(kEscape) && m_followsEscapes) {
            return Escape(bytes, at);
        }
        if (byte <= 0x20 || byte == 0x7F) {
            Put(byte, false);
            return at + 1;
        }
        // Most text is Basic Latin, which is ASCII itself: a run of it goes straight through.
        if (byte < 0x80 && m_g0 == m_basicLatin) {
            FlushMarksAfter(byte);
            std::size_t end = at + 1;
            while (end < bytes.size() && IsPlainLatin(bytes[end])) ++end;
            m_result.utf8.append(bytes.substr(at + 1, end - at - 1));
            return end;
        }
        const bool upper = byte >= 0x80;
        const CodeTable* table = upper ? m_g1 : m_g0;
        if (byte < 0xA1 && upper) {
            table = m_g1;  // the few characters of the C1 range, such as the joiners, as listed
        }
        if (table == nullptr) {
            return Undecodable(at, at + 1);
        }
        const std::size_t width = static_cast<std::size_t>(table->bytesPerCharacter);
        // A character cut short, by the end or by an escape or control byte, is unreadable up
        // to there; what stops it is read as itself.
        for (std::size_t i = 1; i < width; ++i) {
            if (at + i >= bytes.size() || static_cast<unsigned char>(bytes[at + i]) <= 0x20) {
                return Undecodable(at, at + i);
            }
        }
        std::uint32_t code = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const auto part = static_cast<unsigned char>(bytes[at + i]);
            code = code * 256 + (part >= 0xA1 || width > 1 ? (part & 0x7Fu) : part);
        }
        const CodeTableEntry* entry = EntryOf(*table, code);
        if (entry == nullptr) {
            // A multi-byte run a byte short or long: the next byte may start a character again.
            return Undecodable(at, at + 1);
        }
        if (entry->ucs != 0) {
            Put(entry->ucs, entry->combining);
        }
        return at + width;
    }

    // ESC ( F, ESC , F and ESC $ F designate G0; ESC ) F, ESC - F and ESC $ ) F designate G1;
    // ESC g, ESC b, ESC p and ESC s switch G0 to the Greek symbols, subscripts, superscripts and
    // back to Basic Latin.
    std::size_t Escape(std::string_view bytes, std::size_t at)
    {
        std::size_t next = at + 1;
        const auto take = [&]() -> std::optional<unsigned char> {
            if (next >= bytes.size()) {
                return std::nullopt;
            }
            return static_cast<unsigned char>(bytes[next++]);
        };
        // A sequence cut short or naming no set: the escape byte alone cannot be read, and
        // what follows it is read as text.
        const std::size_t afterEscape = at + 1;
        const std::optional<unsigned char> first = take();
        if (!first) {
            return Undecodable(at, afterEscape);
        }
        if (*first == 'g' || *first == 'b' || *first == 'p' || *first == 's') {
            return Designate(&m_g0, *first == 's' ? kBasicLatin : *first, afterEscape, next);
        }
        std::optional<unsigned char> intermediate = first;
        if (*first == '$') {
            intermediate = take();
            if (intermediate && *intermediate != ',' && *intermediate != ')' && *intermediate != '-') {
                return Designate(&m_g0, *intermediate, afterEscape, next);  // ESC $ F: G0
            }
        }
        if (!intermediate) {
            return Undecodable(at, afterEscape);
        }
        const bool g1 = *intermediate == ')' || *intermediate == '-';
        if (!g1 && *intermediate != '(' && *intermediate != ',') {
            return Undecodable(at, afterEscape);
        }
        const std::optional<unsigned char> finalByte = take();
        if (!finalByte) {
            return Undecodable(at, afterEscape);
        }
        return Designate(g1 ? &m_g1 : &m_g0, *finalByte, afterEscape, next);
    }

    std::size_t Designate(const CodeTable** slot, unsigned char finalByte, std::size_t afterEscape, std::size_t next)
    {
        const CodeTable* table = TableOf(m_tables, finalByte);
        if (table == nullptr) {
            return Undecodable(afterEscape - 1, afterEscape);
        }
        *slot = table;
        return next;
    }

    // The bytes [from, next) cannot be read: one U+FFFD each.
    std::size_t Undecodable(std::size_t from, std::size_t next)
    {
        for (std::size_t i = from; i < next; ++i) {
            ++m_result.undecodable;
            Put(kReplacement, false);
        }
        return next;
    }

    static bool IsPlainLatin(char c) { return c > 0x20 && c < 0x7F; }

    void FlushMarksAfter(unsigned char ascii)
    {
        if (m_marks.empty()) {
            m_result.utf8 += static_cast<char>(ascii);
        } else {
            PutComposed(ascii);
        }
    }

    // A diacritic waits for the next character; a character takes the waiting diacritics after
    // it, composed with them (NFC) where Unicode has a letter for both.
    void Put(std::uint32_t ucs, bool combining)
    {
        if (combining) {
            m_marks.push_back(ucs);
        } else if (ucs < 0x80 && m_marks.empty()) {
            m_result.utf8 += static_cast<char>(ucs);
        } else {
            PutComposed(ucs);
        }
    }

    void PutComposed(std::uint32_t ucs)
    {
        m_group.assign(1, static_cast<char32_t>(ucs));
        m_group.append(m_marks.begin(), m_marks.end());
        m_marks.clear();
        AppendComposed(m_group, m_result.utf8);
    }

    void FlushMarks()
    {
        for (const std::uint32_t mark : m_marks) {
            AppendUtf8(m_result.utf8, mark);
        }
        m_marks.clear();
    }

    std::span<const CodeTable> m_tables;
    bool m_followsEscapes;
    const CodeTable* m_basicLatin;  // ASCII, code for code
    const CodeTable* m_g0;
    const CodeTable* m_g1;
    std::vector<std::uint32_t> m_marks;
    std::u32string m_group;  // a letter and its marks, to be composed
    DecodedText m_result;
};

}  // namespace

DecodedText DecodeMarc8(std::string_view bytes)
{
    return Reader(Marc8CodeTables(), true).Run(bytes);
}

DecodedText DecodeMarc8Field(std::string_view data)
{
    constexpr char kSubfieldDelimiter = 0x1F;
    DecodedText result;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(data.find(kSubfieldDelimiter, start), data.size());
        DecodedText piece = DecodeMarc8(data.substr(start, end - start));
        result.utf8 += piece.utf8;
        result.undecodable += piece.undecodable;
        if (end == data.size()) {
            return result;
        }
        result.utf8 += kSubfieldDelimiter;
        start = end + 1;
        if (start < data.size()) {
            result.utf8 += data[start];  // the subfield code
            ++start;
        }
    }
}

DecodedText DecodeIso5426(std::string_view bytes)
{
    return Reader(Iso5426CodeTables(), false).Run(bytes);
}

}  // namespace luma
