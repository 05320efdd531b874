#include "app/update_http.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslConfiguration>
#include <QTimer>
#include <memory>

namespace luma::app {
namespace {

QNetworkRequest PlainRequest(const QUrl& url, const QSslConfiguration& tls)
{
    QNetworkRequest request(url);
    request.setSslConfiguration(tls);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    // The bytes as stored, so that the announced length is the file's length.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    // Our own timers decide when to give up.
    request.setTransferTimeout(0);
    return request;
}

bool AnsweredOk(const QNetworkReply& reply)
{
    return reply.error() == QNetworkReply::NoError &&
           reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}

struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const
    {
        if (reply->isRunning()) {
            reply->abort();
        }
        delete reply;
    }
};
using ReplyPtr = std::unique_ptr<QNetworkReply, ReplyDeleter>;

}  // namespace

std::optional<QByteArray> FetchPage(QNetworkAccessManager& network, const QSslConfiguration& tls,
                                    const QUrl& url, std::chrono::milliseconds limit,
                                    qint64 maxSize)
{
    const ReplyPtr reply(network.get(PlainRequest(url, tls)));
    QByteArray body;
    bool tooLarge = false;
    {
        QEventLoop loop;
        QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
            body += reply->readAll();
            if (body.size() > maxSize) {
                tooLarge = true;
                loop.quit();
            }
        });
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(limit);
        if (!reply->isFinished()) {
            loop.exec();
        }
    }
    if (tooLarge || !reply->isFinished() || !AnsweredOk(*reply)) {
        return std::nullopt;
    }
    body += reply->readAll();
    if (body.size() > maxSize) {
        return std::nullopt;
    }
    return body;
}

bool DownloadFile(QNetworkAccessManager& network, const QSslConfiguration& tls, const QUrl& url,
                  const QString& localPath, const DownloadLimits& limits,
                  const KeepGoing& keepGoing)
{
    // A file left from an earlier attempt is not this download.
    QFile::remove(localPath);
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (!keepGoing(0, 0)) {
        return false;
    }

    const ReplyPtr reply(network.get(PlainRequest(url, tls)));
    qint64 received = 0;
    bool stopped = false;
    {
        QEventLoop loop;
        const auto stop = [&] {
            stopped = true;
            loop.quit();
        };
        QTimer stall;
        stall.setSingleShot(true);
        QObject::connect(&stall, &QTimer::timeout, &loop, stop);
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!keepGoing(0, 0)) {
                stop();
            }
        });
        const auto announced = [&] {
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            return length.isValid() ? length.toLongLong() : qint64{-1};
        };
        QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
            if (!AnsweredOk(*reply) || announced() > limits.maxSize || !keepGoing(announced(), 0)) {
                stop();
            }
        });
        QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
            if (stopped) {
                return;
            }
            stall.start(limits.stall);
            const QByteArray data = reply->readAll();
            received += data.size();
            const qint64 total = announced();
            if (received > limits.maxSize || (total >= 0 && received > total) ||
                file.write(data) != data.size() || !keepGoing(total, received)) {
                stop();
            }
        });
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        stall.start(limits.stall);
        poll.start(limits.poll);
        if (!reply->isFinished()) {
            loop.exec();
        }
    }

    if (stopped || !reply->isFinished() || !AnsweredOk(*reply)) {
        file.cancelWriting();
        return false;
    }
    const QByteArray rest = reply->readAll();
    received += rest.size();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    if (file.write(rest) != rest.size() || received > limits.maxSize ||
        (announced.isValid() && received != announced.toLongLong())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace luma::app
