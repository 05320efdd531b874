#include "ui/main/qt_prompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>

#include "ui/main/about_dialog.h"
#include "ui/common/ignore_escape.h"
#include "ui/main/go_to_dialog.h"
#include "ui/settings/settings_dialog.h"

namespace luma::ui {
namespace {

QMessageBox::StandardButton RunMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton,
                                          QMessageBox::Icon icon = QMessageBox::NoIcon)
{
    QMessageBox box(icon, QCoreApplication::applicationName(), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    IgnoreEscape ignoreEscape;
    if (buttons == (QMessageBox::Yes | QMessageBox::No)) {
        box.installEventFilter(&ignoreEscape);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> RunFileDialog(QWidget* parent, const QString& initialName,
                                     QFileDialog::AcceptMode mode)
{
    const QFileInfo initial(initialName);
    QFileDialog dialog(parent, QString(), initial.path());
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({QStringLiteral("ISO Files (*.iso)"), QStringLiteral("All Files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("iso"));
    // ".iso" alone only names the folder to start in.
    if (initial.fileName() != QLatin1String(".iso")) {
        dialog.selectFile(initial.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> QtPrompter::GetOpenFileName(QWidget* parent, const QString& initialName)
{
    return RunFileDialog(parent, initialName, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompter::GetSaveFileName(QWidget* parent, const QString& initialName)
{
    return RunFileDialog(parent, initialName, QFileDialog::AcceptSave);
}

bool QtPrompter::AskYesNo(QWidget* parent, const QString& text)
{
    return RunMessageBox(parent, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

Answer QtPrompter::AskYesNoCancel(QWidget* parent, const QString& text)
{
    switch (RunMessageBox(parent, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                          QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtPrompter::ShowMessage(QWidget* parent, const QString& text)
{
    RunMessageBox(parent, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompter::ShowError(QWidget* parent, const QString& text)
{
    RunMessageBox(parent, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
}

std::optional<int> QtPrompter::AskRecordNumber(QWidget* parent)
{
    GoToDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Number();
}

void QtPrompter::ShowAbout(QWidget* parent)
{
    AboutDialog dialog(parent);
    dialog.exec();
}

bool QtPrompter::RunSettings(SettingsDialog& dialog)
{
    return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtPrompter::GetFolder(QWidget* parent, const QString& title, const QString& folder)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, folder);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return QDir::toNativeSeparators(chosen);
}

std::optional<QFont> QtPrompter::GetFont(QWidget* parent, const QFont& initial)
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, parent);
    if (!chosen) {
        return std::nullopt;
    }
    return font;
}

}  // namespace luma::ui
