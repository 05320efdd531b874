// UTF-8 written into MARC-8 and ISO 5426: the reverse of marc8.cpp's reader.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "charsets/charset.h"
#include "charsets/marc8.h"
#include "charsets/unicode_text.h"
#include "code_tables.h"
#include "utf8_code_points.h"

namespace luma {
namespace {

constexpr char kEscape = 0x1B;
constexpr char kSubfieldDelimiter = 0x1F;
constexpr unsigned char kBasicLatin = 0x42;
constexpr unsigned char kAnsel = 0x45;

// Where a character can be written from: a table and its code there.
struct Place {
    std::uint32_t ucs;
    int rank;  // 0: a default set; 1: another set; 2: the Greek symbols, subscripts, superscripts
    std::size_t table;
    std::uint32_t code;
    bool combining;
};

struct Index {
    std::span<const CodeTable> tables;
    std::size_t basicLatin = 0;
    std::size_t ansel = 0;
    std::vector<Place> places;  // by character, then by preference
    // The right half of a mark that spans two letters (the ligature, the double tilde), by the
    // table and code of its left half: the sets write it before the second letter.
    std::vector<Place> rightHalves;
};

bool IsShiftedSet(unsigned char finalByte)
{
    return finalByte == 'g' || finalByte == 'b' || finalByte == 'p';
}

Index BuildIndex(std::span<const CodeTable> tables)
{
    Index index;
    index.tables = tables;
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const CodeTable& table = tables[t];
        if (table.finalByte == kBasicLatin) index.basicLatin = t;
        if (table.finalByte == kAnsel) index.ansel = t;
    }
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const CodeTable& table = tables[t];
        const int rank = t == index.basicLatin || t == index.ansel ? 0 : IsShiftedSet(table.finalByte) ? 2 : 1;
        for (std::size_t e = 0; e < table.entries.size(); ++e) {
            const CodeTableEntry& entry = table.entries[e];
            // Controls and the space are written as they are in any set.
            if (table.bytesPerCharacter == 1 && entry.code <= 0x20) continue;
            if (entry.ucs != 0) {
                index.places.push_back({entry.ucs, rank, t, entry.code, entry.combining});
                const bool rightHalfFollows = e + 1 < table.entries.size() && entry.combining &&
                                              table.entries[e + 1].code == entry.code + 1 &&
                                              table.entries[e + 1].ucs == 0 && table.entries[e + 1].combining;
                if (rightHalfFollows) {
                    index.rightHalves.push_back({entry.ucs, rank, t, entry.code + 1, true});
                }
            }
        }
    }
    std::stable_sort(index.places.begin(), index.places.end(), [](const Place& a, const Place& b) {
        return a.ucs != b.ucs ? a.ucs < b.ucs : a.rank < b.rank;
    });
    return index;
}

const Index& Marc8Index()
{
    static const Index index = BuildIndex(Marc8CodeTables());
    return index;
}

const Index& Iso5426Index()
{
    static const Index index = BuildIndex(Iso5426CodeTables());
    return index;
}

std::string Utf8Of(std::uint32_t ucs)
{
    std::string out;
    AppendUtf8(out, ucs);
    return out;
}

// Writes one text. G1 holds ANSEL (the upper half of ISO 5426) throughout; G0 holds Basic
// Latin but where a character needs another set, and returns to it before each control byte
// and at the end, as the reader starts each subfield in the default sets.
class Writer {
public:
    Writer(const Index& index, bool escapes) : m_index(index), m_escapes(escapes), m_g0(index.basicLatin) {}

    std::optional<std::string> Run(std::string_view utf8)
    {
        if (SanitizeUtf8(utf8) != utf8) {
            return std::nullopt;
        }
        // Composed first: a set that holds a letter whole (Cyrillic й, ё) writes it whole; the
        // others are taken apart into letter and marks one by one.
        const std::vector<std::uint32_t> text = CodePoints(ComposedNfc(utf8));
        for (std::size_t i = 0; i < text.size(); ++i) {
            const std::uint32_t ucs = text[i];
            if (ucs < 0x20 || ucs == 0x7F) {
                if (!Control(ucs)) return std::nullopt;
                if (ucs == static_cast<std::uint32_t>(kSubfieldDelimiter) && m_escapes && i + 1 < text.size()) {
                    // The subfield code: the field reader takes the byte as it stands.
                    const std::uint32_t code = text[++i];
                    if (code <= 0x20 || code >= 0x7F) return std::nullopt;
                    m_out += static_cast<char>(code);
                }
                continue;
            }
            if (!Character(ucs)) return std::nullopt;
        }
        if (!FlushCluster()) return std::nullopt;
        ReturnToDefaults();
        return std::move(m_out);
    }

private:
    // A character as places to write it from: itself, or its canonical decomposition.
    bool Character(std::uint32_t ucs)
    {
        if (const Place* place = Find(ucs)) {
            return Add(*place);
        }
        const std::vector<std::uint32_t> parts = CodePoints(CanonicalDecomposition(Utf8Of(ucs)));
        if (parts.size() < 2) {
            return false;
        }
        for (const std::uint32_t part : parts) {
            const Place* place = Find(part);
            if (place == nullptr || !Add(*place)) return false;
        }
        return true;
    }

    // The default sets first, then the set in G0 now, then the sets in table order.
    const Place* Find(std::uint32_t ucs) const
    {
        if (ucs == 0x20) {
            return &kSpace;
        }
        const auto [first, last] = std::equal_range(
            m_index.places.begin(), m_index.places.end(), Place{ucs, 0, 0, 0, false},
            [](const Place& a, const Place& b) { return a.ucs < b.ucs; });
        if (first == last) return nullptr;
        if (first->rank == 0) return &*first;
        const auto current = std::find_if(first, last, [this](const Place& p) { return p.table == m_g0; });
        return current != last ? &*current : &*first;
    }

    // A letter with its marks is written marks first; a mark with no letter before it in its
    // subfield would go to the wrong letter.
    bool Add(const Place& place)
    {
        if (place.combining) {
            if (!m_base) return false;
            m_marks.push_back(place);
            return true;
        }
        if (!FlushCluster()) return false;
        m_base = place;
        return true;
    }

    bool FlushCluster()
    {
        if (!m_base) return true;
        const Place base = *m_base;
        std::vector<Place> marks;
        if (m_rightHalf) {
            marks.push_back(*m_rightHalf);
            m_rightHalf.reset();
        }
        marks.insert(marks.end(), m_marks.begin(), m_marks.end());
        m_base.reset();
        m_marks.clear();
        // The escape to the letter's set goes before its marks when they are in G1 or in it.
        const bool marksKeepG0 = std::all_of(marks.begin(), marks.end(), [&](const Place& mark) {
            return mark.table == m_index.ansel || mark.table == base.table;
        });
        if (marksKeepG0) Designate(base);
        for (const Place& mark : marks) {
            if (!Designate(mark)) return false;
            Put(mark);
            const auto right = std::find_if(m_index.rightHalves.begin(), m_index.rightHalves.end(),
                                            [&](const Place& half) { return half.table == mark.table && half.code == mark.code + 1; });
            if (right != m_index.rightHalves.end()) {
                m_rightHalf = *right;  // before the next letter, if one follows in this subfield
            }
        }
        if (!Designate(base)) return false;
        Put(base);
        return true;
    }

    bool Control(std::uint32_t ucs)
    {
        if (ucs == static_cast<std::uint32_t>(kEscape) && m_escapes) {
            return false;  // the reader would take it for the start of an escape sequence
        }
        if (!FlushCluster()) return false;
        m_rightHalf.reset();
        ReturnToDefaults();
        m_out += static_cast<char>(ucs);
        return true;
    }

    bool Designate(const Place& place)
    {
        if (place.table == kEverySet || place.table == m_index.ansel || place.table == m_g0) {
            return true;
        }
        if (!m_escapes) {
            return false;
        }
        const CodeTable& table = m_index.tables[place.table];
        m_out += kEscape;
        if (IsShiftedSet(table.finalByte)) {
            // ESC g, ESC b, ESC p: ESC ( B ends them as well as ESC s does.
        } else if (table.bytesPerCharacter > 1) {
            m_out += '$';
        } else {
            m_out += '(';
        }
        m_out += static_cast<char>(table.finalByte);
        m_g0 = place.table;
        return true;
    }

    void ReturnToDefaults()
    {
        if (m_g0 != m_index.basicLatin) {
            m_out += "\x1B(B";
            m_g0 = m_index.basicLatin;
        }
    }

    void Put(const Place& place)
    {
        if (place.table == kEverySet) {
            m_out += static_cast<char>(place.code);
            return;
        }
        const CodeTable& table = m_index.tables[place.table];
        if (place.table == m_index.ansel) {
            // The upper half; the few characters of the C1 range are listed by their own byte.
            m_out += static_cast<char>(place.code >= 0x80 ? place.code : place.code | 0x80);
            return;
        }
        for (int i = table.bytesPerCharacter - 1; i >= 0; --i) {
            m_out += static_cast<char>((place.code >> (8 * i)) & 0xFF);
        }
    }

    // The space is the same byte in every set, as the controls are.
    static constexpr std::size_t kEverySet = static_cast<std::size_t>(-1);
    static constexpr Place kSpace{0x20, 0, kEverySet, 0x20, false};

    const Index& m_index;
    bool m_escapes;
    std::size_t m_g0;
    std::optional<Place> m_base;
    std::vector<Place> m_marks;
    std::optional<Place> m_rightHalf;
    std::string m_out;
};

}  // namespace

std::optional<std::string> EncodeMarc8(std::string_view utf8)
{
    return Writer(Marc8Index(), true).Run(utf8);
}

std::optional<std::string> EncodeIso5426(std::string_view utf8)
{
    return Writer(Iso5426Index(), false).Run(utf8);
}

}  // namespace luma
