#include "app/update_client.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>

#include "app/update_http.h"
#include "app/update_listing.h"
#include "app/update_version.h"

namespace luma::app {
namespace {

int ToProgress(qint64 bytes)
{
    return static_cast<int>(std::clamp<qint64>(bytes, 0, INT_MAX));
}

}  // namespace

UpdateClient::~UpdateClient() = default;

QString UpdateClient::BGetTempPath()
{
    if (!m_tempDir) {
        // Qt gives an empty path for a TMPDIR that does not exist; the folder must not then
        // land in the current or the root folder.
        const QString parent = QDir::tempPath();
        if (parent.isEmpty() || !QDir::isAbsolutePath(parent) || !QFileInfo(parent).isDir()) {
            return {};
        }
        // mkdtemp: a fresh name, mode 0700, created by this user. On Windows the user's own
        // temporary folder already keeps other users out.
        auto dir = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/luma-update-XXXXXX"));
        if (!dir->isValid()) {
            return {};
        }
        m_tempDir = std::move(dir);
    }
    return m_tempDir->path() + u'/';
}

int UpdateClient::BCheckUpdate(const QUrl& location, const QString& pattern,
                               const QString& version)
{
    const std::optional<VersionNumbers> own = VersionOf(version);
    if (!own) {
        return -2;
    }
    const std::optional<QByteArray> page =
        FetchPage(m_network, m_tls, location, m_limits.check, m_limits.maxListingSize);
    if (!page) {
        return -1;
    }
    const std::optional<ListedInstaller> newest =
        NewestInstaller(ListedFileNames(*page, location), pattern);
    return newest && CompareVersions(newest->version, *own) > 0 ? 1 : 0;
}

int UpdateClient::BGetUpdate(const QUrl& location, const QString& pattern,
                             const QString& localPath, UpdateProgress progress, void* context,
                             QByteArray* signature)
{
    if (signature) {
        signature->clear();
    }
    QFile::remove(localPath);
    const std::optional<QByteArray> page =
        FetchPage(m_network, m_tls, location, m_limits.check, m_limits.maxListingSize);
    const std::optional<ListedInstaller> newest =
        page ? NewestInstaller(ListedFileNames(*page, location), pattern) : std::nullopt;
    if (!newest) {
        return 0;
    }
    const DownloadLimits limits{m_limits.stall, m_limits.maxInstallerSize};
    const auto keepGoing = [progress, context](qint64 total, qint64 received) {
        return progress(context, ToProgress(total), ToProgress(received)) == 0;
    };
    if (!DownloadFile(m_network, m_tls, FileUrl(location, newest->name), localPath, limits,
                      keepGoing)) {
        return 0;
    }
    if (signature) {
        const QUrl signatureUrl = FileUrl(location, newest->name + QStringLiteral(".sig"));
        *signature = FetchPage(m_network, m_tls, signatureUrl, m_limits.check,
                               m_limits.maxSignatureSize)
                         .value_or(QByteArray());
    }
    return 1;
}

}  // namespace luma::app
