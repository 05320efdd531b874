#pragma once
// Whether a downloaded installer carries the publisher's signature.

#include <QByteArray>
#include <QString>
#include <string_view>

namespace luma::app {

enum class SignatureVerdict {
    Valid,
    Missing,  // the server published no signature beside the installer
    Invalid,  // a signature, but not the key's signature of this file
};

// Checks `signature` (DER ECDSA P-256 with SHA-256; empty when there was none) of the file at
// `path` against the PEM public key `publicKeyPem`. A file that cannot be read is Invalid.
SignatureVerdict CheckInstallerSignature(const QString& path, const QByteArray& signature,
                                         std::string_view publicKeyPem);

}  // namespace luma::app
