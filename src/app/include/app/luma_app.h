#pragma once
// The application: runs the update check, names the settings profile, and shows the main
// dialog; the program lives exactly as long as that dialog.

#include <QString>
#include <optional>
#include <string_view>

namespace luma::app {

class UpdatePrompter;

class LumaApp {
public:
    // `updatePrompter` asks whether to install an update the check has found; an update must
    // carry the signature of the PEM public key `updateKeyPem`.
    LumaApp(std::optional<QString> fileToOpen, UpdatePrompter& updatePrompter,
             std::string_view updateKeyPem)
        : m_fileToOpen(std::move(fileToOpen)), m_updatePrompter(updatePrompter),
          m_updateKeyPem(updateKeyPem)
    {
    }

    // Start-up in order; returns when the main dialog has ended. The process's exit status.
    int Start();

private:
    std::optional<QString> m_fileToOpen;
    UpdatePrompter& m_updatePrompter;
    std::string_view m_updateKeyPem;
};

}  // namespace luma::app
