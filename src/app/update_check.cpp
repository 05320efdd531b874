#include "update_check.h"

#include <QFile>
#include <optional>

#include "msg_window.h"
#include "prog_window.h"
#include "run_exe.h"
#include "update_client.h"
#include "update_location.h"
#include "update_prompter.h"
#include "update_version.h"

namespace luma::app {

int UpdateProgressCallback(void* context, int total, int position)
{
    auto* window = static_cast<BProgWindow*>(context);
    if (total > 0) {
        window->SetRange(0, total);
    }
    if (position > 0) {
        window->SetPos(position);
    }
    return window->CheckCancelButton() ? 1 : 0;
}

void CheckForUpdate(const QString& server, UpdatePrompter& prompter)
{
    const std::optional<QUrl> location = UpdateLocation(server);
    if (!location) {
        return;  // no server: no check, and no network access at all
    }
    const QString pattern = QString::fromUtf16(kInstallerPattern);
    UpdateClient client;
    const QString version = BGetVersion();
    const QString folder = client.BGetTempPath();
    if (folder.isEmpty()) {
        return;  // nowhere safe to put the installer
    }
    const QString installer = folder + QString::fromUtf16(kInstallerName);

    if (client.BCheckUpdate(*location, pattern, version) <= 0) {
        return;
    }
    if (!prompter.AskYesNo(QString::fromUtf16(kUpdatePromptTitle),
                           QString::fromUtf16(kUpdatePromptText))) {
        return;
    }
    BProgWindow progress(QString::fromUtf16(kUpdateProgressTitle));
    if (client.BGetUpdate(*location, pattern, installer, UpdateProgressCallback, &progress) == 0) {
        return;
    }
    progress.DestroyWindow();
    {
        const BMsg wait(QString::fromUtf16(kUpdateWaitText));
        BRunExe(installer);
        QFile::remove(installer);
    }
    // The client removes its temporary folder as it goes.
}

}  // namespace luma::app
