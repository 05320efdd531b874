#include "test_http_server.h"

#include <QHostAddress>
#include <QPointer>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace luma::test {
namespace {

QByteArray StatusLine(int status)
{
    const char* reason = status == 200 ? "OK" : status == 404 ? "Not Found" : "Other";
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
}

// Sends `body` from `offset` on, `chunk` bytes at a time, then closes.
void SendSlowly(QTcpSocket* socket, QByteArray body, qsizetype offset, int chunk, int intervalMs)
{
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(intervalMs, socket, [guard, body, offset, chunk, intervalMs] {
        if (!guard || guard->state() != QAbstractSocket::ConnectedState) {
            return;
        }
        guard->write(body.mid(offset, chunk));
        if (offset + chunk >= body.size()) {
            guard->disconnectFromHost();
            return;
        }
        SendSlowly(guard, body, offset + chunk, chunk, intervalMs);
    });
}

}  // namespace

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent) {}

TestHttpServer::~TestHttpServer() = default;

bool TestHttpServer::Start(const std::optional<QSslConfiguration>& tls)
{
    if (tls) {
        auto* server = new QSslServer(this);
        server->setSslConfiguration(*tls);
        m_server = server;
    } else {
        m_server = new QTcpServer(this);
    }
    m_tls = tls.has_value();
    // An https connection is ready once its handshake is done.
    connect(m_server, &QTcpServer::pendingConnectionAvailable, this, &TestHttpServer::Accept);
    return m_server->listen(QHostAddress::LocalHost, 0);
}

quint16 TestHttpServer::Port() const
{
    return m_server->serverPort();
}

QString TestHttpServer::Origin() const
{
    return (m_tls ? QStringLiteral("https") : QStringLiteral("http")) + QStringLiteral("://127.0.0.1:") +
           QString::number(Port());
}

void TestHttpServer::Serve(const QByteArray& path, const Resource& resource)
{
    m_resources.insert(QByteArray::fromPercentEncoding(path), resource);
}

void TestHttpServer::ServeListing(const QByteArray& path, const QStringList& names)
{
    Resource page;
    page.body = ListingPage(names);
    page.extraHeaders = "Content-Type: text/html; charset=utf-8\r\n";
    Serve(path, page);
}

QByteArray TestHttpServer::ListingPage(const QStringList& names)
{
    QByteArray page =
        "<!DOCTYPE HTML>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Directory listing for /update/</title>\n</head>\n<body>\n"
        "<h1>Directory listing for /update/</h1>\n<hr>\n<ul>\n";
    for (const QString& name : names) {
        const QByteArray href = QUrl::toPercentEncoding(name);
        page += "<li><a href=\"" + href + "\">" + name.toHtmlEscaped().toUtf8() + "</a></li>\n";
    }
    page += "</ul>\n<hr>\n</body>\n</html>\n";
    return page;
}

void TestHttpServer::Accept()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++m_connections;
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            QByteArray& request = m_pending[socket];
            request += socket->readAll();
            if (!request.contains("\r\n\r\n")) {
                return;
            }
            const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
            request.clear();
            const QByteArray path = words.size() >= 2 ? words[1] : QByteArray();
            m_requests.append(path);
            if (!m_silent) {
                Answer(socket, path);
            }
        });
    }
}

void TestHttpServer::Answer(QTcpSocket* socket, const QByteArray& path)
{
    const auto found = m_resources.constFind(QByteArray::fromPercentEncoding(path));
    if (found == m_resources.cend()) {
        socket->write(StatusLine(404) + "Content-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    const Resource& resource = *found;
    QByteArray head = StatusLine(resource.status) + resource.extraHeaders + "Connection: close\r\n";
    if (resource.delivery != Delivery::NoLength) {
        head += "Content-Length: " + QByteArray::number(resource.body.size()) + "\r\n";
    }
    head += "\r\n";
    socket->write(head);

    const QByteArray half = resource.body.left(resource.body.size() / 2);
    switch (resource.delivery) {
    case Delivery::Whole:
    case Delivery::NoLength:
        socket->write(resource.body);
        socket->disconnectFromHost();
        break;
    case Delivery::Slowly:
        SendSlowly(socket, resource.body, 0, resource.chunkSize, resource.intervalMs);
        break;
    case Delivery::CloseMidway:
        socket->write(half);
        socket->disconnectFromHost();
        break;
    case Delivery::StallMidway:
        socket->write(half);
        break;
    }
}

}  // namespace luma::test
