#include "res/resources.h"

#include <QString>

// Q_INIT_RESOURCE names a function in the global namespace.
static void InitLumaResources()
{
    Q_INIT_RESOURCE(luma);
}

namespace luma::res {
namespace {

QIcon Icon(const char* name)
{
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(name));
}

}  // namespace

void Load()
{
    InitLumaResources();
}

QIcon AppIcon()
{
    QIcon icon;
    for (const char* name : {"luma16.png", "luma32.png", "luma48.png"}) {
        icon.addFile(QStringLiteral(":/icons/") + QLatin1String(name));
    }
    return icon;
}

QIcon NextIcon() { return Icon("next.png"); }
QIcon PrevIcon() { return Icon("prev.png"); }
QIcon MarkIcon() { return Icon("mark.png"); }
QIcon UnmarkIcon() { return Icon("unmark.png"); }
QIcon LastIcon() { return Icon("last.png"); }
QIcon FirstIcon() { return Icon("first.png"); }
QIcon GoToIcon() { return Icon("goto.png"); }
QPixmap UnsavedBitmap() { return QPixmap(QStringLiteral(":/icons/unsaved.png")); }
QPixmap SavedBitmap() { return QPixmap(QStringLiteral(":/icons/saved.png")); }

}  // namespace luma::res
