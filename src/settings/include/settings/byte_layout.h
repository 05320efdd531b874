#pragma once
// Little-endian fields in a fixed-size byte layout, independent of the host's byte order.

#include <cstddef>
#include <cstdint>
#include <utility>

#include "settings/settings_profile.h"

namespace luma {

class ByteLayoutWriter {
public:
    explicit ByteLayoutWriter(std::size_t size) { m_bytes.reserve(size); }

    void U8(std::uint8_t value) { m_bytes.push_back(value); }
    void U32(std::uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }

    SettingsBytes Take() { return std::move(m_bytes); }

private:
    SettingsBytes m_bytes;
};

// Reads fields in order; the caller has checked the total length.
class ByteLayoutReader {
public:
    explicit ByteLayoutReader(const SettingsBytes& bytes) : m_bytes(bytes) {}

    std::uint8_t U8() { return m_bytes[m_offset++]; }
    std::uint32_t U32()
    {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            value |= static_cast<std::uint32_t>(U8()) << shift;
        }
        return value;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }

private:
    const SettingsBytes& m_bytes;
    std::size_t m_offset = 0;
};

}  // namespace luma
