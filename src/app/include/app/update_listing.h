#pragma once
// The update location's directory listing: the index page an ordinary HTTP server (Apache,
// nginx, IIS, Python's http.server) makes of a folder.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

#include "app/update_version.h"

namespace luma::app {

// The names of the files the page links to directly inside `location` (a folder URL ending in
// "/"), in page order, each once. Links elsewhere — other hosts, ports or schemes, parent and
// sub-folders, queries — are not files of the location and are left out.
QStringList ListedFileNames(const QByteArray& page, const QUrl& location);

struct ListedInstaller {
    QString name;
    VersionNumbers version;
};

// Of the names matching `pattern` (a wildcard such as "luma*.exe", compared without regard to
// case, as Windows compares file names), the one with the highest version; of equal versions
// the first listed. Names without a readable version are passed over.
std::optional<ListedInstaller> NewestInstaller(const QStringList& names, const QString& pattern);

// The URL of the file `name` inside `location`.
QUrl FileUrl(const QUrl& location, const QString& name);

}  // namespace luma::app
