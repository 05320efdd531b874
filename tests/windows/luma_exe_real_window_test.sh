#!/bin/sh
# luma.exe as a Windows operator meets it, under Wine in a real X window (run under xvfb-run),
# in a fresh Wine prefix with a Russian locale (ANSI code page 1251):
#   1. the installer installs silently (/S): the programs, the Start-menu shortcut, the entry in
#      Add/Remove Programs;
#      With a certificate, the installed programs and the uninstaller carry valid signatures;
#   2. luma.exe opens a Cyrillic-named file given on its command line, and its status line says
#      so; the mark hotkey set in the registry profile marks records 1 and 2; Esc, Yes and the
#      proposed name in the results folder save a results file that equals what the Linux
#      luma-cli writes for the same marks; the settings and MAIN\POS are in the registry
#      afterwards, POS as REG_BINARY; a Latin-named file's status line names it as well;
#   3. the update check finds a newer installer on a local HTTP server, downloads and runs it;
#   4. the uninstaller removes what was installed.
# Screenshots of each step are kept. Exit 77 (skipped) when a tool is missing. Nothing is typed
# as text (keys only) and every step waits, within a bound, for the state it needs.
#
#   luma_exe_real_window_test.sh SETUP_EXE NEWER_SETUP_EXE NEWER_VERSION LINUX_LUMA_CLI SAMPLE SHOTS [CA_PEM TSA_PEM]
set -u
setup=$1 newer_setup=$2 newer_version=$3 cli=$4 sample=$5 shots=$6 ca=${7:-} tsa=${8:-}

for tool in wine wineserver xdotool xclip import localedef python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done
[ -x "$cli" ] || { echo "skipped: no Linux luma-cli to compare with"; exit 77; }

here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_steps.sh"

# There is no window manager: Wine's windows take the focus directly, as focus_window gives it.

# Wine's native file dialog has no name of its own: the visible window of luma.exe without one.
# A window that goes away while it is looked at (getwindowname fails) is not it.
nameless_window() {
    for candidate in $(xdotool search --onlyvisible --class '^luma\.exe$' 2>/dev/null); do
        name=$(xdotool getwindowname "$candidate" 2>/dev/null) || continue
        [ -z "$name" ] && echo "$candidate" && return
    done
}

# Waits up to $2 seconds for the process $1 to end; its status goes into $status.
wait_end() {
    wait_for "! kill -0 $1 2>/dev/null" "$2" || return 1
    wait "$1"
    status=$?
}

gone() {
    wait_for "[ -z \"\$(xdotool search --onlyvisible --name '$1' 2>/dev/null)\" ]" "${2:-30}"
}

# A Russian Windows: the locale gives Wine its ANSI code page and the language of its dialogs.
mkdir -p "$work/locale"
localedef -i ru_RU -f UTF-8 "$work/locale/ru_RU.UTF-8" 2>/dev/null ||
    { echo "skipped: cannot build the ru_RU.UTF-8 locale"; exit 77; }
export LOCPATH="$work/locale" LC_ALL=ru_RU.UTF-8
unset QT_QPA_PLATFORM
timeout 300 wineboot -i >/dev/null 2>&1 || fail "wineboot failed"

# 1. Silent install.
timeout 300 wine "$(winepath -w "$setup")" /S >/dev/null 2>&1 || fail "the installer ended with status $?"
program_dir="$WINEPREFIX/drive_c/Program Files/LUMA"
for file in luma.exe luma-cli.exe uninstall.exe; do
    [ -f "$program_dir/$file" ] || fail "the installer put no $file into Program Files"
    if [ -n "$ca" ]; then
        osslsigncode verify -CAfile "$ca" -TSA-CAfile "$tsa" -in "$program_dir/$file" >/dev/null 2>&1 ||
            fail "the installed $file carries no valid signature"
    fi
done
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/LUMA.lnk" ] ||
    fail "no Start-menu shortcut"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\LUMA'
reg_query "$uninstall_key" /v UninstallString | grep -q 'uninstall.exe' ||
    fail "no entry in Add/Remove Programs"

# 2. The operator's profile: F2 marks (and steps on); the label; the results folder.
label_text='##$aОтобрано в Windows'
profile='HKCU\Software\LUMA\luma'
mkdir -p "$work/results" "$work/source"
source_file="$work/source/Каталог.iso"
cp "$sample" "$source_file"
wine reg add "$profile\\HOTDLG" /v HOTSET /t REG_DWORD /d 113 /f >/dev/null 2>&1
wine reg add "$profile\\HOTDLG" /v FIELDNAME /t REG_SZ /d 902 /f >/dev/null 2>&1
wine reg add "$profile\\HOTDLG" /v FIELDTEXT /t REG_SZ /d "$label_text" /f >/dev/null 2>&1
wine reg add "$profile\\SFILEDLG" /v RESULTDIR /t REG_SZ /d "$(winepath -w "$work/results")\\" /f >/dev/null 2>&1

luma_exe="C:\\Program Files\\LUMA\\luma.exe"
wine "$luma_exe" "$(winepath -w "$source_file")" >"$work/luma.log" 2>&1 &
luma_pid=$!
focus_window '^LUMA$' 120
import -window root "$shots/1-opened.png"

temp_dir=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
[ -d "$temp_dir" ] || fail "no temporary folder: $temp_dir"
# The most labels any file in the temporary folder holds: the working copy's.
working_marks() {
    best=0
    for f in "$temp_dir"/*; do
        [ -f "$f" ] || continue
        n=$("$cli" count "$f" --label 902 "$label_text" 2>/dev/null | sed -n 's/^marked: //p')
        [ -n "$n" ] && [ "$n" -gt "$best" ] && best=$n
    done
    echo "$best"
}
base_marks=$("$cli" count "$sample" --label 902 "$label_text" | sed -n 's/^marked: //p')
# The window shows before the file opens: a key pressed in between does nothing. The working
# copy (NEW*.tmp) appears while the file opens, so a key pressed from then on waits its turn.
wait_for "[ -n \"\$(ls '$temp_dir' | grep -i '^NEW.*\\.tmp\$')\" ]" 60 || fail "the file never opened"
# A window can take the focus before it takes keys: F2 is pressed again only while the marks
# it should have made are missing, so a slow window is never marked past record 2.
mark_until() {
    for try in 1 2 3; do
        [ "$(working_marks)" -ge "$1" ] && return 0
        xdotool key F2
        wait_for "[ \$(working_marks) -ge $1 ]" 15 && return 0
    done
    return 1
}
wait_for_status_line "^Файл: Каталог  *Всего записей: 6  *Текущая: 1  *Помечено: $base_marks\$" 60
mark_until $((base_marks + 1)) || fail "F2 marked nothing"
mark_until $((base_marks + 2)) || fail "the second F2 marked nothing"
wait_for_status_line "^Файл: Каталог  *Всего записей: 6  *Текущая: 3  *Помечено: $((base_marks + 2))\$" 30
import -window root "$shots/2-marked.png"

# Esc, then Yes to "Сохранить?" (the box is named after the program), then the save dialog.
# A window can take the focus before it takes keys: a key that changed nothing is pressed again.
question_shown() {
    [ -n "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null)" ]
}
press_until Escape question_shown 10 || fail "Esc asked nothing"
focus_window '^luma$' 30
import -window root "$shots/3-save-question.png"
press_until Return '[ -n "$(nameless_window)" ]' 10 || fail "no save dialog"
xdotool windowfocus --sync "$(nameless_window)"
import -window root "$shots/4-save-dialog.png"
# The name box holds the proposed name: the source's name in the results folder.
results_file="$work/results/Каталог.iso"
press_until Return "! kill -0 $luma_pid 2>/dev/null" 20 || fail "luma.exe did not end after the save"
wait_end "$luma_pid" 10 || fail "luma.exe did not end after the save"
luma_pid=""
[ "$status" -eq 0 ] || fail "luma.exe ended with status $status"
[ -f "$results_file" ] || fail "no results file under the proposed name"

"$cli" mark "$sample" --label 902 "$label_text" --records 1,2 --output "$work/linux.iso" >/dev/null ||
    fail "luma-cli mark failed"
cmp "$results_file" "$work/linux.iso" || fail "the results file differs from luma-cli's"

reg_query "$profile\\MAIN" /v POS | grep -q 'REG_BINARY' || fail "no MAIN\\POS as REG_BINARY"
reg_query "$profile\\HOTDLG" /v HOTSET | grep -qi '0x71' || fail "HOTSET changed"

# A file with a Latin name, as most are, with blanks and a per cent sign.
cp "$sample" "$work/source/sample 100%.iso"
wine "$luma_exe" "$(winepath -w "$work/source/sample 100%.iso")" >"$work/luma.log" 2>&1 &
luma_pid=$!
focus_window '^LUMA$' 120
wait_for_status_line '^Файл: sample 100%  *Всего записей: 6  *Текущая: 1  *Помечено: ' 60
import -window root "$shots/2-latin-name.png"
press_until Escape "! kill -0 $luma_pid 2>/dev/null" 10 || fail "luma.exe did not end on Esc"
luma_pid=""

# 3. The update check: a newer installer on a local HTTP server is downloaded and run.
mkdir -p "$work/server/update"
cp "$newer_setup" "$work/server/update/luma-$newer_version.exe"
cp "$newer_setup.sig" "$work/server/update/luma-$newer_version.exe.sig"
python3 "$here/serve_folder.py" "$work/server" >"$work/port" 2>"$work/server.log" &
server_pid=$!
wait_for "[ -s '$work/port' ]" 20 || fail "the update server did not start"
LUMA_UPDATE_SERVER="http://127.0.0.1:$(cat "$work/port")" wine "$luma_exe" >"$work/luma.log" 2>&1 &
luma_pid=$!
focus_window 'Новая версия LUMA' 60
import -window root "$shots/5-update-question.png"
press_until Return "[ -n \"\$(xdotool search --onlyvisible --name 'LUMA $newer_version' 2>/dev/null)\" ]" 40 ||
    fail "the update was not started"
# The installer's own window: install into the folder it proposes.
focus_window "LUMA $newer_version" 120
import -window root "$shots/6-installer.png"
# The install starts by closing the running copy: until it has, the folder page did not take
# the key (a window can take the focus before it takes keys), and a second press is harmless.
press_until Return "! kill -0 $luma_pid 2>/dev/null" 30 || fail "the installer did not start installing"
wait_for "reg_query '$uninstall_key' /v DisplayVersion | grep -q '$newer_version'" 120 ||
    fail "the downloaded installer did not install"
grep -q "GET /update/luma-$newer_version.exe" "$work/server.log" || fail "no download in the server log"
# The installer closed the running copy; its last page ends it. The server goes first, so that
# the LUMA it starts (which still calls itself the older version) is not offered it again.
wait_end "$luma_pid" 60 || fail "the installer left LUMA running"
luma_pid=""
kill "$server_pid" 2>/dev/null
server_pid=""
focus_window "LUMA $newer_version" 30
import -window root "$shots/7-installer-done.png"
xdotool key Return
gone "LUMA $newer_version" 30 || fail "the installer did not end"
# Its last page starts the new LUMA: Esc ends it.
focus_window '^LUMA$' 60
xdotool key Escape
gone '^LUMA$' 30 || fail "LUMA did not end after the update"

# 4. Uninstall.
timeout 300 wine "C:\\Program Files\\LUMA\\uninstall.exe" /S >/dev/null 2>&1
wait_for "[ ! -e '$program_dir/luma.exe' ] && [ ! -e '$program_dir/uninstall.exe' ]" 60 ||
    fail "the uninstaller left the programs"
wait_for "! wine reg query '$uninstall_key' >/dev/null 2>&1" 30 || fail "the Add/Remove Programs entry stays"
[ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/LUMA.lnk" ] ||
    fail "the Start-menu shortcut stays"
echo "ok: screenshots in $shots"
