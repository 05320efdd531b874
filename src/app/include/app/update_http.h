#pragma once
// The two transfers of the update check: a small page read whole within a time limit, and a
// file stored only when it has arrived complete. Both run a local event loop, so windows stay
// responsive meanwhile, and neither follows redirects: only the address asked for counts. An
// https address is checked against the trusted authorities of `tls`.

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QSslConfiguration;

namespace luma::app {

// The body of `url`, or nothing unless the server answers 200 with the whole body, at most
// `maxSize` bytes, within `limit` counted from the start, connection included.
std::optional<QByteArray> FetchPage(QNetworkAccessManager& network, const QSslConfiguration& tls,
                                    const QUrl& url, std::chrono::milliseconds limit,
                                    qint64 maxSize);

struct DownloadLimits {
    // No byte for this long: the server is taken to have gone.
    std::chrono::milliseconds stall;
    qint64 maxSize;
    // How often `keepGoing` is asked while no data arrives.
    std::chrono::milliseconds poll{100};
};

// Called with the announced length (-1 when unknown) and the bytes stored so far, and also
// with 0, 0 now and then while nothing arrives; false stops the transfer.
using KeepGoing = std::function<bool(qint64 total, qint64 received)>;

// Stores `url` at `localPath`. True only for an answer 200 whose body arrived complete (as
// long as the length the server announced, when it announced one). Otherwise — failure,
// stall, cancel — there is no file at `localPath` afterwards, whatever was there before.
bool DownloadFile(QNetworkAccessManager& network, const QSslConfiguration& tls, const QUrl& url,
                  const QString& localPath, const DownloadLimits& limits,
                  const KeepGoing& keepGoing);

}  // namespace luma::app
