#include "app/update_check.h"

#include <QCoreApplication>
#include <QFile>
#include <optional>

#include "app/installer_signature.h"
#include "app/message_window.h"
#include "app/progress_window.h"
#include "app/run_exe.h"
#include "app/update_client.h"
#include "app/update_location.h"
#include "app/update_prompter.h"
#include "app/update_version.h"

namespace luma::app {

QString UpdateText(const char* text)
{
    return QCoreApplication::translate("UpdateCheck", text);
}

int UpdateProgressCallback(void* context, int total, int position)
{
    auto* window = static_cast<ProgressWindow*>(context);
    if (total > 0) {
        window->SetRange(0, total);
    }
    if (position > 0) {
        window->SetPos(position);
    }
    return window->CheckCancelButton() ? 1 : 0;
}

namespace {

// The operator's message when `verdict` forbids running the installer, else nothing.
std::optional<QString> Refusal(SignatureVerdict verdict)
{
    switch (verdict) {
    case SignatureVerdict::Valid:
        return std::nullopt;
    case SignatureVerdict::Missing:
        return UpdateText(kUpdateUnsignedText);
    case SignatureVerdict::Invalid:
        break;
    }
    return UpdateText(kUpdateBadSignatureText);
}

}  // namespace

void CheckForUpdate(const UpdateSource& source, UpdatePrompter& prompter)
{
    const std::optional<QUrl> location = UpdateLocation(source.server);
    if (!location) {
        return;  // no server: no check, and no network access at all
    }
    const QString pattern = QString::fromUtf16(kInstallerPattern);
    UpdateClient client(UpdateClient::Limits{}, source.tls);
    const QString version = BGetVersion();
    const QString folder = client.BGetTempPath();
    if (folder.isEmpty()) {
        return;  // nowhere safe to put the installer
    }
    const QString installer = folder + QString::fromUtf16(kInstallerName);

    if (client.BCheckUpdate(*location, pattern, version) <= 0) {
        return;
    }
    if (!prompter.AskYesNo(UpdateText(kUpdatePromptTitle),
                           UpdateText(kUpdatePromptText))) {
        return;
    }
    ProgressWindow progress(UpdateText(kUpdateProgressTitle));
    QByteArray signature;
    if (client.BGetUpdate(*location, pattern, installer, UpdateProgressCallback, &progress,
                          &signature) == 0) {
        return;
    }
    progress.DestroyWindow();
    const std::optional<QString> refusal =
        Refusal(CheckInstallerSignature(installer, signature, source.publicKeyPem));
    if (refusal) {
        // Gone before the operator reads why: nothing can start it later.
        QFile::remove(installer);
        prompter.Warn(UpdateText(kUpdateRefusedTitle), *refusal);
        return;
    }
    {
        const MessageWindow wait(UpdateText(kUpdateWaitText));
        BRunExe(installer);
        QFile::remove(installer);
    }
    // The client removes its temporary folder as it goes.
}

}  // namespace luma::app
