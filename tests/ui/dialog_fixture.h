#pragma once
// A main dialog over a scripted prompter and an in-memory profile, with a copy of the bundled
// sample and the temporary folder for working copies in a folder of its own. The label is
// 901 "##$aОтобрано", the results folder `results` beside the sample.

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scripted_prompter.h"
#include "platform/file_ops.h"
#include "settings/memory_profile.h"
#include "ui/main/main_window.h"

namespace luma::test {

class DialogFixture {
public:
    DialogFixture();
    ~DialogFixture();

    // Built and initialised from the profile at the first call.
    ui::MainWindow& Dialog();
    void Click(const char* button);
    // Opens the sample through the Open button.
    void OpenSample();

    QString SamplePath() const { return m_folder.filePath(QStringLiteral("sample.iso")); }
    QString ResultsFolder() const { return m_folder.filePath(QStringLiteral("results")); }
    // `folder` as the settings store it: with the platform's separator at its end.
    static std::string StoredFolder(const std::string& folder) { return folder + kFolderSeparator; }
    QStringList WorkingCopies() const;
    // The temporary folder the working copies go to.
    QString TempFolder() const { return m_folder.filePath(QStringLiteral("tmp")); }

    template <typename T = QPushButton>
    T* Control(const char* name) { return Dialog().findChild<T*>(QLatin1String(name)); }
    QString Status() { return Control<QLineEdit>("m_statusLine")->text(); }
    QString View() { return Control<QPlainTextEdit>("m_viewEdit")->toPlainText(); }
    // The indicator's picture equals `pixmap` (a null pixmap: no picture).
    bool IndicatorShows(const QPixmap& pixmap);

    ScriptedPrompter prompter;
    MemoryProfile profile;

private:
    QTemporaryDir m_folder;
    // The variables that name the temporary folder, POSIX's and Windows', as they were.
    std::vector<std::pair<const char*, QByteArray>> m_previousTempVariables;
    std::unique_ptr<ui::MainWindow> m_dialog;
};

}  // namespace luma::test
