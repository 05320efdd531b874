#pragma once
// Reads the two fixed DER structures CNG needs in another form: the point of a P-256 public key
// and the two numbers of an ECDSA signature. Strict DER only: a lenient reader would accept
// encodings that OpenSSL on Linux refuses.

#include <array>
#include <optional>
#include <span>

namespace luma::signature {

// X and Y (32 bytes each, big-endian) of a P-256 key in a SubjectPublicKeyInfo:
// SEQUENCE { SEQUENCE { OID id-ecPublicKey, OID prime256v1 }, BIT STRING 04 X Y }.
std::optional<std::array<unsigned char, 64>> P256PublicPoint(std::span<const unsigned char> spki);

// r and s (32 bytes each, big-endian) of an ECDSA-Sig-Value SEQUENCE { INTEGER r, INTEGER s }
// for P-256; nothing for a number that is negative, zero-padded beyond DER or above 32 bytes.
std::optional<std::array<unsigned char, 64>> P256RawSignature(std::span<const unsigned char> der);

}  // namespace luma::signature
