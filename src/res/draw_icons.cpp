// Writes LUMA's pictures as the PNG files the resource file lists, and the program's .ico file;
// or the application icon at the sizes of the desktop's hicolor icon theme, for installing.
//
//   luma-draw-icons FOLDER                (src/res/icons to renew the committed files)
//   luma-draw-icons --hicolor FOLDER NAME (FOLDER/<N>x<N>/apps/NAME.png)

#include <QDir>
#include <QFile>
#include <QString>
#include <array>
#include <cstdio>
#include <cstring>

#include "res/icon_art.h"

namespace {

int DrawHicolor(const QDir& folder, const QString& name)
{
    constexpr std::array<int, 7> kSizes{16, 24, 32, 48, 64, 128, 256};
    for (const int size : kSizes) {
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        const QString path = folder.filePath(sub + QLatin1Char('/') + name + QStringLiteral(".png"));
        if (!folder.mkpath(sub) || !luma::art::AppIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "luma-draw-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--hicolor") == 0) {
        return DrawHicolor(QDir(QString::fromLocal8Bit(argv[2])), QString::fromLocal8Bit(argv[3]));
    }
    if (argc != 2) {
        std::fputs("usage: luma-draw-icons FOLDER | --hicolor FOLDER NAME\n", stderr);
        return 64;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const luma::art::Picture& picture : luma::art::AllPictures()) {
        if (!picture.image.save(folder.filePath(picture.fileName), "PNG")) {
            std::fprintf(stderr, "luma-draw-icons: cannot write %s\n",
                         qPrintable(folder.filePath(picture.fileName)));
            return 1;
        }
    }
    QFile icon(folder.filePath(QString::fromLatin1(luma::art::kIconFileName)));
    const QByteArray iconFile = luma::art::AppIconFile();
    if (!icon.open(QIODevice::WriteOnly) || icon.write(iconFile) != iconFile.size()) {
        std::fprintf(stderr, "luma-draw-icons: cannot write %s\n", qPrintable(icon.fileName()));
        return 1;
    }
    return 0;
}
