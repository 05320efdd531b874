#include "signature/der_reader.h"

#include <algorithm>
#include <cstddef>

namespace luma::signature {
namespace {

using Bytes = std::span<const unsigned char>;

constexpr unsigned char kSequence = 0x30;
constexpr unsigned char kInteger = 0x02;
constexpr unsigned char kBitString = 0x03;
constexpr unsigned char kObjectId = 0x06;

constexpr unsigned char kEcPublicKeyOid[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};
constexpr unsigned char kPrime256v1Oid[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};
constexpr std::size_t kCoordinate = 32;

// Takes DER elements off the front of a byte range.
class DerReader {
public:
    explicit DerReader(Bytes bytes) : m_rest(bytes) {}

    bool AtEnd() const { return m_rest.empty(); }

    // The contents of the next element when its tag is `tag`.
    std::optional<Bytes> Read(unsigned char tag)
    {
        if (m_rest.size() < 2 || m_rest[0] != tag) {
            return std::nullopt;
        }
        const std::optional<std::size_t> header = HeaderSize();
        if (!header) {
            return std::nullopt;
        }
        const std::size_t length = ContentLength(*header);
        if (length > m_rest.size() - *header) {
            return std::nullopt;
        }
        const Bytes contents = m_rest.subspan(*header, length);
        m_rest = m_rest.subspan(*header + length);
        return contents;
    }

private:
    // Tag and length bytes; short form, or long form of one or two bytes used only where DER
    // requires it (the structures here are far below 64 KiB).
    std::optional<std::size_t> HeaderSize() const
    {
        const unsigned char first = m_rest[1];
        if (first < 0x80) {
            return 2;
        }
        if (first == 0x81 && m_rest.size() >= 3 && m_rest[2] >= 0x80) {
            return 3;
        }
        if (first == 0x82 && m_rest.size() >= 4 && m_rest[2] != 0) {
            return 4;
        }
        return std::nullopt;
    }

    std::size_t ContentLength(std::size_t header) const
    {
        std::size_t length = header == 2 ? m_rest[1] : 0;
        for (std::size_t i = 2; i < header; ++i) {
            length = length << 8 | m_rest[i];
        }
        return length;
    }

    Bytes m_rest;
};

bool Equals(Bytes bytes, Bytes expected)
{
    return std::equal(bytes.begin(), bytes.end(), expected.begin(), expected.end());
}

// A positive DER INTEGER of at most 32 bytes, right-aligned into `out`.
bool ReadCoordinate(DerReader& reader, std::span<unsigned char, kCoordinate> out)
{
    std::optional<Bytes> number = reader.Read(kInteger);
    if (!number || number->empty() || ((*number)[0] & 0x80) != 0) {
        return false;
    }
    if ((*number)[0] == 0 && number->size() > 1) {
        // A leading zero only to keep the number positive.
        if (((*number)[1] & 0x80) == 0) {
            return false;
        }
        number = number->subspan(1);
    }
    if (number->size() > kCoordinate) {
        return false;
    }
    std::fill(out.begin(), out.end(), 0);
    std::copy(number->begin(), number->end(), out.end() - static_cast<std::ptrdiff_t>(number->size()));
    return true;
}

}  // namespace

std::optional<std::array<unsigned char, 64>> P256PublicPoint(Bytes spki)
{
    DerReader outer(spki);
    const std::optional<Bytes> info = outer.Read(kSequence);
    if (!info || !outer.AtEnd()) {
        return std::nullopt;
    }
    DerReader fields(*info);
    const std::optional<Bytes> algorithm = fields.Read(kSequence);
    const std::optional<Bytes> bits = fields.Read(kBitString);
    if (!algorithm || !bits || !fields.AtEnd()) {
        return std::nullopt;
    }
    DerReader ids(*algorithm);
    const std::optional<Bytes> type = ids.Read(kObjectId);
    const std::optional<Bytes> curve = ids.Read(kObjectId);
    if (!type || !curve || !ids.AtEnd() || !Equals(*type, kEcPublicKeyOid) ||
        !Equals(*curve, kPrime256v1Oid)) {
        return std::nullopt;
    }
    // No unused bits, then an uncompressed point: 04 X Y.
    if (bits->size() != 2 + 2 * kCoordinate || (*bits)[0] != 0 || (*bits)[1] != 0x04) {
        return std::nullopt;
    }
    std::array<unsigned char, 64> point{};
    std::copy(bits->begin() + 2, bits->end(), point.begin());
    return point;
}

std::optional<std::array<unsigned char, 64>> P256RawSignature(Bytes der)
{
    DerReader outer(der);
    const std::optional<Bytes> value = outer.Read(kSequence);
    if (!value || !outer.AtEnd()) {
        return std::nullopt;
    }
    DerReader numbers(*value);
    std::array<unsigned char, 64> raw{};
    const std::span<unsigned char, 64> both(raw);
    if (!ReadCoordinate(numbers, both.first<kCoordinate>()) ||
        !ReadCoordinate(numbers, both.last<kCoordinate>()) || !numbers.AtEnd()) {
        return std::nullopt;
    }
    return raw;
}

}  // namespace luma::signature
