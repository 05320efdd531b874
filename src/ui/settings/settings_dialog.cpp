#include "ui/settings/settings_dialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "ui/settings/folders_page.h"
#include "ui/settings/filter_page.h"
#include "ui/settings/hotkey_page.h"
#include "ui/settings/hotkey_edit.h"
#include "ui/settings/settings_target.h"
#include "ui/common/dialog_units.h"

namespace luma::ui {

// Template 129; OK, Cancel and the tab control in tab order, the pages inside the tab control.
SettingsDialog::SettingsDialog(SettingsTarget& main, Prompter& prompter, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Настройка"));
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(MapDialogSize(base, 358, 226));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("m_btnOk"));
    ok->setGeometry(MapDialogRect(base, 301, 205, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("m_btnCancel"));
    cancel->setGeometry(MapDialogRect(base, 235, 205, 50, 14));
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("m_tab"));
    m_tab->setGeometry(MapDialogRect(base, 7, 7, 344, 192));

    m_hotPage = new HotkeyPage(NativeKeysOfPlatform());
    m_filterPage = new FilterPage(main);
    m_foldersPage = new FoldersPage(main, prompter);
    m_tab->addTab(m_hotPage, tr("Гор. Клав."));
    m_tab->addTab(m_filterPage, tr("Фильтр"));
    m_tab->addTab(m_foldersPage, tr("Общие"));
    ShowPage(0);

    const Settings& settings = main.CurrentSettings();
    m_hotPage->m_hkMark->SetCode(settings.hotMark);
    m_hotPage->m_hkUnmark->SetCode(settings.hotUnmark);
    m_hotPage->m_hkNext->SetCode(settings.hotNext);
    m_hotPage->m_hkPrev->SetCode(settings.hotPrev);
    m_hotPage->m_hkNextMarked->SetCode(settings.hotNextMarked);
    m_hotPage->m_hkPrevMarked->SetCode(settings.hotPrevMarked);
    m_hotPage->m_editLabelField->setText(QString::fromStdString(settings.labelField));
    m_hotPage->m_editLabelText->setText(QString::fromStdString(settings.labelText));
    m_hotPage->m_checkSetNext->setChecked(settings.advanceAfterMark);

    connect(ok, &QPushButton::clicked, this, &SettingsDialog::OnOkClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SettingsDialog::ShowPage(int index)
{
    m_tab->setCurrentIndex(index);
}

void SettingsDialog::OnOkClicked()
{
    accept();
}

// Codes are taken whole and texts as typed: nothing here is checked.
void SettingsDialog::CopyPageValues(Settings& settings) const
{
    settings.hotMark = m_hotPage->m_hkMark->Code();
    settings.hotUnmark = m_hotPage->m_hkUnmark->Code();
    settings.hotNext = m_hotPage->m_hkNext->Code();
    settings.hotPrev = m_hotPage->m_hkPrev->Code();
    settings.hotNextMarked = m_hotPage->m_hkNextMarked->Code();
    settings.hotPrevMarked = m_hotPage->m_hkPrevMarked->Code();
    settings.labelField = m_hotPage->m_editLabelField->text().toStdString();
    settings.labelText = m_hotPage->m_editLabelText->text().toStdString();
    settings.advanceAfterMark = m_hotPage->m_checkSetNext->isChecked();
    settings.sourceDir = m_foldersPage->m_editSource->text().toStdString();
    settings.resultDir = m_foldersPage->m_editResult->text().toStdString();
}

}  // namespace luma::ui
