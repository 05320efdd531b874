#include "app/update_listing.h"

#include <QRegularExpression>
#include <QSet>

namespace luma::app {
namespace {

// Character references in attribute values: the named ones a listing uses, and numeric ones.
QString DecodeEntities(const QString& text)
{
    static const QRegularExpression reference(
        QStringLiteral("&(?:#(\\d{1,7})|#[xX]([0-9A-Fa-f]{1,6})|(amp|lt|gt|quot|apos));"));
    QString decoded;
    qsizetype done = 0;
    QRegularExpressionMatchIterator it = reference.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        decoded += QStringView(text).mid(done, match.capturedStart() - done);
        done = match.capturedEnd();
        char32_t code = 0;
        if (match.hasCaptured(1)) {
            code = match.captured(1).toUInt();
        } else if (match.hasCaptured(2)) {
            code = match.captured(2).toUInt(nullptr, 16);
        } else {
            const QString name = match.captured(3);
            code = name == QLatin1String("amp")    ? U'&'
                   : name == QLatin1String("lt")   ? U'<'
                   : name == QLatin1String("gt")   ? U'>'
                   : name == QLatin1String("quot") ? U'"'
                                                   : U'\'';
        }
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            code = 0xFFFD;
        }
        decoded += QString::fromUcs4(&code, 1);
    }
    decoded += QStringView(text).mid(done);
    return decoded;
}

// The file name a link names inside `location`, or nothing when it leads anywhere else.
std::optional<QString> FileNameInside(const QString& href, const QUrl& location)
{
    const QUrl link(href);
    if (!link.isValid() || link.hasQuery()) {
        return std::nullopt;
    }
    const QUrl target = location.resolved(link);
    if (target.scheme() != location.scheme() || target.host() != location.host() ||
        target.port(80) != location.port(80) || target.userInfo() != location.userInfo()) {
        return std::nullopt;
    }
    const QString folder = location.path(QUrl::FullyDecoded);
    const QString path = target.path(QUrl::FullyDecoded);
    if (!path.startsWith(folder)) {
        return std::nullopt;
    }
    const QString name = path.mid(folder.size());
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == u"." ||
        name == u"..") {
        return std::nullopt;
    }
    return name;
}

}  // namespace

QStringList ListedFileNames(const QByteArray& page, const QUrl& location)
{
    static const QRegularExpression anchor(
        QStringLiteral("<a\\s[^>]*?\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(page);
    QStringList names;
    QSet<QString> seen;
    QRegularExpressionMatchIterator it = anchor.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString href = match.hasCaptured(1)   ? match.captured(1)
                             : match.hasCaptured(2) ? match.captured(2)
                                                    : match.captured(3);
        const std::optional<QString> name = FileNameInside(DecodeEntities(href.trimmed()), location);
        if (name && !seen.contains(*name)) {
            seen.insert(*name);
            names.append(*name);
        }
    }
    return names;
}

std::optional<ListedInstaller> NewestInstaller(const QStringList& names, const QString& pattern)
{
    const QRegularExpression whole(QRegularExpression::wildcardToRegularExpression(pattern),
                                   QRegularExpression::CaseInsensitiveOption);
    std::optional<ListedInstaller> newest;
    for (const QString& name : names) {
        if (!whole.match(name).hasMatch()) {
            continue;
        }
        const std::optional<VersionNumbers> version = VersionOf(name);
        if (!version) {
            continue;
        }
        if (!newest || CompareVersions(*version, newest->version) > 0) {
            newest = ListedInstaller{name, *version};
        }
    }
    return newest;
}

QUrl FileUrl(const QUrl& location, const QString& name)
{
    QUrl url = location;
    url.setPath(location.path(QUrl::FullyDecoded) + name, QUrl::DecodedMode);
    return url;
}

}  // namespace luma::app
