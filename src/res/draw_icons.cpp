// Writes LUMA's pictures as the PNG files the resource file lists, and the program's .ico file.
//
//   luma-draw-icons FOLDER      (src/res/icons to renew the committed files)

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>

#include "icon_art.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: luma-draw-icons FOLDER\n", stderr);
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
