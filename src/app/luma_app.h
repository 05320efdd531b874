#pragma once
// The application: runs the update check, names the settings profile, and shows the main
// dialog; the program lives exactly as long as that dialog.

#include <QString>
#include <optional>

namespace luma::app {

class UpdatePrompter;

class CLUMAApp {
public:
    // `updatePrompter` asks whether to install an update the check has found.
    CLUMAApp(std::optional<QString> fileToOpen, UpdatePrompter& updatePrompter)
        : m_fileToOpen(std::move(fileToOpen)), m_updatePrompter(updatePrompter)
    {
    }

    // Start-up in order; returns when the main dialog has ended. The process's exit status.
    int InitInstance();

private:
    std::optional<QString> m_fileToOpen;
    UpdatePrompter& m_updatePrompter;
};

}  // namespace luma::app
