#pragma once
// Deciding a file's character set from its declarations and, above all, its bytes.

#include <string_view>

#include "records/iso_record.h"
#include "charsets/charset.h"

namespace luma {

// True when the record declares UTF-8: MARC 21 leader/09 'a', or UNIMARC field 100 $a
// positions 26-27 "50".
bool DeclaresUtf8(const IsoRecord& record);

// UTF-8 when declared or when the bytes are UTF-8 with multi-byte sequences; else the
// single-byte Cyrillic set whose letter frequencies fit the bytes best; ASCII when no byte is
// above 0x7F. `firstRecord` carries the file's declaration.
Charset DetectCharset(std::string_view file, const IsoRecord& firstRecord);

}  // namespace luma
