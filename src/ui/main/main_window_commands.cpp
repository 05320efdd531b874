// The main window's commands beside its buttons: find, the marked records, saving only them, the
// file's information with its problems, and the character set the records are read in. They
// reach the operator through the context menu and their own keys; a hotkey the operator set on
// the same key wins, as the key filter claims it first.

#include <QAction>
#include <QActionGroup>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

#include "idle_problem_scan.h"
#include "charsets/charset.h"
#include "records/charset_detect.h"
#include "ui/main/find_dialog.h"
#include "ui/main/main_window.h"
#include "ui/main/record_list_dialog.h"
#include "ui/common/prompter.h"

namespace luma::ui {
namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

void MainWindow::AddOperatorCommands(QMenu& menu)
{
    const struct {
        const char* text;
        QKeySequence keys;
        void (MainWindow::*handler)();
    } commands[] = {
        {QT_TRANSLATE_NOOP("luma::ui::MainWindow", "Найти…"), QKeySequence(Qt::CTRL | Qt::Key_F), &MainWindow::OnFind},
        {QT_TRANSLATE_NOOP("luma::ui::MainWindow", "Помеченные записи…"), QKeySequence(), &MainWindow::OnMarkedList},
        {QT_TRANSLATE_NOOP("luma::ui::MainWindow", "Сохранить помеченные…"), QKeySequence(), &MainWindow::OnSaveMarked},
        {QT_TRANSLATE_NOOP("luma::ui::MainWindow", "Сведения о файле…"), QKeySequence(), &MainWindow::OnFileInfo},
    };
    QList<QAction*> needFile;
    for (const auto& command : commands) {
        QAction* action = menu.addAction(tr(command.text));
        action->setShortcut(command.keys);
        connect(action, &QAction::triggered, this, command.handler);
        needFile.push_back(action);
    }
    m_charsetMenu = CreateCharsetMenu(&menu);
    needFile.push_back(menu.addMenu(m_charsetMenu));
    const auto enable = [this, needFile] {
        for (QAction* action : needFile) {
            action->setEnabled(m_session.IsFileOpen());
        }
    };
    connect(&menu, &QMenu::aboutToShow, this, enable);
    // The record view keeps its own menu (copy, select all) and offers these after it.
    m_viewEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_viewEdit, &QWidget::customContextMenuRequested, this, [this, needFile, enable](const QPoint& at) {
        std::unique_ptr<QMenu> viewMenu(m_viewEdit->createStandardContextMenu());
        viewMenu->addSeparator();
        viewMenu->addActions(needFile);
        enable();
        viewMenu->exec(m_viewEdit->viewport()->mapToGlobal(at));
    });
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_F), [this] { OnFind(); }},
        {QKeySequence(Qt::Key_F3), [this] { OnFindAgain(FindDirection::Forward); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { OnFindAgain(FindDirection::Backward); }},
    };
    for (const auto& [sequence, run] : keys) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, run);
    }
#ifndef _WIN32
    // Shift+F10 opens the context menu of the focused control, as the menu key does; Windows
    // does this itself, the X11 platform does not.
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &event);
    });
#endif
    m_problems = std::make_unique<IdleProblemScan>(
        m_session,
        [this](std::size_t found) {
            if (found > 0) {
                m_damageNote = tr("В файле повреждения: %1 (Сведения о файле…)").arg(found);
                SetStatusLine(QString());
            }
        },
        this);
}

// One item a set, in the order of AllCharsets, the set read in ticked. The names are the sets'
// own, the same in every language.
QMenu* MainWindow::CreateCharsetMenu(QWidget* parent)
{
    auto* charsets = new QMenu(tr("Кодировка"), parent);
    charsets->setObjectName(QStringLiteral("m_charsetMenu"));
    auto* group = new QActionGroup(charsets);
    group->setExclusive(true);
    for (const Charset charset : AllCharsets()) {
        QAction* action = charsets->addAction(FromUtf8(std::string(CharsetName(charset))));
        action->setCheckable(true);
        action->setData(static_cast<int>(charset));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, charset] { OnCharset(charset); });
    }
    connect(charsets, &QMenu::aboutToShow, this, &MainWindow::ShowCharsetTick);
    return charsets;
}

void MainWindow::OnCharset(Charset charset)
{
    m_session.ChangeCharset(charset);
    // A refused choice leaves the tick where it was.
    ShowCharsetTick();
}

void MainWindow::ShowCharsetTick()
{
    if (!m_charsetMenu) {
        return;
    }
    for (QAction* action : m_charsetMenu->actions()) {
        action->setChecked(m_session.IsFileOpen() &&
                           action->data().toInt() == static_cast<int>(m_session.FileCharset()));
    }
}

void MainWindow::OnFind()
{
    if (!m_session.IsFileOpen()) {
        return;
    }
    FindDialog dialog(m_lastQuery, this);
    if (m_prompter.RunDialog(dialog)) {
        m_lastQuery = dialog.Query();
        m_session.Find(m_lastQuery, dialog.Direction());
    }
}

void MainWindow::OnFindAgain(FindDirection direction)
{
    if (m_lastQuery.text.empty()) {
        OnFind();
    } else {
        m_session.Find(m_lastQuery, direction);
    }
}

void MainWindow::OnMarkedList()
{
    if (!m_session.IsFileOpen()) {
        return;
    }
    QVector<RecordListRow> rows;
    for (const int record : m_session.MarkedRecords()) {
        rows.push_back({{QString::number(record + 1), FromUtf8(m_session.TitleOfRecord(record))}, record});
    }
    RecordListDialog dialog(tr("Помеченные записи"),
                         tr("Помечено записей: %1").arg(rows.size()),
                         {tr("Запись"), tr("Заглавие")}, rows, this);
    if (m_prompter.RunDialog(dialog) && dialog.Chosen()) {
        m_session.GoToRecord(*dialog.Chosen());
    }
}

void MainWindow::OnSaveMarked()
{
    m_session.OnSaveMarked();
}

void MainWindow::OnFileInfo()
{
    if (!m_session.IsFileOpen() || !FinishProblemScan()) {
        return;
    }
    const QString path = FromUtf8(m_session.SourcePath());
    const QFileInfo file(path);
    // The set and why it was taken, so that a file read wrong can be seen to be.
    const QString charset = QStringLiteral("%1 (%2)").arg(
        FromUtf8(std::string(CharsetName(m_session.FileCharset()))),
        QCoreApplication::translate("luma", EvidenceText(m_session.FileCharsetEvidence())));
    const QString header =
        tr("Файл: %1\nРазмер: %2\nКодировка: %3\nЗаписей: %4     Помечено: %5\nПовреждений: %6")
            .arg(QDir::toNativeSeparators(path),
                 file.exists() ? QLocale().formattedDataSize(file.size()) : tr("файла нет на месте"), charset)
            .arg(m_session.RecordCount())
            .arg(m_session.MarkedCount())
            .arg(m_problems->Problems().size());
    QVector<RecordListRow> rows;
    for (const Problem& problem : m_problems->Problems()) {
        const bool ofRecord = problem.record >= 0;
        rows.push_back({{ofRecord ? QString::number(problem.record + 1) : QStringLiteral("—"),
                         ofRecord ? QString::number(problem.offset) : QString(), FromUtf8(problem.message)},
                        problem.record});
    }
    RecordListDialog dialog(tr("Сведения о файле"), header,
                         {tr("Запись"), tr("Смещение"), tr("Повреждение")},
                         rows, this);
    if (m_prompter.RunDialog(dialog) && dialog.Chosen()) {
        m_session.GoToRecord(*dialog.Chosen());
    }
}

void MainWindow::FileOpened()
{
    ShowCharsetTick();
    m_damageNote.clear();
    m_problems->Restart();
}

bool MainWindow::FinishProblemScan()
{
    const std::string caption = tr("Поиск повреждений").toStdString();
    const bool finished = m_problems->Finish([&](std::size_t done, std::size_t total) {
        return m_operator.ReportProgress(caption, done, total);
    });
    m_operator.EndProgress();
    return finished;
}

}  // namespace luma::ui
