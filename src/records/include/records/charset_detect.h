#pragma once
// Deciding a file's character set from its declarations and, above all, its bytes.

#include <string_view>

#include "records/iso_record.h"
#include "charsets/charset.h"

namespace luma {

// True when the record declares UTF-8: MARC 21 leader/09 'a', or UNIMARC field 100 $a
// positions 26-27 "50".
bool DeclaresUtf8(const IsoRecord& record);

// What decided a file's set, for the file information.
enum class CharsetEvidence {
    NoEightBitText,        // no byte above 0x7F and no escape sequence
    Utf8Declared,          // leader/09 or UNIMARC 100 $a, and bytes that do not contradict it
    Utf8Bytes,             // multi-byte UTF-8 sequences nearly everywhere
    CyrillicLetters,       // runs of high bytes, read as the code page whose letters fit best
    Marc8Escapes,          // MARC-8 escape sequences
    Marc8Diacritics,       // diacritics before letters under a MARC 21 leader
    Latin1Letters,         // letters with diacritics at the ends of words
    Iso5426Declared,       // UNIMARC 100 $a declaring ISO 5426, or a UNIMARC record's diacritics
    ChosenByOperator,
};

struct CharsetDetection {
    Charset charset = Charset::Ascii;
    CharsetEvidence evidence = CharsetEvidence::NoEightBitText;
};

// UTF-8 when declared or when the bytes are UTF-8 with multi-byte sequences; MARC-8 when its
// escape sequences or its diacritics (before their letter) are there; ISO 5426 for such
// diacritics in UNIMARC; Windows-1252 or ISO-8859-1 for letters with diacritics that end words;
// else the single-byte Cyrillic set whose letter frequencies fit the bytes best; ASCII when no
// byte is above 0x7F. `firstRecord` carries the file's declarations.
CharsetDetection DetectCharset(std::string_view file, const IsoRecord& firstRecord);

// Why the set was taken, in the window's source language (marked for translation).
const char* EvidenceText(CharsetEvidence evidence);

}  // namespace luma
