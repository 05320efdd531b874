#include "ui/main/main_window.h"

#include "idle_problem_scan.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <climits>
#include <utility>

#include "ui/common/dialog_units.h"
#include "ui/main/hotkey_filter.h"
#include "ui/main/main_layout.h"
#include "ui/common/prompter.h"
#include "res/resources.h"
#include "ui/settings/settings_dialog.h"
#include "ui/main/view_font.h"
#include "ui/main/window_geometry.h"

namespace luma::ui {

MainWindow::MainWindow(Prompter& prompter, SettingsProfile& profile, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_prompter(prompter),
      m_profile(profile),
      m_hIcon(res::AppIcon()),
      m_operator(prompter, *this, m_openProgress),
      m_session(m_operator, *this)
{
    m_storedPlacement.minPosition = {-1, -1};
    m_storedPlacement.maxPosition = {-1, -1};
    setWindowTitle(QStringLiteral("LUMA"));
    CreateControls();
    ConnectCommands();
    m_hotkeys = new HotkeyFilter([this] { return HotkeysReady(); }, [this](int id) { OnHotKey(id); },
                                 NativeKeysOfPlatform(), this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { OnActivateApp(state == Qt::ApplicationActive); });
}

MainWindow::~MainWindow() = default;

namespace {

QPushButton* AddButton(QWidget* parent, const DialogBaseUnits& base, QRect units, const char* name)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(MapDialogRect(base, units.x(), units.y(), units.width(), units.height()));
    return button;
}

}  // namespace

// The controls in template order, which is also the tab order, where the template puts them.
void MainWindow::CreateControls()
{
    const DialogBaseUnits base = BaseUnitsOf(font());
    resize(MapDialogSize(base, 458, 286));

    m_btnExit = AddButton(this, base, {401, 7, 50, 16}, "m_btnExit");
    m_btnExit->setText(tr("Выход"));
    m_btnExit->setDefault(true);
    m_btnOpen = AddButton(this, base, {401, 39, 50, 16}, "m_btnOpen");
    m_btnOpen->setText(tr("Открыть"));
    m_btnSettings = AddButton(this, base, {401, 71, 50, 16}, "m_btnSettings");
    m_btnSettings->setText(tr("Настройка"));

    m_statusLine = new QLineEdit(this);
    m_statusLine->setObjectName(QStringLiteral("m_statusLine"));
    m_statusLine->setReadOnly(true);
    m_statusLine->setGeometry(MapDialogRect(base, 7, 265, 444, 14));

    m_btnPrev = AddButton(this, base, {180, 259, 24, 20}, "m_btnPrev");
    m_btnMark = AddButton(this, base, {206, 259, 24, 20}, "m_btnMark");
    m_btnUnmark = AddButton(this, base, {232, 259, 24, 20}, "m_btnUnmark");
    m_btnNext = AddButton(this, base, {258, 259, 24, 20}, "m_btnNext");
    m_btnFirst = AddButton(this, base, {154, 259, 24, 20}, "m_btnFirst");
    m_btnGoTo = AddButton(this, base, {284, 259, 24, 20}, "m_btnGoTo");
    m_btnLast = AddButton(this, base, {310, 259, 24, 20}, "m_btnLast");
    m_btnPrev->setToolTip(tr("Предыдущая запись"));
    m_btnMark->setToolTip(tr("Пометить запись"));
    m_btnUnmark->setToolTip(tr("Снять пометку"));
    m_btnNext->setToolTip(tr("Следующая запись"));
    m_btnFirst->setToolTip(tr("Первая запись"));
    m_btnGoTo->setToolTip(tr("Перейти к записи с номером…"));
    m_btnLast->setToolTip(tr("Последняя запись"));

    m_indicator = new QLabel(this);
    m_indicator->setObjectName(QStringLiteral("m_indicator"));
    m_indicator->setGeometry(MapDialogRect(base, 7, 247, 15, 13));

    m_btnSave = AddButton(this, base, {401, 103, 50, 16}, "m_btnSave");
    m_btnSave->setText(tr("Сохранить"));

    m_viewEdit = new QPlainTextEdit(this);
    m_viewEdit->setObjectName(QStringLiteral("m_viewEdit"));
    m_viewEdit->setGeometry(MapDialogRect(base, 7, 7, 376, 228));
    // The operator may type into the view; nothing reads it back. Tab leaves it and Enter
    // reaches the Exit button, as in any dialog.
    m_viewEdit->setTabChangesFocus(true);
    m_viewEdit->installEventFilter(this);
}

// The message map: every command of the window and the handler that carries it out.
void MainWindow::ConnectCommands()
{
    const std::pair<QPushButton*, void (MainWindow::*)()> routes[] = {
        {m_btnOpen, &MainWindow::OnOpen},
        {m_btnSettings, &MainWindow::OnSettings},
        {m_btnPrev, &MainWindow::OnPrevRecord},
        {m_btnMark, &MainWindow::OnMark},
        {m_btnUnmark, &MainWindow::OnUnmark},
        {m_btnNext, &MainWindow::OnNextRecord},
        {m_btnExit, &MainWindow::Quit},
        {m_btnGoTo, &MainWindow::OnGoToRecord},
        {m_btnLast, &MainWindow::OnLastRecord},
        {m_btnFirst, &MainWindow::OnFirstRecord},
        {m_btnSave, &MainWindow::OnSave},
    };
    for (const auto& [button, handler] : routes) {
        connect(button, &QPushButton::clicked, this, handler);
    }
    // Without a system menu the About item lives in the window's context menu, and F1 opens it.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [this] { OnSystemCommand(kAboutCommand); });
    // Resizing reaches OnSize through resizeEvent, Esc and the close box Quit through reject.
}

void MainWindow::PrepareToShow()
{
    m_systemMenu = new QMenu(this);
    AddOperatorCommands(*m_systemMenu);
    m_systemMenu->addSeparator();
    connect(m_systemMenu->addAction(QStringLiteral("&About LUMA...")), &QAction::triggered, this,
            [this] { OnSystemCommand(kAboutCommand); });
    setWindowIcon(m_hIcon);
    RestorePlacement();

    const std::pair<QPushButton*, QIcon> images[] = {
        {m_btnPrev, res::PrevIcon()},  {m_btnNext, res::NextIcon()},   {m_btnMark, res::MarkIcon()},
        {m_btnUnmark, res::UnmarkIcon()}, {m_btnFirst, res::FirstIcon()}, {m_btnLast, res::LastIcon()},
        {m_btnGoTo, res::GoToIcon()},
    };
    for (const auto& [button, icon] : images) {
        button->setIcon(icon);
        // The 32-pixel pictures shrink only when a small dialog font makes the buttons small.
        const int side = std::min({32, button->width() - 6, button->height() - 6});
        button->setIconSize(QSize(side, side));
    }

    LoadSettings();
    SetRecordButtonsEnabled(false);
    m_btnExit->setFocus();
}

void MainWindow::OpenAtStart(const QString& path)
{
    m_operator.AnswerNextOpen(path.toStdString());
    m_session.OnOpen();
    m_operator.AnswerNextOpen(std::nullopt);
}

bool MainWindow::RecoverAtStart()
{
    return m_session.OfferRecovery();
}

void MainWindow::RestorePlacement()
{
    const std::optional<WindowPlacement> stored = LoadWindowPlacement(m_profile);
    if (!stored) {
        return;
    }
    m_storedPlacement = *stored;
    ApplyPlacement(*this, ToQt(*stored), PlacementCoversFrame());
}

void MainWindow::LoadSettings()
{
    m_settings = luma::LoadSettings(m_profile);
    ApplySettingsToSession();
    if (m_settings.viewFont) {
        m_viewFont = ToQFont(*m_settings.viewFont, font());
        m_viewEdit->setFont(*m_viewFont);
    }
}

void MainWindow::StoreSettings()
{
    if (m_viewFont) {
        m_viewEdit->setFont(*m_viewFont);
        LogFont newFont;
        newFont.charSet = 1;  // DEFAULT_CHARSET
        m_settings.viewFont = FromQFont(*m_viewFont, m_settings.viewFont.value_or(newFont), font());
    }
    // As before, a profile that cannot be written keeps its earlier values without a word.
    luma::StoreSettings(m_settings, m_profile);
    m_profile.Flush();
    ApplySettingsToSession();
}

void MainWindow::ApplySettingsToSession()
{
    m_session.SetLabel(m_settings.labelField, m_settings.labelText);
    m_session.SetAdvanceAfterMark(m_settings.advanceAfterMark);
    m_session.SetFilter(m_settings.useFilter, m_settings.filterFields);
    m_session.SetFolders(m_settings.sourceDir, m_settings.resultDir);
}

void MainWindow::SetRecordButtonsEnabled(bool enabled)
{
    for (QPushButton* button : {m_btnPrev, m_btnNext, m_btnMark, m_btnUnmark, m_btnFirst, m_btnLast, m_btnGoTo}) {
        button->setEnabled(enabled);
    }
}

void MainWindow::OnOpen() { m_session.OnOpen(); }
void MainWindow::OnMark() { m_session.OnMark(); }
void MainWindow::OnUnmark() { m_session.OnUnmark(); }
void MainWindow::OnFirstRecord() { m_session.OnFirstRecord(); }
void MainWindow::OnPrevRecord() { m_session.OnPrevRecord(); }
void MainWindow::OnNextRecord() { m_session.OnNextRecord(); }
void MainWindow::OnLastRecord() { m_session.OnLastRecord(); }
void MainWindow::OnSave() { m_session.OnSave(); }
void MainWindow::Quit() { m_session.Quit(); }

// The hotkeys are free while the settings dialog is open, so that its page can take them.
void MainWindow::OnSettings()
{
    SettingsDialog dialog(*this, m_prompter, this);
    DisarmHotkeys();
    if (m_prompter.RunSettings(dialog)) {
        dialog.CopyPageValues(m_settings);
        StoreSettings();
    } else if (m_viewFont) {
        // A font chosen before Cancel stays in effect, as filter changes do, until the next OK
        // stores it or the program ends.
        m_viewEdit->setFont(*m_viewFont);
    }
    ArmHotkeys();
    m_session.RenderRecord();
}

void MainWindow::OnHotKey(int id)
{
    switch (id) {
    case kHotkeyMark:
        OnMark();
        break;
    case kHotkeyUnmark:
        OnUnmark();
        break;
    case kHotkeyNext:
        OnNextRecord();
        break;
    case kHotkeyPrev:
        OnPrevRecord();
        break;
    case kHotkeyNextMarked:
        m_session.OnNextMarked();
        break;
    case kHotkeyPrevMarked:
        m_session.OnPrevMarked();
        break;
    default:
        break;
    }
}

void MainWindow::OnActivateApp(bool active)
{
    if (active) {
        ArmHotkeys();
    } else {
        DisarmHotkeys();
    }
}

// Arming again takes the codes as they are now, so each hotkey answers to its current code.
void MainWindow::ArmHotkeys()
{
    m_hotkeys->Arm({m_settings.hotMark, m_settings.hotUnmark, m_settings.hotNext, m_settings.hotPrev,
                    m_settings.hotNextMarked, m_settings.hotPrevMarked});
}

void MainWindow::DisarmHotkeys()
{
    m_hotkeys->Disarm();
}

// Before a file is open there is nothing to run a hotkey on, and under a modal window of ours
// (a question, a file dialog) the commands would run beneath it on half-done work: the keys
// then do what they do anywhere else.
bool MainWindow::HotkeysReady() const
{
    const QWidget* modal = QApplication::activeModalWidget();
    return m_session.IsFileOpen() && (modal == nullptr || modal == this);
}

std::vector<std::string> MainWindow::CurrentRecordTags() const
{
    return m_session.CurrentRecordTags();
}

void MainWindow::SetFilterFields(std::vector<std::string> fields)
{
    m_settings.filterFields = std::move(fields);
    m_session.SetFilter(m_settings.useFilter, m_settings.filterFields);
}

void MainWindow::SetUseFilter(bool useFilter)
{
    m_settings.useFilter = useFilter;
    m_session.SetFilter(m_settings.useFilter, m_settings.filterFields);
}

QFont MainWindow::CurrentViewFont() const
{
    return m_viewFont.value_or(m_viewEdit->font());
}

void MainWindow::SetViewFont(const QFont& font)
{
    m_viewFont = font;
}

void MainWindow::OnGoToRecord()
{
    if (const std::optional<int> number = m_prompter.AskRecordNumber(this)) {
        m_session.GoToRecord(static_cast<int>(std::max<long long>(INT_MIN, *number - 1LL)));
    } else {
        m_session.RenderRecord();
    }
}

void MainWindow::OnSystemCommand(unsigned id)
{
    switch (id & 0xFFF0) {
    case kAboutCommand:
        m_prompter.ShowAbout(this);
        break;
    case kScClose:
        close();
        break;
    case kScMinimize:
        showMinimized();
        break;
    case kScMaximize:
        showMaximized();
        break;
    case kScRestore:
        showNormal();
        break;
    default:
        break;
    }
}

void MainWindow::OnSize()
{
    const MainLayout layout =
        LayOutMainDialog(size(), m_btnLast->size(), m_btnExit->size(), m_indicator->size());
    m_viewEdit->setGeometry(layout.view);
    m_indicator->setGeometry(layout.indicator);
    m_statusLine->setGeometry(layout.status);
    QPushButton* recordButtons[] = {m_btnLast, m_btnGoTo, m_btnNext, m_btnUnmark, m_btnMark, m_btnPrev, m_btnFirst};
    for (std::size_t i = 0; i < layout.recordButtons.size(); ++i) {
        recordButtons[i]->setGeometry(layout.recordButtons[i]);
    }
    QPushButton* commandButtons[] = {m_btnExit, m_btnOpen, m_btnSettings, m_btnSave};
    for (std::size_t i = 0; i < layout.commandButtons.size(); ++i) {
        commandButtons[i]->setGeometry(layout.commandButtons[i]);
    }
    update();
}

void MainWindow::reject()
{
    Quit();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    OnSize();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_systemMenu) {
        m_systemMenu->exec(event->globalPos());
    }
}

// Enter in the record view goes to the default button, as a multi-line edit in a dialog that
// does not want Enter for itself passes it on.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            m_btnExit->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace luma::ui
