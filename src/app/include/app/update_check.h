#pragma once
// The update check start-up runs before the main window opens.

#include <QSslConfiguration>
#include <QString>
#include <string_view>

namespace luma::app {

class UpdatePrompter;

// The texts the operator sees, Russian UTF-8 as written; UpdateText gives them in the
// window's language.
inline constexpr char kUpdatePromptTitle[] = QT_TRANSLATE_NOOP("UpdateCheck", "Новая версия LUMA");
inline constexpr char kUpdatePromptText[] = QT_TRANSLATE_NOOP(
    "UpdateCheck",
    "Появилось обновление для программы 'LUMA'.\n"
    "В процессе установки все запущенные копии 'LUMA' будут закрыты!\n\n"
    "Устанавить сейчас?");
inline constexpr char kUpdateProgressTitle[] = QT_TRANSLATE_NOOP("UpdateCheck", "Копирование обновления");
inline constexpr char kUpdateWaitText[] = QT_TRANSLATE_NOOP("UpdateCheck", "Обновление программы. ЖДИТЕ...");
inline constexpr char kUpdateRefusedTitle[] = QT_TRANSLATE_NOOP("UpdateCheck", "Обновление не установлено");
inline constexpr char kUpdateUnsignedText[] = QT_TRANSLATE_NOOP(
    "UpdateCheck",
    "Сервер обновлений не дал подписи к загруженному обновлению, поэтому оно не установлено "
    "и удалено. Работа продолжается в прежней версии.\n\n"
    "Сообщите об этом администратору сервера обновлений.");
inline constexpr char kUpdateBadSignatureText[] = QT_TRANSLATE_NOOP(
    "UpdateCheck",
    "Подпись загруженного обновления неверна: файл мог быть подменён. Обновление не "
    "установлено и удалено. Работа продолжается в прежней версии.\n\n"
    "Сообщите об этом администратору сервера обновлений.");

// One of the texts above in the window's language.
QString UpdateText(const char* text);

inline constexpr char16_t kInstallerName[] = u"update.exe";
inline constexpr char16_t kInstallerPattern[] = u"luma*.exe";

struct UpdateSource {
    // "http[s]://host[:port]" (see UpdateLocation); empty for no update check.
    QString server;
    // The PEM public key whose signature an installer must carry.
    std::string_view publicKeyPem;
    // Whom an https server must be certified by: the system's trusted authorities. The program
    // never changes it; only tests put a test authority of their own here.
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
};

// Looks for a newer installer at the server and, when the operator agrees, downloads it into a
// private temporary folder, runs it if it carries the key's signature, and deletes it. Does
// nothing without a server. Never stops start-up; the only failure it reports is a missing or
// wrong signature, since the operator asked for that update and it was refused for safety.
void CheckForUpdate(const UpdateSource& source, UpdatePrompter& prompter);

// Reports a download's progress to the progress window `context`: a total above 0 sets the
// range, a position above 0 the position. Returns 1 once the operator has asked to cancel.
int UpdateProgressCallback(void* context, int total, int position);

}  // namespace luma::app
