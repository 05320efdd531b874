#include "ui/main/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "ui/common/dialog_units.h"
#include "res/resources.h"

namespace luma::ui {

QString AboutVersionText()
{
    return QStringLiteral("LUMA Version " LUMA_VERSION);
}

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("About LUMA"));
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(MapDialogSize(base, 235, 55));

    auto* icon = new QLabel(this);
    const QRect iconRect = MapDialogRect(base, 11, 17, 20, 20);
    icon->setGeometry(QRect(iconRect.topLeft(), QSize(32, 32)));
    icon->setPixmap(res::AppIcon().pixmap(32, 32));
    auto* version = new QLabel(AboutVersionText(), this);
    version->setTextFormat(Qt::PlainText);
    QRect versionRect = MapDialogRect(base, 40, 10, 119, 8);
    versionRect.setHeight(std::max(versionRect.height(), version->sizeHint().height()));
    version->setGeometry(versionRect);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(MapDialogRect(base, 178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

}  // namespace luma::ui
