#pragma once
// The main window: the record view, the status line, the modified indicator, the seven record
// buttons and the four command buttons. It owns the marking session and the settings, routes
// every command to the session, and shows what the session tells it to. Its four hotkeys reach
// it through an application-wide key filter, armed while the application is active.

#include <QDialog>
#include <QFont>
#include <QIcon>
#include <memory>
#include <optional>
#include <string>

#include "marking/marking_session.h"
#include "marking/session_display.h"
#include "ui/main/open_progress.h"
#include "ui/main/window_operator.h"
#include "settings/settings.h"
#include "ui/settings/settings_target.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace luma::ui {

class HotkeyFilter;
class IdleProblemScan;
class Prompter;

// The About item's command; the low four bits of a command are the platform's own.
inline constexpr unsigned kAboutCommand = 0x0010;
// Platform window commands the About check passes on.
inline constexpr unsigned kScMinimize = 0xF020;
inline constexpr unsigned kScMaximize = 0xF030;
inline constexpr unsigned kScClose = 0xF060;
inline constexpr unsigned kScRestore = 0xF120;

class MainWindow final : public QDialog, private SessionDisplay, private SettingsTarget {
    Q_OBJECT

public:
    MainWindow(Prompter& prompter, SettingsProfile& profile, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Before the dialog is shown: the About item, icons, placement, settings and font; the
    // record buttons disabled.
    void PrepareToShow();
    // Opens a file as if the operator had chosen it in the Open dialog.
    void OpenAtStart(const QString& path);
    // Offers back the unsaved work of LUMA runs that ended abnormally; true when one was restored.
    bool RecoverAtStart();

    // Commands.
    void OnOpen();
    void OnSettings();
    void OnMark();
    void OnUnmark();
    void OnFirstRecord();
    void OnPrevRecord();
    void OnNextRecord();
    void OnLastRecord();
    void OnGoToRecord();
    void OnSave();
    void Quit();
    void OnSystemCommand(unsigned id);
    void OnSize();
    // A hotkey pressed: 1 mark, 2 unmark, 3 next record, 4 previous record, 5 next and 6 previous
    // marked record; other ids nothing.
    void OnHotKey(int id);
    // The application became active (arm the hotkeys) or another one did (disarm them).
    void OnActivateApp(bool active);

    // Beside the buttons, from the context menu and their own keys: find (Ctrl+F, F3,
    // Shift+F3), the list of marked records, saving only them, and what is known of the file.
    void OnFind();
    void OnFindAgain(FindDirection direction);
    void OnMarkedList();
    void OnSaveMarked();
    void OnFileInfo();
    // "Кодировка": reads the records in the set the operator picked, when the session agrees.
    void OnCharset(Charset charset);

    // Writes every setting but the placement and applies them, after a settings OK.
    void StoreSettings();

    const MarkingSession& Session() const { return m_session; }
    const Settings& CurrentSettings() const override { return m_settings; }
    const std::optional<QFont>& ViewFont() const { return m_viewFont; }
    const HotkeyFilter& Hotkeys() const { return *m_hotkeys; }
    OpenProgress& Progress() { return m_openProgress; }

protected:
    // Esc, the close box and Alt+F4 all come here.
    void reject() override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // SessionDisplay.
    void ShowViewText(const std::string& text) override;
    void ShowStatusText(const std::string& text) override;
    void ShowStatusNote(const std::string& note) override;
    void ShowModified(ModifiedImage image) override;
    void EnableRecordButtons() override;
    void FileOpened() override;
    void ArmHotkeys() override;
    void StoreWindowPlacement() override;
    void SessionEnded() override;

    // SettingsTarget.
    std::vector<std::string> CurrentRecordTags() const override;
    void SetFilterFields(std::vector<std::string> fields) override;
    void SetUseFilter(bool useFilter) override;
    QFont CurrentViewFont() const override;
    void SetViewFont(const QFont& font) override;

    void DisarmHotkeys();
    // Whether a hotkey may run now: a file is open and no other modal window of ours is.
    bool HotkeysReady() const;

    void CreateControls();
    void ConnectCommands();
    void RestorePlacement();
    void LoadSettings();
    void ApplySettingsToSession();
    void SetRecordButtonsEnabled(bool enabled);
    void SetStatusLine(const QString& note);
    void AddOperatorCommands(QMenu& menu);
    QMenu* CreateCharsetMenu(QWidget* parent);
    // Ticks the set the session reads in.
    void ShowCharsetTick();
    // The problems of the open file, all found, with the progress window; false when cancelled.
    bool FinishProblemScan();

    Prompter& m_prompter;
    SettingsProfile& m_profile;

    QIcon m_hIcon;
    OpenProgress m_openProgress{this};
    WindowOperator m_operator;
    MarkingSession m_session;
    Settings m_settings;
    // The record view's font; nothing while it keeps the dialog's font.
    std::optional<QFont> m_viewFont;
    // The placement as read at start, for the fields Qt does not use; Windows' "none" before.
    WindowPlacement m_storedPlacement;
    QMenu* m_systemMenu = nullptr;
    QMenu* m_charsetMenu = nullptr;  // in the window's menu and the record view's
    HotkeyFilter* m_hotkeys = nullptr;
    FindQuery m_lastQuery;
    // Looked for while the window is idle; the operator is told of them in the status line.
    std::unique_ptr<IdleProblemScan> m_problems;

    QPushButton* m_btnExit = nullptr;
    QPushButton* m_btnOpen = nullptr;
    QPushButton* m_btnSettings = nullptr;
    QLineEdit* m_statusLine = nullptr;
    QString m_statusText;  // the session's status line, without notes
    QString m_damageNote;  // set while the open file has problems
    QPushButton* m_btnPrev = nullptr;
    QPushButton* m_btnMark = nullptr;
    QPushButton* m_btnUnmark = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnFirst = nullptr;
    QPushButton* m_btnGoTo = nullptr;
    QPushButton* m_btnLast = nullptr;
    QLabel* m_indicator = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPlainTextEdit* m_viewEdit = nullptr;
};

}  // namespace luma::ui
