// The pictures compiled into the program are the ones the drawing code makes.

#include <QFile>
#include <QImage>
#include <QTest>

#include "res/icon_art.h"
#include "res/resources.h"

class ResourcesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theCommittedPicturesAreWhatTheCodeDraws()
    {
        luma::res::Load();
        for (const luma::art::Picture& picture : luma::art::AllPictures()) {
            const QImage committed(QStringLiteral(":/icons/") + picture.fileName);
            QVERIFY2(committed.convertToFormat(QImage::Format_ARGB32) == picture.image,
                     qPrintable(picture.fileName + QStringLiteral(" differs: run luma-draw-icons src/res/icons")));
        }
        QCOMPARE(luma::res::UnsavedBitmap().size(), QSize(21, 20));
        QCOMPARE(luma::res::SavedBitmap().size(), QSize(23, 23));

    }

    // The .ico file of the Windows executable: each entry's size and picture (PNG encoders
    // may differ in bytes, not in pixels).
    void theCommittedIconFileIsWhatTheCodeDraws()
    {
        QFile file(QString::fromUtf8(LUMA_ICONS_DIR "/") + QLatin1String(luma::art::kIconFileName));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray committed = file.readAll();
        const QByteArray drawn = luma::art::AppIconFile();
        const auto number = [](const QByteArray& bytes, qsizetype at, int size) {
            quint32 value = 0;
            for (int i = size - 1; i >= 0; --i) {
                value = (value << 8) | static_cast<quint8>(bytes.at(at + i));
            }
            return value;
        };
        QCOMPARE(committed.left(6), drawn.left(6));
        const quint32 count = number(committed, 4, 2);
        QCOMPARE(count, 3u);
        for (quint32 i = 0; i < count; ++i) {
            const qsizetype entry = 6 + 16 * static_cast<qsizetype>(i);
            QCOMPARE(committed.mid(entry, 8), drawn.mid(entry, 8));  // size, planes, depth
            const auto image = [&](const QByteArray& ico) {
                return QImage::fromData(ico.mid(number(ico, entry + 12, 4), number(ico, entry + 8, 4)))
                    .convertToFormat(QImage::Format_ARGB32);
            };
            QVERIFY2(!image(committed).isNull() && image(committed) == image(drawn),
                     "luma.ico differs: run luma-draw-icons src/res/icons");
        }
    }
};

QTEST_MAIN(ResourcesTest)
#include "resources_test.moc"
