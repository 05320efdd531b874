// The main window's commands beside its buttons: find, the marked records, saving only them, and
// the file's information with its problems. They reach the operator through the context menu
// and their own keys; a hotkey the operator set on the same key wins, as the key filter claims it
// first.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>

#include "ui/main/find_dialog.h"
#include "ui/main/main_window.h"
#include "ui/main/record_list_dialog.h"
#include "ui/common/prompter.h"

namespace luma::ui {
namespace {

constexpr int kScanRecordsPerStep = 500;

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
    m_scanTimer = new QTimer(this);
    m_scanTimer->setInterval(0);
    connect(m_scanTimer, &QTimer::timeout, this, &MainWindow::ScanForProblems);
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
    const QString header =
        tr("Файл: %1\nРазмер: %2\nКодировка: %3\nЗаписей: %4     Помечено: %5\nПовреждений: %6")
            .arg(QDir::toNativeSeparators(path),
                 file.exists() ? QLocale().formattedDataSize(file.size()) : tr("файла нет на месте"),
                 FromUtf8(std::string(CharsetName(m_session.FileCharset()))))
            .arg(m_session.RecordCount())
            .arg(m_session.MarkedCount())
            .arg(m_problemScan->Problems().size());
    QVector<RecordListRow> rows;
    for (const Problem& problem : m_problemScan->Problems()) {
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

// Nothing is read here: the scan indexes its store at its first step, so the open is not slowed.
void MainWindow::FileOpened()
{
    m_damageNote.clear();
    m_problemScan.reset();
    m_scanPending = true;
    m_scanTimer->start();
}

// A store of its own over the bytes the file was read into, so that offsets are the file's.
bool MainWindow::BeginProblemScan()
{
    if (!m_scanPending) {
        return m_problemScan != nullptr;
    }
    m_scanPending = false;
    RecordStore store;
    if (store.OpenShared(m_session.Records().SharedBytes(), m_session.SourcePath(), m_session.FileCharset()) != 0) {
        return false;
    }
    m_problemScan = std::make_unique<ProblemScan>(std::move(store));
    return true;
}

void MainWindow::ScanForProblems()
{
    if (!BeginProblemScan()) {
        m_scanTimer->stop();
        return;
    }
    if (m_problemScan->Step(kScanRecordsPerStep)) {
        return;
    }
    m_scanTimer->stop();
    const std::size_t found = m_problemScan->Problems().size();
    if (found > 0) {
        m_damageNote = tr("В файле повреждения: %1 (Сведения о файле…)").arg(found);
        SetStatusLine(QString());
    }
}

// The rest of the scan at once, with the open's progress window; false when cancelled.
bool MainWindow::FinishProblemScan()
{
    if (!BeginProblemScan()) {
        return false;
    }
    bool going = true;
    while (going && !m_problemScan->Done()) {
        going = ReportProgress(tr("Поиск повреждений").toStdString(),
                               static_cast<std::uint64_t>(m_problemScan->Scanned()),
                               static_cast<std::uint64_t>(m_problemScan->Total()));
        if (going) {
            m_problemScan->Step(kScanRecordsPerStep);
        }
    }
    EndProgress();
    ScanForProblems();
    return going;
}

}  // namespace luma::ui
