// Linux: OpenSSL's libcrypto reads the PEM key and verifies the DER signature itself.

#include "signature/update_verifier.h"

#include <openssl/bio.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <climits>
#include <cstring>

namespace luma::signature {
namespace {

struct FreeKey {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct FreeContext {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FreeBio {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, FreeKey>;
using ContextPtr = std::unique_ptr<EVP_MD_CTX, FreeContext>;

KeyPtr ReadPublicKey(std::string_view pem)
{
    if (pem.size() > INT_MAX) {
        return nullptr;
    }
    const std::unique_ptr<BIO, FreeBio> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    return KeyPtr(bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr) : nullptr);
}

bool IsP256(EVP_PKEY* key)
{
    char group[32] = {};
    size_t length = 0;
    return EVP_PKEY_get_base_id(key) == EVP_PKEY_EC &&
           EVP_PKEY_get_utf8_string_param(key, OSSL_PKEY_PARAM_GROUP_NAME, group, sizeof group,
                                          &length) == 1 &&
           std::strcmp(group, "prime256v1") == 0;
}

}  // namespace

struct UpdateVerifier::State {
    KeyPtr key;
    ContextPtr context;
};

UpdateVerifier::UpdateVerifier(std::string_view publicKeyPem) : m_state(std::make_unique<State>())
{
    KeyPtr key = ReadPublicKey(publicKeyPem);
    ContextPtr context(EVP_MD_CTX_new());
    if (key && IsP256(key.get()) && context &&
        EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) == 1) {
        m_state->key = std::move(key);
        m_state->context = std::move(context);
    }
    // A refused key leaves its reasons in this thread's error queue, where the next OpenSSL
    // user (Qt's TLS) would find them.
    ERR_clear_error();
}

UpdateVerifier::~UpdateVerifier() = default;

bool UpdateVerifier::HasKey() const
{
    return m_state->key != nullptr;
}

void UpdateVerifier::Add(std::span<const unsigned char> bytes)
{
    if (m_state->context && EVP_DigestVerifyUpdate(m_state->context.get(), bytes.data(), bytes.size()) != 1) {
        m_state->context.reset();
        ERR_clear_error();
    }
}

bool UpdateVerifier::Verify(std::span<const unsigned char> derSignature)
{
    const ContextPtr context = std::move(m_state->context);
    const bool valid = context && EVP_DigestVerifyFinal(context.get(), derSignature.data(),
                                                        derSignature.size()) == 1;
    ERR_clear_error();
    return valid;
}

}  // namespace luma::signature
