// The update signature check against signatures openssl made with throw-away test keys: only
// the test key's signature of exactly the file verifies, in whatever pieces the file comes.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "other_key.h"
#include "p384_key.h"
#include "project_key.h"
#include "signature/update_verifier.h"
#include "test_files.h"
#include "test_update_key.h"
#include "update_key.h"

using luma::signature::UpdateVerifier;
using luma::test::ReadBytes;

namespace {

std::string Data(const std::string& name)
{
    return ReadBytes(std::string(LUMA_SIGNATURE_DATA_DIR) + "/" + name);
}

std::span<const unsigned char> Bytes(std::string_view text)
{
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// Feeds `file` in pieces of `piece` bytes and checks `signature`.
bool Verifies(std::string_view key, std::string_view file, std::string_view signature,
              std::size_t piece = 4096)
{
    UpdateVerifier verifier(key);
    for (std::size_t at = 0; at < file.size(); at += piece) {
        verifier.Add(Bytes(file.substr(at, piece)));
    }
    return verifier.Verify(Bytes(signature));
}

}  // namespace

TEST(UpdateVerifier, TheKeysSignatureOfTheFileVerifiesInAnyPieces)
{
    const std::string file = Data("installer.bin");
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, file.size()}) {
        EXPECT_TRUE(Verifies(kTestUpdateKeyPem, file, Data("installer.bin.sig"), piece)) << piece;
    }
    // DER drops a leading zero of r or s, or adds one to keep a number positive.
    EXPECT_TRUE(Verifies(kTestUpdateKeyPem, file, Data("installer.bin.short.sig")));
    EXPECT_TRUE(Verifies(kTestUpdateKeyPem, Data("another.bin"), Data("another.bin.sig")));
}

TEST(UpdateVerifier, EverythingElseIsRefused)
{
    const std::string file = Data("installer.bin");
    const std::string good = Data("installer.bin.sig");
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file, Data("installer.bin.other-key.sig")));
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file, Data("another.bin.sig")));
    EXPECT_FALSE(Verifies(kOtherKeyPem, file, good));
    EXPECT_FALSE(Verifies(kProjectKeyPem, file, good));
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file, ""));
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file, good.substr(0, good.size() - 1)));
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file, good + '\0'));
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, "", good));

    std::string changed = file;
    changed[2500] = static_cast<char>(changed[2500] ^ 0x01);
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, changed, good));
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file + ' ', good));

    std::string flipped = good;
    flipped[20] = static_cast<char>(flipped[20] ^ 0x40);
    EXPECT_FALSE(Verifies(kTestUpdateKeyPem, file, flipped));

    // A check ends with its verdict.
    UpdateVerifier verifier(kTestUpdateKeyPem);
    verifier.Add(Bytes(file));
    EXPECT_TRUE(verifier.Verify(Bytes(good)));
    EXPECT_FALSE(verifier.Verify(Bytes(good)));
}

TEST(UpdateVerifier, OnlyAP256PublicKeyIsAKey)
{
    EXPECT_TRUE(UpdateVerifier(kUpdateKeyPem).HasKey());  // this build's
    EXPECT_TRUE(UpdateVerifier(kProjectKeyPem).HasKey());
    EXPECT_TRUE(UpdateVerifier(kTestUpdateKeyPem).HasKey());
    const std::string privateKey = ReadBytes(std::string(LUMA_SIGNATURE_KEY_DIR) + "/test-update-key.pem");
    const std::string pem = kTestUpdateKeyPem;
    std::string damaged = pem;
    damaged[40] = damaged[40] == 'A' ? 'B' : 'A';
    for (const std::string& notKey : {std::string(kP384KeyPem), privateKey, damaged,
                                      pem.substr(0, pem.size() / 2), std::string()}) {
        UpdateVerifier verifier(notKey);
        EXPECT_FALSE(verifier.HasKey()) << notKey;
        verifier.Add(Bytes(Data("installer.bin")));
        EXPECT_FALSE(verifier.Verify(Bytes(Data("installer.bin.sig"))));
    }
}
