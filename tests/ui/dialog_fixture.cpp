#include "dialog_fixture.h"

#include <QDir>
#include <QFile>

namespace luma::test {

DialogFixture::DialogFixture()
{
    QDir(m_folder.path()).mkpath(QStringLiteral("results"));
    QDir(m_folder.path()).mkpath(QStringLiteral("tmp"));
    QFile::copy(QStringLiteral(LUMA_SAMPLE), SamplePath());
    for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
        m_previousTempVariables.emplace_back(name, qgetenv(name));
        qputenv(name, QDir::toNativeSeparators(TempFolder()).toLocal8Bit());
    }
    profile.PutString("HOTDLG", "FIELDNAME", "901");
    profile.PutString("HOTDLG", "FIELDTEXT", "##$aОтобрано");
    profile.PutString("SFILEDLG", "RESULTDIR", ResultsFolder().toStdString());
}

DialogFixture::~DialogFixture()
{
    m_dialog.reset();
    for (const auto& [name, value] : m_previousTempVariables) {
        qputenv(name, value);
    }
}

ui::MainWindow& DialogFixture::Dialog()
{
    if (!m_dialog) {
        m_dialog = std::make_unique<ui::MainWindow>(prompter, profile);
        m_dialog->PrepareToShow();
        m_dialog->show();
    }
    return *m_dialog;
}

void DialogFixture::Click(const char* button)
{
    QTest::mouseClick(Control(button), Qt::LeftButton);
}

void DialogFixture::OpenSample()
{
    prompter.openPaths.push_back(SamplePath());
    Click("m_btnOpen");
}

QStringList DialogFixture::WorkingCopies() const
{
    // The notes and the copies of the source beside the working copies are not working copies.
    QStringList copies =
        QDir(m_folder.filePath(QStringLiteral("tmp"))).entryList({QStringLiteral("NEW*")}, QDir::Files);
    copies.removeIf([](const QString& name) {
        return name.endsWith(QLatin1String(".luma")) || name.endsWith(QLatin1String(".iso"));
    });
    return copies;
}

bool DialogFixture::IndicatorShows(const QPixmap& pixmap)
{
    const QPixmap shown = Control<QLabel>("m_indicator")->pixmap();
    return shown.isNull() ? pixmap.isNull() : shown.toImage() == pixmap.toImage();
}

}  // namespace luma::test
