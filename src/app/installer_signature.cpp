#include "app/installer_signature.h"

#include <QFile>

#include "signature/update_verifier.h"

namespace luma::app {
namespace {

std::span<const unsigned char> Bytes(const QByteArray& bytes)
{
    return {reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

}  // namespace

SignatureVerdict CheckInstallerSignature(const QString& path, const QByteArray& signature,
                                         std::string_view publicKeyPem)
{
    if (signature.isEmpty()) {
        return SignatureVerdict::Missing;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return SignatureVerdict::Invalid;
    }
    signature::UpdateVerifier verifier(publicKeyPem);
    constexpr qint64 kPiece = 1 << 16;
    while (!file.atEnd()) {
        const QByteArray piece = file.read(kPiece);
        if (piece.isEmpty()) {
            return SignatureVerdict::Invalid;  // a read error
        }
        verifier.Add(Bytes(piece));
    }
    return verifier.Verify(Bytes(signature)) ? SignatureVerdict::Valid : SignatureVerdict::Invalid;
}

}  // namespace luma::app
