#pragma once
// Where the update check looks: the configured server followed by "/update/".

#include <QString>
#include <QUrl>
#include <optional>

namespace luma::app {

// The update server, "http[s]://host[:port]": the environment variable LUMA_UPDATE_SERVER when it
// is set (even to nothing), else the one the program was built with (often none).
QString ConfiguredUpdateServer();

// The update location on `server`, or nothing when no server is given or it is not of the form
// "http://host[:port]" or "https://host[:port]" (a trailing "/" is allowed); a malformed one is
// reported on stderr.
std::optional<QUrl> UpdateLocation(const QString& server);

}  // namespace luma::app
