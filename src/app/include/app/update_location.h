#pragma once
// Where the update check looks: the configured server followed by "/update/"; and whether the
// machine's policy lets it look at all.

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

// Where a site's IT department turns the start-up update check off, since it rolls out new
// versions itself: UpdateCheck = 0 (a DWORD) in this key, which the MSI package writes.
inline constexpr char kUpdatePolicyKey[] = "HKEY_LOCAL_MACHINE\\Software\\Policies\\LUMA";

// False when the policy in `policyKey` turns the update check off, whatever server is
// configured; true without such a policy. Only Windows has the policy.
bool UpdateCheckAllowedByPolicy(const QString& policyKey = QLatin1String(kUpdatePolicyKey));

}  // namespace luma::app
