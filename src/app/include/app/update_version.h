#pragma once
// Version numbers: the program's own and those in the names of published installers.

#include <QList>
#include <QString>
#include <QStringView>
#include <compare>
#include <optional>

namespace luma::app {

using VersionNumbers = QList<quint64>;

// The program's own version, four numbers ("0.1.0.0"), the one the About box shows.
QString BGetVersion();

// The groups of ASCII digits in a text, in order: "luma-1.0.0.3.exe" and "luma_1_0_0_3.exe"
// both give 1, 0, 0, 3. Nothing when the text holds no digit or a group too large for 64 bits.
std::optional<VersionNumbers> VersionOf(QStringView text);

// Group by group, numerically; missing groups count as 0, so 1.2 equals 1.2.0.0.
std::strong_ordering CompareVersions(const VersionNumbers& a, const VersionNumbers& b);

}  // namespace luma::app
