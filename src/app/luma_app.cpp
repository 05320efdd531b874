#include "app/luma_app.h"

#include <QFileInfo>
#include <QTimer>
#include <QTranslator>

#include "res/resources.h"
#include "ui/common/window_font.h"
#include "ui/main/main_window.h"
#include "ui/main/qt_prompter.h"
#include "app/qt_texts.h"
#include "app/update_check.h"
#include "app/update_location.h"
#include "app/user_profile.h"

namespace luma::app {

int LumaApp::Start()
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
    ui::MainWindow dialog(prompter, *profile);
    dialog.PrepareToShow();
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
