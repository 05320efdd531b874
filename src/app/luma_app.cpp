#include "luma_app.h"

#include <QFileInfo>
#include <QTimer>
#include <QTranslator>

#include "res/resources.h"
#include "settings/qt/ini_profile.h"
#include "ui/common/window_font.h"
#include "ui/main/luma_dlg.h"
#include "ui/main/qt_prompter.h"
#include "qt_texts.h"
#include "update_check.h"
#include "update_location.h"

namespace luma::app {

int CLUMAApp::InitInstance()
{
    // The update question is the first window, so its font and texts come first.
    ui::ChooseWindowFont();
    QTranslator qtTexts;
    QTranslator lumaTexts;
    InstallTexts(LanguageOfEnvironment(), qtTexts, lumaTexts);

    if (UpdateCheckAllowedByPolicy()) {
        CheckForUpdate({ConfiguredUpdateServer(), m_updateKeyPem}, m_updatePrompter);
    }

    res::Load();

    // Under "LUMA" and the executable's name, as the registry key had them.
    const std::unique_ptr<SettingsProfile> profile = OpenUserProfile();

    ui::QtPrompter prompter;
    ui::CLUMADlg dialog(prompter, *profile);
    dialog.OnInitDialog();
    // Once the dialog shows: work left by a run that ended abnormally is offered first; the file
    // of the command line opens when none is taken up, which would otherwise ask at once
    // whether to save the work just restored.
    std::optional<QString> path;
    if (m_fileToOpen) {
        path = QFileInfo(*m_fileToOpen).absoluteFilePath();
    }
    QTimer::singleShot(0, &dialog, [&dialog, path] {
        if (!dialog.RecoverAtStart() && path) {
            dialog.OpenAtStart(*path);
        }
    });
    // However the dialog ends, the program ends with it.
    dialog.exec();
    return 0;
}

}  // namespace luma::app
