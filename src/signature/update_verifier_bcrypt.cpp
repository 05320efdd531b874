// Windows: CNG (bcrypt.dll) hashes and verifies. It takes the key as a bare point and the
// signature as r||s, so both are read out of their DER containers first.

#include "signature/update_verifier.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>
// clang-format on

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

#include "signature/der_reader.h"

namespace luma::signature {
namespace {

constexpr ULONG kDigestSize = 32;

// The DER bytes of PEM text: the base64 between its BEGIN and END lines.
std::vector<unsigned char> DerOfPem(std::string_view pem)
{
    if (pem.size() > ULONG_MAX / 2) {
        return {};
    }
    const auto size = static_cast<DWORD>(pem.size());
    DWORD length = 0;
    if (!CryptStringToBinaryA(pem.data(), size, CRYPT_STRING_BASE64HEADER, nullptr, &length,
                              nullptr, nullptr)) {
        return {};
    }
    std::vector<unsigned char> der(length);
    if (!CryptStringToBinaryA(pem.data(), size, CRYPT_STRING_BASE64HEADER, der.data(), &length,
                              nullptr, nullptr)) {
        return {};
    }
    der.resize(length);
    return der;
}

// The key's point as CNG imports a public key: a header, then X and Y.
std::vector<unsigned char> PublicKeyBlob(const std::array<unsigned char, 64>& point)
{
    const BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
    std::vector<unsigned char> blob(sizeof header + point.size());
    std::memcpy(blob.data(), &header, sizeof header);
    std::copy(point.begin(), point.end(), blob.begin() + sizeof header);
    return blob;
}

}  // namespace

struct UpdateVerifier::State {
    BCRYPT_ALG_HANDLE ecdsa = nullptr;
    BCRYPT_ALG_HANDLE sha256 = nullptr;
    BCRYPT_KEY_HANDLE key = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State()
    {
        EndHash();
        if (key) {
            BCryptDestroyKey(key);
        }
        if (sha256) {
            BCryptCloseAlgorithmProvider(sha256, 0);
        }
        if (ecdsa) {
            BCryptCloseAlgorithmProvider(ecdsa, 0);
        }
    }

    void EndHash()
    {
        if (hash) {
            BCryptDestroyHash(hash);
            hash = nullptr;
        }
    }

    bool ImportKey(std::string_view pem)
    {
        const std::optional<std::array<unsigned char, 64>> point = P256PublicPoint(DerOfPem(pem));
        if (!point) {
            return false;
        }
        std::vector<unsigned char> blob = PublicKeyBlob(*point);
        return BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&ecdsa, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0)) &&
               BCRYPT_SUCCESS(BCryptImportKeyPair(ecdsa, nullptr, BCRYPT_ECCPUBLIC_BLOB, &key,
                                                  blob.data(), static_cast<ULONG>(blob.size()), 0));
    }

    bool StartHash()
    {
        return BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) &&
               BCRYPT_SUCCESS(BCryptCreateHash(sha256, &hash, nullptr, 0, nullptr, 0, 0));
    }
};

UpdateVerifier::UpdateVerifier(std::string_view publicKeyPem) : m_state(std::make_unique<State>())
{
    if (!m_state->ImportKey(publicKeyPem) || !m_state->StartHash()) {
        m_state = std::make_unique<State>();
    }
}

UpdateVerifier::~UpdateVerifier() = default;

bool UpdateVerifier::HasKey() const
{
    return m_state->key != nullptr;
}

void UpdateVerifier::Add(std::span<const unsigned char> bytes)
{
    while (m_state->hash && !bytes.empty()) {
        const auto piece = static_cast<ULONG>(std::min<std::size_t>(bytes.size(), ULONG_MAX));
        // CNG takes a non-const pointer but does not write through it.
        if (!BCRYPT_SUCCESS(BCryptHashData(m_state->hash, const_cast<PUCHAR>(bytes.data()), piece, 0))) {
            m_state->EndHash();
        }
        bytes = bytes.subspan(piece);
    }
}

bool UpdateVerifier::Verify(std::span<const unsigned char> derSignature)
{
    if (!m_state->hash) {
        return false;
    }
    std::array<unsigned char, kDigestSize> digest{};
    const bool hashed = BCRYPT_SUCCESS(BCryptFinishHash(m_state->hash, digest.data(), kDigestSize, 0));
    m_state->EndHash();
    std::optional<std::array<unsigned char, 64>> raw = P256RawSignature(derSignature);
    return hashed && raw &&
           BCRYPT_SUCCESS(BCryptVerifySignature(m_state->key, nullptr, digest.data(), kDigestSize,
                                                raw->data(), static_cast<ULONG>(raw->size()), 0));
}

}  // namespace luma::signature
