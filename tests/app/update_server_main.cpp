// luma-test-update-server: the test server as a program, for tests of the real window.
//
//   luma-test-update-server NAME INSTALLER [whole|slow|silent]
//
// Serves a listing of /update/ naming NAME, and the file INSTALLER as /update/NAME, whole or
// slowly (2 KB every 100 ms), with INSTALLER.sig as /update/NAME.sig when there is one; or
// accepts connections and never answers. Prints the port on the first line of standard output, then runs
// until it is ended.

#include <QCoreApplication>
#include <QFile>
#include <QUrl>
#include <cstdio>

#include "test_http_server.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fputs("usage: luma-test-update-server NAME INSTALLER [whole|slow|silent]\n", stderr);
        return 64;
    }
    QFile installer(arguments[2]);
    if (!installer.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments[2]));
        return 2;
    }
    luma::test::TestHttpServer server;
    if (!server.Start()) {
        return 2;
    }
    luma::test::TestHttpServer::Resource file;
    file.body = installer.readAll();
    if (arguments.value(3) == QLatin1String("slow")) {
        file.delivery = luma::test::TestHttpServer::Delivery::Slowly;
        file.chunkSize = 2048;
        file.intervalMs = 100;
    }
    server.SetSilent(arguments.value(3) == QLatin1String("silent"));
    server.ServeListing("/update/", {arguments[1]});
    server.Serve("/update/" + QUrl::toPercentEncoding(arguments[1]), file);
    QFile signature(arguments[2] + QStringLiteral(".sig"));
    if (signature.open(QIODevice::ReadOnly)) {
        luma::test::TestHttpServer::Resource sig;
        sig.body = signature.readAll();
        server.Serve("/update/" + QUrl::toPercentEncoding(arguments[1] + QStringLiteral(".sig")), sig);
    }
    std::printf("%u\n", static_cast<unsigned>(server.Port()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
