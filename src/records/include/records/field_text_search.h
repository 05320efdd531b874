#pragma once
// Finding a text in the fields of records straight from the file's bytes. Decoding every field
// to UTF-8, as the record view does, costs more than the search itself; here the query is put
// once into the form the bytes take instead. A single-byte set gets a table of 256 entries that
// gives each byte its letter (case-folded unless case must match), and the query becomes those
// letters; UTF-8 is folded where it lies. MARC-8 and ISO 5426 fields are decoded, unless they
// hold plain ASCII. The field notation ('#' for a blank indicator, '$' for
// the subfield delimiter, "{dollar}" for '$') is applied as the fields are copied, so a query
// finds exactly what it finds in the record view's text.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "records/iso_record.h"
#include "records/laid_out_record.h"
#include "charsets/charset.h"
#include "records/record_find.h"

namespace luma {

class FieldTextSearch {
public:
    // Nothing when only the record view's text can tell: a query that is not UTF-8, or a
    // character set whose decoding does not go byte by byte.
    static std::unique_ptr<FieldTextSearch> Prepare(Charset fileCharset, const FindQuery& query,
                                                    FieldFilter isShown);
    ~FieldTextSearch();
    FieldTextSearch(const FieldTextSearch&) = delete;
    FieldTextSearch& operator=(const FieldTextSearch&) = delete;

    // Whether a field of the record (its bytes as the file holds them) contains the text.
    bool Matches(std::string_view recordBytes, int recordIndex);

    // The letters of one single-byte character set: see the definition.
    struct Alphabet;

private:
    FieldTextSearch(Charset fileCharset, const FindQuery& query, FieldFilter isShown);
    bool AnyFieldMatches(const std::vector<FieldView>& fields, std::string_view leader, bool declaresUtf8);
    void AppendShown(const Alphabet& alphabet, std::string_view data, std::size_t indicators);
    void AppendShownByte(const Alphabet& alphabet, char c, bool isIndicator);
    void AppendUtf8(std::string_view data, std::size_t indicators);
    void AppendDecoded(const FieldView& field, std::size_t indicators);
    void ForSearch(std::size_t start);
    bool IsSearched(std::string_view tag);

    Charset m_fileCharset;
    FindQuery m_query;
    std::string m_utf8Pattern;  // the query as the (folded) UTF-8 text holds it
    bool m_utf8PatternCanMatch;  // false when it holds a character no field's text shows
    FieldFilter m_isShown;
    std::unordered_map<std::string, bool> m_shownTags;
    std::unique_ptr<Alphabet> m_utf8Alphabet;  // UTF-8 bytes, as themselves
    std::unique_ptr<Alphabet> m_asciiAlphabet;  // plain ASCII, folded as the UTF-8 search folds it
    std::unique_ptr<Alphabet> m_alphabet;  // for a single-byte set, or an ASCII file's Windows-1251
    TextCodec m_codec;  // for a set read through code tables
    std::string m_text;  // the searched fields of one record, one after another
};

}  // namespace luma
