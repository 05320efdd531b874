// The pictures compiled into the program are the ones the drawing code makes.

#include <QImage>
#include <QTest>

#include "icon_art.h"
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
};

QTEST_MAIN(ResourcesTest)
#include "resources_test.moc"
