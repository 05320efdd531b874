#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the update tests. Each path is served in a way of
// the test's choosing: whole, slowly, cut off midway, stalled, or not at all.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <optional>

class QTcpServer;
class QTcpSocket;

namespace luma::test {

class TestHttpServer final : public QObject {
    Q_OBJECT

public:
    enum class Delivery {
        Whole,        // Content-Length, the body, then the connection is closed
        NoLength,     // no Content-Length: the body ends when the connection closes
        Slowly,       // Content-Length, then `chunkSize` bytes every `intervalMs`
        CloseMidway,  // Content-Length, half the body, then the connection is closed
        StallMidway,  // Content-Length, half the body, then nothing more, connection kept
    };

    struct Resource {
        QByteArray body;
        Delivery delivery = Delivery::Whole;
        int status = 200;
        QByteArray extraHeaders;  // complete lines, each ending in "\r\n"
        int chunkSize = 1024;
        int intervalMs = 50;
    };

    explicit TestHttpServer(QObject* parent = nullptr);
    ~TestHttpServer() override;

    // Listens on 127.0.0.1 at a free port; with `tls`, speaks https with its certificate.
    bool Start(const std::optional<QSslConfiguration>& tls = std::nullopt);
    quint16 Port() const;
    // "http://127.0.0.1:PORT", or https.
    QString Origin() const;

    // `path` as sent or percent-decoded: requests are matched decoded, as servers do.
    void Serve(const QByteArray& path, const Resource& resource);
    // An index page like Python's http.server makes, linking each name.
    void ServeListing(const QByteArray& path, const QStringList& names);
    // Accepts connections and reads requests but never answers.
    void SetSilent(bool silent) { m_silent = silent; }

    int Connections() const { return m_connections; }
    // The paths asked for, in order, as sent.
    const QList<QByteArray>& Requests() const { return m_requests; }
    int RequestsFor(const QByteArray& path) const { return static_cast<int>(m_requests.count(path)); }

    static QByteArray ListingPage(const QStringList& names);

private:
    void Accept();
    void Answer(QTcpSocket* socket, const QByteArray& path);

    QTcpServer* m_server = nullptr;
    bool m_tls = false;
    QHash<QByteArray, Resource> m_resources;
    QHash<QObject*, QByteArray> m_pending;
    QList<QByteArray> m_requests;
    int m_connections = 0;
    bool m_silent = false;
};

}  // namespace luma::test
