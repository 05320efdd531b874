// luma: the desktop program. Usage: luma [FILE]

#include <QApplication>
#include <QStringList>

#include "record_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LUMA"));
    QApplication::setApplicationVersion(QStringLiteral(LUMA_VERSION));

    RecordWindow window;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        window.OpenFile(arguments.at(1));
    }
    window.show();
    return QApplication::exec();
}
