// The DER reader that turns a key and a signature into what CNG takes: every form OpenSSL makes
// is read, and whatever OpenSSL would refuse - or whatever would make the reader look beyond
// its bytes - gives nothing.

#include "signature/der_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <span>
#include <vector>

namespace luma::signature {
namespace {

using Bytes = std::vector<unsigned char>;
using Raw = std::array<unsigned char, 64>;

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

Bytes Repeat(unsigned char byte, std::size_t count) { return Bytes(count, byte); }

// An element with its length in the shortest form.
Bytes Element(unsigned char tag, const Bytes& contents)
{
    Bytes element = {tag};
    if (contents.size() < 0x80) {
        element.push_back(static_cast<unsigned char>(contents.size()));
    } else {
        element.push_back(0x81);
        element.push_back(static_cast<unsigned char>(contents.size()));
    }
    return Join({element, contents});
}

Bytes Integer(const Bytes& number) { return Element(0x02, number); }
Bytes Sequence(const Bytes& contents) { return Element(0x30, contents); }

std::optional<Raw> Signature(const Bytes& der) { return P256RawSignature(std::span<const unsigned char>(der)); }
std::optional<Raw> Point(const Bytes& der) { return P256PublicPoint(std::span<const unsigned char>(der)); }

Raw RawOf(const Bytes& r, const Bytes& s)
{
    Raw raw{};
    std::copy(r.begin(), r.end(), raw.begin() + static_cast<std::ptrdiff_t>(32 - r.size()));
    std::copy(s.begin(), s.end(), raw.begin() + static_cast<std::ptrdiff_t>(64 - s.size()));
    return raw;
}

// Cutting it anywhere, or adding a byte, spoils a structure: the reader gives nothing and reads
// only what it was given (the sanitizer builds would see a read beyond).
void ExpectOnlyTheWholeReads(const Bytes& whole, std::optional<Raw> (*read)(const Bytes&))
{
    ASSERT_TRUE(read(whole).has_value());
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(read(cut).has_value()) << "cut to " << size << " of " << whole.size() << " bytes";
    }
    EXPECT_FALSE(read(Join({whole, {0x00}})).has_value()) << "a byte after the end";
}

// A signature exactly as OpenSSL writes one (tests/signature/data/installer.bin.sig), and numbers
// of every length up to 32 bytes, with the zero byte that keeps a high first bit positive.
TEST(DerReader, SignaturesOfEveryNumberLengthAreReadRightAligned)
{
    const Bytes r = {0x67, 0x3d, 0x38, 0x76, 0xa5, 0xb6, 0xf0, 0x7c, 0x46, 0x80, 0xc9, 0xf7, 0x5e, 0xf2, 0x10, 0xc6,
                     0xf7, 0x85, 0xc4, 0x31, 0x7f, 0x24, 0xe2, 0xd9, 0x37, 0x1a, 0x5b, 0xcb, 0x44, 0x36, 0xc4, 0x9c};
    const Bytes s = {0x69, 0xfc, 0x85, 0x84, 0xf7, 0x81, 0x1e, 0xcb, 0xde, 0x72, 0x21, 0x13, 0x2c, 0xce, 0xeb, 0x51,
                     0xeb, 0xec, 0x25, 0xcb, 0x58, 0x66, 0xc6, 0x23, 0x6e, 0xc8, 0x47, 0xd9, 0x72, 0x98, 0x44, 0x90};
    const Bytes openssl = Join({{0x30, 0x44, 0x02, 0x20}, r, {0x02, 0x20}, s});
    EXPECT_EQ(Signature(openssl), RawOf(r, s));
    ExpectOnlyTheWholeReads(openssl, Signature);

    for (std::size_t length = 1; length <= 32; ++length) {
        Bytes small = Repeat(0x11, length);
        Bytes high = Repeat(0xEE, length);
        EXPECT_EQ(Signature(Sequence(Join({Integer(small), Integer(Join({{0x00}, high}))}))), RawOf(small, high))
            << length << " bytes";
        EXPECT_EQ(Signature(Sequence(Join({Integer(Join({{0x00}, high})), Integer(small)}))), RawOf(high, small))
            << length << " bytes";
    }
    // The longest: both numbers 33 bytes with their zero byte, 72 bytes in all.
    const Bytes longest = Sequence(Join({Integer(Join({{0x00}, Repeat(0xFF, 32)})), Integer(Join({{0x00}, Repeat(0x80, 32)}))}));
    EXPECT_EQ(longest.size(), 72u);
    EXPECT_EQ(Signature(longest), RawOf(Repeat(0xFF, 32), Repeat(0x80, 32)));
    ExpectOnlyTheWholeReads(longest, Signature);
}

// The numbers OpenSSL refuses in a signature: negative, padded with a zero byte DER does not
// need, longer than 32 bytes, empty; and the wrong number of them or the wrong tags.
TEST(DerReader, NumbersOutsideStrictDerAreRefused)
{
    const Bytes one = Integer({0x01});
    const Bytes refused[] = {
        Sequence(Join({Integer({0x80}), one})),                                      // negative r
        Sequence(Join({one, Integer(Join({{0xFF}, Repeat(0x01, 31)}))})),            // negative s
        Sequence(Join({Integer({0x00, 0x01}), one})),                                // a zero before a low bit
        Sequence(Join({one, Integer({0x00, 0x7F})})),
        Sequence(Join({Integer({0x00, 0x00, 0x80}), one})),                          // two zeros before a high bit
        Sequence(Join({Integer(Repeat(0x01, 33)), one})),                            // 33 bytes of number
        Sequence(Join({one, Integer(Join({{0x00}, Repeat(0x80, 33)}))})),            // 33 after the zero
        Sequence(Join({Integer({}), one})),                                          // no bytes at all
        Sequence(one),                                                               // r alone
        Sequence(Join({one, one, one})),                                             // a third number
        Sequence(Join({one, one, {0x00, 0x00}})),                                    // anything after s
        Join({Sequence(Join({one, one})), {0x00, 0x00}}),                            // anything after the whole
        Sequence(Join({Element(0x03, {0x01}), one})),                                // r as a BIT STRING
        Element(0x31, Join({one, one})),                                             // a SET, not a SEQUENCE
        Join({Integer({0x01}), Integer({0x01})}),                                    // no SEQUENCE around
        {},
    };
    for (const Bytes& der : refused) {
        EXPECT_FALSE(Signature(der).has_value()) << testing::PrintToString(der);
    }
}

// Lengths: the long form only where the short one cannot serve, never indefinite, never more than
// the bytes there are - also when the bytes there are belong to the element around it.
TEST(DerReader, LengthsMustBeMinimalDefiniteAndWithinTheirElement)
{
    const Bytes one = Integer({0x01});
    const Bytes numbers = Join({one, one});  // 6 bytes
    const Bytes refused[] = {
        Join({{0x30, 0x81, 0x06}, numbers}),                                        // long form for 6
        Join({{0x30, 0x82, 0x00, 0x06}, numbers}),                                  // two length bytes for 6
        Join({{0x30, 0x83, 0x00, 0x00, 0x06}, numbers}),                            // three
        Join({{0x30, 0x84, 0xFF, 0xFF, 0xFF, 0xFF}, numbers}),                      // four, far beyond the end
        Join({{0x30, 0x88, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, numbers}),
        Join({{0x30, 0x80}, numbers, {0x00, 0x00}}),                                // indefinite
        Join({{0x30, 0x07, 0x02, 0x81, 0x01, 0x01}, one}),                          // long form inside
        Join({{0x30, 0x07}, numbers}),                                              // one byte more than there is
        Join({{0x30, 0xFF}, numbers}),                                              // 0xFF: no such form
        {0x30, 0x06, 0x02, 0x01, 0x01, 0x02, 0x04, 0x01},                           // s runs past the end
        // s claims two bytes beyond the sequence's end, which are there in the buffer
        {0x30, 0x06, 0x02, 0x01, 0x01, 0x02, 0x03, 0x01, 0x01, 0x01},
        {0x30}, {0x30, 0x81}, {0x30, 0x82, 0x01},                                   // headers cut short
    };
    for (const Bytes& der : refused) {
        EXPECT_FALSE(Signature(der).has_value()) << testing::PrintToString(der);
    }
    EXPECT_EQ(Signature(Join({{0x30, 0x06}, numbers})), RawOf({0x01}, {0x01}));
}

// The key: SEQUENCE { SEQUENCE { id-ecPublicKey, prime256v1 }, BIT STRING 00 04 X Y } as
// `openssl pkey -pubin -outform DER` writes the test key; anything else for the algorithm, the
// curve or the point gives nothing.
TEST(DerReader, OnlyAnUncompressedP256KeyGivesItsPoint)
{
    const Bytes ecPublicKey = Element(0x06, {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01});
    const Bytes prime256v1 = Element(0x06, {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07});
    Bytes xy;
    for (unsigned i = 0; i < 64; ++i) {
        xy.push_back(static_cast<unsigned char>(0xA0 + i));
    }
    const auto key = [&](const Bytes& algorithm, const Bytes& bits) {
        return Sequence(Join({Sequence(algorithm), Element(0x03, bits)}));
    };
    const Bytes good = key(Join({ecPublicKey, prime256v1}), Join({{0x00, 0x04}, xy}));
    Raw point{};
    std::copy(xy.begin(), xy.end(), point.begin());
    EXPECT_EQ(Point(good), point);
    EXPECT_EQ(good.size(), 91u);  // what openssl writes for a P-256 key
    EXPECT_EQ(good[1], 0x59);
    ExpectOnlyTheWholeReads(good, Point);

    const Bytes x = Bytes(xy.begin(), xy.begin() + 32);
    const Bytes refused[] = {
        key(Join({ecPublicKey, Element(0x06, {0x2B, 0x81, 0x04, 0x00, 0x22})}), Join({{0x00, 0x04}, xy})),  // P-384
        key(Join({Element(0x06, {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01}), prime256v1}),
            Join({{0x00, 0x04}, xy})),                                                                  // RSA
        key(Join({Element(0x06, {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02}), prime256v1}), Join({{0x00, 0x04}, xy})),  // OID cut short
        key(Join({ecPublicKey, Element(0x06, {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07, 0x01})}),
            Join({{0x00, 0x04}, xy})),                                                                  // OID one arc longer
        key(Join({prime256v1, ecPublicKey}), Join({{0x00, 0x04}, xy})),                                 // the two swapped
        key(Join({ecPublicKey, prime256v1, Element(0x05, {})}), Join({{0x00, 0x04}, xy})),              // a NULL after them
        key(ecPublicKey, Join({{0x00, 0x04}, xy})),                                                     // no curve
        key(Join({ecPublicKey, prime256v1}), Join({{0x00, 0x02}, x})),                                  // compressed
        key(Join({ecPublicKey, prime256v1}), Join({{0x00, 0x03}, x, Repeat(0, 32)})),                   // compressed tag, 64 bytes
        key(Join({ecPublicKey, prime256v1}), Join({{0x01, 0x04}, xy})),                                 // unused bits
        key(Join({ecPublicKey, prime256v1}), Join({{0x00, 0x04}, xy, {0x00}})),                         // a byte too many
        key(Join({ecPublicKey, prime256v1}), Join({{0x00, 0x04}, Bytes(xy.begin(), xy.end() - 1)})),    // one too few
        Sequence(Join({Sequence(Join({ecPublicKey, prime256v1})), Element(0x04, Join({{0x00, 0x04}, xy}))})),  // OCTET STRING
        Join({good, good}),
    };
    for (const Bytes& der : refused) {
        EXPECT_FALSE(Point(der).has_value()) << testing::PrintToString(der);
    }
}

}  // namespace
}  // namespace luma::signature
