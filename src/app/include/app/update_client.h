#pragma once
// Talks to the update location: whether a newer installer is published there, and fetching
// it into a folder of this user's own.

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QSslConfiguration>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <chrono>
#include <memory>

namespace luma::app {

// Reports a download's progress: `context` as given to BGetUpdate, the file's length (0 while
// unknown) and the bytes received (0 when only asking). Returns non-zero to cancel.
using UpdateProgress = int (*)(void* context, int total, int position);

class UpdateClient {
public:
    struct Limits {
        // Reading the listing, connection included.
        std::chrono::milliseconds check{5000};
        // A download that receives nothing for this long has failed.
        std::chrono::milliseconds stall{30000};
        qint64 maxListingSize = 1 << 20;
        qint64 maxInstallerSize = qint64{1} << 30;
        // A DER signature of P-256 is at most 72 bytes.
        qint64 maxSignatureSize = 1024;
    };

    UpdateClient() : UpdateClient(Limits{}) {}
    // `tls`: whom an https server must be certified by; the system's authorities by default.
    explicit UpdateClient(const Limits& limits,
                          const QSslConfiguration& tls = QSslConfiguration::defaultConfiguration())
        : m_limits(limits), m_tls(tls)
    {
    }
    UpdateClient(const UpdateClient&) = delete;
    UpdateClient& operator=(const UpdateClient&) = delete;
    // Removes the temporary folder with everything in it.
    ~UpdateClient();

    // A new folder that only this user can write, so that no one else can put a file into it;
    // the text ends with "/". Created on the first call, removed with this object; empty when
    // it cannot be created.
    QString BGetTempPath();

    // Reads the listing at `location` and compares the newest file matching `pattern` with
    // `version`: 1 when it is newer, 0 when there is none newer, -1 when the listing could not
    // be read within the time limit, -2 when `version` holds no version.
    int BCheckUpdate(const QUrl& location, const QString& pattern, const QString& version);

    // Downloads the newest file matching `pattern` at `location` to `localPath`, reporting to
    // `progress` with `context`. 1 when the complete file is stored there; 0 after a failure or
    // a cancel, and then there is no file at `localPath`. With `signature`, then also reads the
    // file's detached signature, published beside it under its name with ".sig" added, into
    // it: empty when the server has none.
    int BGetUpdate(const QUrl& location, const QString& pattern, const QString& localPath,
                   UpdateProgress progress, void* context, QByteArray* signature = nullptr);

private:
    Limits m_limits;
    QSslConfiguration m_tls;
    QNetworkAccessManager m_network;
    std::unique_ptr<QTemporaryDir> m_tempDir;
};

}  // namespace luma::app
