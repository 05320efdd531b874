#pragma once
// Checks the detached signature of a downloaded update before anything runs it: ECDSA over
// P-256 with SHA-256, the DER signature `openssl dgst -sha256 -sign KEY.pem` writes.

#include <memory>
#include <span>
#include <string_view>

namespace luma::signature {

class UpdateVerifier {
public:
    // `publicKeyPem`: a P-256 public key as "-----BEGIN PUBLIC KEY-----" text
    // (SubjectPublicKeyInfo). Any other key verifies nothing.
    explicit UpdateVerifier(std::string_view publicKeyPem);
    ~UpdateVerifier();
    UpdateVerifier(const UpdateVerifier&) = delete;
    UpdateVerifier& operator=(const UpdateVerifier&) = delete;

    // Whether the key was usable.
    bool HasKey() const;

    // Feeds the next bytes of the signed file; the file may come in pieces of any size.
    void Add(std::span<const unsigned char> bytes);

    // Whether `derSignature` is the key's signature of exactly the bytes added. Ends the check:
    // later calls give false.
    bool Verify(std::span<const unsigned char> derSignature);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace luma::signature
