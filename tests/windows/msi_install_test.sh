#!/bin/sh
# The MSI package as a site's IT department rolls it out, under Wine in a real X window (run
# under xvfb-run), in a fresh Wine prefix with an English locale:
#   1. msiexec /i /qn installs the programs (signed, when a certificate is given), the Start-menu
#      shortcut, one entry in Add/Remove Programs and the policy that turns the update check off;
#   2. luma.exe starts, opens a Latin-named file given on its command line, shows
#      "File: sample ..." in its status line, and asks the update server nothing, although one is
#      configured; without the policy the same program does ask it;
#   3. a newer package installs over it: one entry in Add/Remove Programs, the newer version;
#   4. msiexec /x /qn removes every installed file, the shortcut, the entry and the policy.
# No msiexec run touches the operator's profile (HKCU\Software\LUMA).
# Exit 77 (skipped) when a tool is missing.
#
#   msi_install_test.sh MSI NEWER_MSI NEWER_VERSION SAMPLE SHOTS [CA_PEM TSA_PEM]
set -u
msi=$1 newer_msi=$2 newer_version=$3 sample=$4 shots=$5 ca=${6:-} tsa=${7:-}

for tool in wine wineserver xdotool xclip import python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine_steps.sh"
# An English Windows: the window speaks the system's language.
export LC_ALL=C.UTF-8
unset LUMA_LANG QT_QPA_PLATFORM

timeout 300 wineboot -i >/dev/null 2>&1 || fail "wineboot failed"

# The operator's settings before anything is installed.
profile='HKCU\Software\LUMA\luma'
wine reg add "$profile\\HOTDLG" /v FIELDNAME /t REG_SZ /d 902 /f >/dev/null 2>&1
wine reg add "$profile\\HOTDLG" /v HOTSET /t REG_DWORD /d 113 /f >/dev/null 2>&1
# msiexec ACTION PACKAGE: runs it silently and checks that the operator's profile is untouched.
msiexec_quietly() {
    profile_before=$(reg_query "HKCU\\Software\\LUMA" /s)
    timeout 300 wine msiexec "$1" "$(winepath -w "$2")" /qn >/dev/null 2>&1 || fail "msiexec $1 $2 ended with status $?"
    [ "$(reg_query "HKCU\\Software\\LUMA" /s)" = "$profile_before" ] ||
        fail "msiexec $1 changed the operator's profile"
}

# 1. The silent install.
msiexec_quietly /i "$msi"
program_dir="$WINEPREFIX/drive_c/Program Files/LUMA"
for file in luma.exe luma-cli.exe; do
    [ -f "$program_dir/$file" ] || fail "the package put no $file into Program Files"
    if [ -n "$ca" ]; then
        osslsigncode verify -CAfile "$ca" -TSA-CAfile "$tsa" -in "$program_dir/$file" >/dev/null 2>&1 ||
            fail "the installed $file carries no valid signature"
    fi
done
# Windows puts the shortcut of a per-machine package into the common Start menu; Wine's
# msiexec puts it into the installing user's.
shortcut_at() {
    for link in "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/LUMA.lnk" \
        "$WINEPREFIX/drive_c/users/"*"/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/LUMA.lnk"; do
        [ -f "$link" ] && echo "$link"
    done
}
[ -n "$(shortcut_at)" ] || fail "no Start-menu shortcut"
[ "$(uninstall_entries | wc -l)" -eq 1 ] || fail "not one LUMA entry in Add/Remove Programs: $(uninstall_entries)"
entry=$(uninstall_entries)
reg_query "$entry" /v Publisher | grep -q 'REG_SZ *LUMA$' || fail "the entry names no publisher"
msi_version=$(basename "$msi" | sed -n 's/^luma-\([0-9.]*\)-x64\.msi$/\1/p')
reg_query "$entry" /v DisplayVersion | grep -q "REG_SZ *$msi_version\$" || fail "the entry is not of version $msi_version"
reg_query 'HKLM\Software\Policies\LUMA' /v UpdateCheck | grep -q 'REG_DWORD *0x0$' ||
    fail "no machine policy turning the update check off"

# 2. luma.exe, with an update server it must not ask.
mkdir -p "$work/server/update" "$work/source"
cp "$sample" "$work/source/sample.iso"
python3 "$here/serve_folder.py" "$work/server" >"$work/port" 2>"$work/server.log" &
server_pid=$!
wait_for "[ -s '$work/port' ]" 20 || fail "the update server did not start"
server="http://127.0.0.1:$(cat "$work/port")"
LUMA_UPDATE_SERVER=$server wine "C:\\Program Files\\LUMA\\luma.exe" "$(winepath -w "$work/source/sample.iso")" \
    >"$work/luma.log" 2>&1 &
luma_pid=$!
focus_window '^LUMA$' 120
wait_for_status_line '^File: sample  *Records: 6  *Current: 1  *Marked: 0$' 60
import -window root "$shots/1-msi-installed-luma.png"
[ ! -s "$work/server.log" ] || fail "luma.exe asked the update server although the policy forbids it: $(cat "$work/server.log")"
press_until Escape "! kill -0 $luma_pid 2>/dev/null" 10 || fail "luma.exe did not end on Esc"
luma_pid=""

# Without the policy, the same program asks the same server: the setting above was live.
wine reg delete 'HKLM\Software\Policies\LUMA' /v UpdateCheck /f >/dev/null 2>&1
LUMA_UPDATE_SERVER=$server wine "C:\\Program Files\\LUMA\\luma.exe" >"$work/luma.log" 2>&1 &
luma_pid=$!
wait_for "grep -q 'GET /update/' '$work/server.log'" 120 || fail "without the policy, luma.exe asked the server nothing either"
focus_window '^LUMA$' 120
press_until Escape "! kill -0 $luma_pid 2>/dev/null" 10 || fail "luma.exe did not end on Esc"
luma_pid=""
kill "$server_pid" 2>/dev/null
server_pid=""

# 3. The newer package over the older one.
msiexec_quietly /i "$newer_msi"
[ "$(uninstall_entries | wc -l)" -eq 1 ] || fail "not one LUMA entry after the upgrade: $(uninstall_entries)"
reg_query "$(uninstall_entries)" /v DisplayVersion | grep -q "REG_SZ *$newer_version\$" ||
    fail "the entry is not of the newer version $newer_version"
[ -f "$program_dir/luma.exe" ] || fail "no luma.exe after the upgrade"
reg_query 'HKLM\Software\Policies\LUMA' /v UpdateCheck | grep -q 'REG_DWORD *0x0$' ||
    fail "no update policy after the upgrade"

# 4. The silent removal.
msiexec_quietly /x "$newer_msi"
[ ! -e "$program_dir" ] || fail "the removal left $(ls -A "$program_dir")"
[ -z "$(shortcut_at)" ] || fail "the removal left the Start-menu shortcut"
[ -z "$(uninstall_entries)" ] || fail "the removal left the Add/Remove Programs entry"
! wine reg query 'HKLM\Software\Policies\LUMA' /v UpdateCheck >/dev/null 2>&1 || fail "the removal left the policy"
reg_query "$profile\\HOTDLG" /v FIELDNAME | grep -q 'REG_SZ *902$' || fail "the operator's profile is gone"
echo "ok: screenshots in $shots"
