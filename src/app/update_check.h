#pragma once
// The update check start-up runs before the main window opens.

#include <QString>

namespace luma::app {

class UpdatePrompter;

// The texts the operator sees.
inline constexpr char16_t kUpdatePromptTitle[] = u"Новая версия LUMA";
inline constexpr char16_t kUpdatePromptText[] =
    u"Появилось обновление для программы 'LUMA'.\n"
    u"В процессе установки все запущенные копии 'LUMA' будут закрыты!\n\n"
    u"Устанавить сейчас?";
inline constexpr char16_t kUpdateProgressTitle[] = u"Копирование обновления";
inline constexpr char16_t kUpdateWaitText[] = u"Обновление программы. ЖДИТЕ...";

inline constexpr char16_t kInstallerName[] = u"update.exe";
inline constexpr char16_t kInstallerPattern[] = u"luma*.exe";

// Looks for a newer installer at `server` (see UpdateLocation) and, when the operator agrees,
// downloads it into a private temporary folder, runs it and deletes it. Does nothing without a
// server. Never reports a failure and never stops start-up.
void CheckForUpdate(const QString& server, UpdatePrompter& prompter);

// Reports a download's progress to the progress window `context`: a total above 0 sets the
// range, a position above 0 the position. Returns 1 once the operator has asked to cancel.
int UpdateProgressCallback(void* context, int total, int position);

}  // namespace luma::app
