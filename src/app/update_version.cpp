#include "app/update_version.h"

#include <algorithm>
#include <limits>

namespace luma::app {

QString BGetVersion()
{
    return QStringLiteral(LUMA_VERSION);
}

std::optional<VersionNumbers> VersionOf(QStringView text)
{
    constexpr quint64 kMax = std::numeric_limits<quint64>::max();
    VersionNumbers numbers;
    bool inGroup = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < u'0' || u > u'9') {
            inGroup = false;
            continue;
        }
        if (!inGroup) {
            numbers.append(0);
            inGroup = true;
        }
        const quint64 digit = u - u'0';
        quint64& group = numbers.last();
        if (group > (kMax - digit) / 10) {
            return std::nullopt;
        }
        group = group * 10 + digit;
    }
    if (numbers.isEmpty()) {
        return std::nullopt;
    }
    return numbers;
}

std::strong_ordering CompareVersions(const VersionNumbers& a, const VersionNumbers& b)
{
    const qsizetype groups = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < groups; ++i) {
        const quint64 left = i < a.size() ? a[i] : 0;
        const quint64 right = i < b.size() ? b[i] : 0;
        if (left != right) {
            return left <=> right;
        }
    }
    return std::strong_ordering::equal;
}

}  // namespace luma::app
