#include "app/update_location.h"

#include <QSettings>
#include <QVariant>
#include <QtGlobal>

namespace luma::app {

QString ConfiguredUpdateServer()
{
    if (qEnvironmentVariableIsSet("LUMA_UPDATE_SERVER")) {
        return qEnvironmentVariable("LUMA_UPDATE_SERVER");
    }
    return QStringLiteral(LUMA_BUILT_IN_UPDATE_SERVER);
}

std::optional<QUrl> UpdateLocation(const QString& server)
{
    const QString text = server.trimmed();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) || url.host().isEmpty() ||
        !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment() ||
        (!url.path().isEmpty() && url.path() != QLatin1String("/"))) {
        qWarning("luma: the update server \"%s\" is not of the form http[s]://host[:port]; no update check",
                 qUtf8Printable(text));
        return std::nullopt;
    }
    url.setPath(QStringLiteral("/update/"));
    return url;
}

bool UpdateCheckAllowedByPolicy(const QString& policyKey)
{
#ifdef Q_OS_WIN
    // The 64-bit view, where the 64-bit package writes it.
    const QSettings policy(policyKey, QSettings::Registry64Format);
    const QVariant value = policy.value(QStringLiteral("UpdateCheck"));
    return !value.isValid() || value.toInt() != 0;
#else
    Q_UNUSED(policyKey);
    return true;
#endif
}

}  // namespace luma::app
