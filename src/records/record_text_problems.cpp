// Text that a record's set cannot read. The code-page sets map every byte, and UTF-8's invalid
// bytes are told apart by the detection; MARC-8 and ISO 5426 text can hold escape sequences and
// characters no table lists, which only decoding finds.

#include "charsets/marc8.h"
#include "records/iso_format.h"
#include "records/record_store.h"

namespace luma {
namespace {

std::size_t UnreadableBytes(Charset charset, std::string_view data)
{
    return charset == Charset::Marc8 ? DecodeMarc8Field(data).undecodable : DecodeIso5426(data).undecodable;
}

}  // namespace

std::vector<Problem> RecordStore::UnreadableTextProblems()
{
    std::vector<Problem> found;
    if (!HasRecord()) {
        return found;
    }
    const IsoRecord& record = CurrentRecord();
    const Charset charset = CodecFor(record).charset();
    if (!IsReadByCodeTables(charset)) {
        return found;
    }
    const std::uint64_t offset = GetRecordSpan(m_current).offset;
    for (const Field& field : record.fields) {
        const std::size_t bytes = UnreadableBytes(charset, field.data);
        if (bytes > 0) {
            found.push_back({"field " + field.tag + ": " + std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes") +
                                 " cannot be read as " + std::string(CharsetName(charset)) + " (shown as \xEF\xBF\xBD)",
                             m_current, offset});
        }
    }
    return found;
}

}  // namespace luma
