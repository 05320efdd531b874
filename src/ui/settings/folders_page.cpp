#include "ui/settings/folders_page.h"

#include <QLineEdit>
#include <QPushButton>

#include "ui/settings/settings_target.h"
#include "ui/common/prompter.h"

namespace luma::ui {

// Template 139; the controls are created in tab order.
FoldersPage::FoldersPage(SettingsTarget& main, Prompter& prompter, QWidget* parent)
    : SettingsPage(parent), m_pMain(main), m_prompter(prompter)
{
    m_editSource = Place(new QLineEdit(this), 7, 18, 212, 15);
    m_editSource->setObjectName(QStringLiteral("m_editSource"));
    AddLabel(tr("Исходные"), 7, 7, 91, 8);
    m_editResult = Place(new QLineEdit(this), 7, 49, 212, 16);
    m_editResult->setObjectName(QStringLiteral("m_editResult"));
    AddLabel(tr("Результаты"), 7, 38, 91, 8);
    auto* browseSource = Place(new QPushButton(QStringLiteral("..."), this), 222, 18, 21, 14);
    browseSource->setObjectName(QStringLiteral("m_btnBrowseSource"));
    auto* browseResult = Place(new QPushButton(QStringLiteral("..."), this), 222, 50, 21, 14);
    browseResult->setObjectName(QStringLiteral("m_btnBrowseResult"));
    auto* chooseFont = Place(new QPushButton(tr("Шрифт"), this), 7, 97, 47, 14);
    chooseFont->setObjectName(QStringLiteral("m_btnFont"));

    const Settings& settings = main.CurrentSettings();
    m_editSource->setText(QString::fromStdString(settings.sourceDir));
    m_editResult->setText(QString::fromStdString(settings.resultDir));

    connect(browseSource, &QPushButton::clicked, this, &FoldersPage::OnBrowseSourceClicked);
    connect(browseResult, &QPushButton::clicked, this, &FoldersPage::OnBrowseResultClicked);
    connect(chooseFont, &QPushButton::clicked, this, &FoldersPage::OnFontClicked);
}

void FoldersPage::OnBrowseSourceClicked()
{
    Browse(m_editSource, tr("Исходная директория"));
}

void FoldersPage::OnBrowseResultClicked()
{
    Browse(m_editResult, tr("Целевая директория"));
}

void FoldersPage::Browse(QLineEdit* edit, const QString& title)
{
    const std::optional<QString> folder = m_prompter.GetFolder(this, title, edit->text());
    if (folder && !folder->isEmpty()) {
        edit->setText(*folder);
    }
}

// The font is a value: the main window takes a copy, and nothing here or there can be left
// pointing at a font that was let go.
void FoldersPage::OnFontClicked()
{
    if (const std::optional<QFont> font = m_prompter.GetFont(this, m_pMain.CurrentViewFont())) {
        m_pMain.SetViewFont(*font);
    }
}

}  // namespace luma::ui
