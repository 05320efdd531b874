#pragma once
// The code tables of MARC-8 and ISO 5426, generated from their published sources into
// code_tables.cpp. A 94-character set is looked up by the low seven bits of its byte, so one
// table serves it in G0 and in G1; the East Asian set by its three bytes.

#include <cstdint>
#include <span>

namespace luma {

struct CodeTableEntry {
    std::uint32_t code;
    std::uint32_t ucs;  // 0: nothing, as for the second half of a ligature
    bool combining;  // written before the character it goes with
};

struct CodeTable {
    unsigned char finalByte;  // the set's final byte in an escape sequence
    int bytesPerCharacter;
    std::span<const CodeTableEntry> entries;  // by code, ascending
};

std::span<const CodeTable> Marc8CodeTables();
std::span<const CodeTable> Iso5426CodeTables();

}  // namespace luma
