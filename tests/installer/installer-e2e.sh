#!/usr/bin/env bash
# The installer as a user and an administrator meet it, under Wine, in a
# fresh prefix of the test's own:
#  - the installer target's output is at most 1 MiB;
#  - a later version, signed with a throwaway certificate made here, carries
#    valid SHA-256 signatures on itself, the uninstaller and both programs;
#  - a silent install puts the files, the shortcut, the uninstall entry and
#    the Run value in place; the installed assistant keeps a reminder across
#    an exit and a restart;
#  - the signed upgrade over the running assistant with an unsaved reminder
#    change: the change reaches Notify.dat, the user's update keys stay, the
#    component versions become the upgrade's, the assistant runs again with
#    one tray icon; an upgrade while it is not running keeps all three keys
#    and starts nothing, ends a running updater and replaces it, and
#    /NOAUTORUN removes the Run value; one that cannot replace a file another
#    program holds open ends with exit code 2;
#  - a silent uninstall of a running assistant and updater removes every file
#    and value of ours and keeps the reminders;
#  - an uninstall by hand asks whether to keep the reminders; "否" removes
#    them with the folder;
#  - (x64) the x64 installer over an x86 installation keeps the reminders and
#    the user's update keys, takes the x64 update address and clears the
#    values the x86 copy left in the 32-bit registry view.
#
# Usage: installer-e2e.sh <Windows build dir> <version>   (inside xvfb-run)
set -uo pipefail

build=$(cd "${1:?usage: installer-e2e.sh <build dir> <version>}" && pwd)
version=${2:?usage: installer-e2e.sh <build dir> <version>}
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/names.sh"
here=$root/tests/installer
export VT_BUILD=$build
export VT_WINEPREFIX=$build/installer-prefix
source "$root/scripts/wine-env.sh"
# ctest runs the suite with the harness's prefix exported; from here on every
# Wine call goes to this test's prefix.
export WINEPREFIX=$VT_WINEPREFIX

py=/usr/bin/python3
[ -x "$py" ] || py=python3
setup=$build/VantrelSetup-$version-$VT_ARCH.exe
dist=$build/dist
# The update description of this architecture, as the release names it.
update_url=$(sed -n 's/^IniUrl=//p' "$dist/Update.ini" | tr -d '\r')
update_base=$(tr -d '\r' <"$dist/Update.ini" | sed -n 's/^uri=\(.*\/\)Vantrel\.exe$/\1/p' | head -1)
vtdrive=$build/tools/vtdrive.exe
probe=$build/tools/vtinstprobe.exe
title=$vt_main_title
wizard=$vt_wizard_title
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel'
run_hkcu='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_hklm='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
info_hkcu='HKCU\Software\Orvane\Vantrel'
info_hklm='HKLM\Software\Orvane\Vantrel'

for f in "$setup" "$dist/Vantrel.exe" "$vtdrive" "$probe"; do
  [ -f "$f" ] || { echo "FAIL: $f is not built (build the installer target)"; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/vt-installer.XXXXXX")
failures=0
cleanup() {
  timeout 30 wineserver -k >/dev/null 2>&1 </dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() { echo "FAIL: $step: $*"; failures=$((failures + 1)); }
pass_step() { echo "ok: $step"; }

# Wine's processes must never hold ctest's pipes (wineserver and services.exe
# keep the descriptors of whoever starts them), so every Wine call reads
# /dev/null and writes to files.
w() { timeout "${WT:-30}" wine "$@" </dev/null >"$tmp/out" 2>"$tmp/err"; }
out() { tr -d '\r' <"$tmp/out"; }

reg_value() {  # key name -> "TYPE DATA", nothing when missing
  w reg query "$1" /v "$2" || return 0
  out | sed -n "s/^    $2    \(REG_[A-Z_]*\)    \(.*\)\$/\1 \2/p" | head -1
}
expect_value() {  # key name "TYPE DATA"
  local got
  got=$(reg_value "$1" "$2")
  [ "$got" = "$3" ] || fail "$1 $2 is '$got', expected '$3'"
}
expect_no_value() {
  local got
  got=$(reg_value "$1" "$2")
  [ -z "$got" ] || fail "$1 $2 is still there ($got)"
}
key_exists() { w reg query "$1"; }

windows_titled() { w "$probe" windows "$1"; out; }
wait_windows() {  # title count seconds
  local i
  for ((i = 0; i < $3 * 10; i++)); do
    [ "$(windows_titled "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}
# Starts the installed assistant as the Start-menu shortcut does.
start_assistant() {
  (cd "$instdir" && exec wine "$instdir/Vantrel.exe" </dev/null >/dev/null 2>&1) &
  WT=20 w "$vtdrive" wait "$title" 15000
}
end_assistant() {
  w "$vtdrive" command "$title" "$(vt_id ID_TRAY_EXIT)" || return 1
  wait_windows "$title" 0 15 || return 1
  # The window goes before the process has written everything out.
  local i
  for ((i = 0; i < 100; i++)); do
    pgrep_prefix Vantrel.exe || return 0
    sleep 0.1
  done
  return 1
}
# Whether a process of that executable runs in this test's prefix.
# The silent uninstaller, waited for: it runs on from a copy in the
# temporary folder, done once its own file or the uninstall key is gone.
uninstall() {
  w "$instdir/Uninstall.exe" /S || fail "the uninstaller ended with $?"
  for ((i = 0; i < 300; i++)); do
    [ -e "$instdir/Uninstall.exe" ] || key_exists "$uninst_key" || break
    sleep 0.1
  done
  sleep 0.5
}

pgrep_prefix() {
  local pid
  for pid in $(pgrep -f "$1"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
alert_title() { printf '开会 - 时间到了！*'; }
# Starts the installed updater from its folder, as update.bat does.
start_updater() {
  (cd "$instdir" && exec wine "$instdir/Update.exe" </dev/null >/dev/null 2>&1) &
  WT=20 w "$vtdrive" wait "$wizard" 15000
}
# EstimatedSize is what the installed files take, in KiB rounded up, and not
# the user's reminders beside them.
expect_estimated_size() {
  local bytes=0 f got
  for f in Vantrel.exe Update.exe update.bat Update.ini Holidays.txt Uninstall.exe; do
    bytes=$((bytes + $(stat -c %s "$instdir/$f")))
  done
  got=$(reg_value "$uninst_key" EstimatedSize)
  case $got in
    "REG_DWORD 0x"*)
      [ $((16#${got#REG_DWORD 0x})) = $(((bytes + 1023) / 1024)) ] ||
        fail "EstimatedSize is $((16#${got#REG_DWORD 0x})) KiB, the installed files take $(((bytes + 1023) / 1024)) KiB" ;;
    *) fail "EstimatedSize is '$got'" ;;
  esac
}

# ---------------------------------------------------------------------------
step="the installer is at most 1 MiB"
size=$(stat -c %s "$setup")
if [ "$size" -le 1048576 ]; then echo "ok: $step ($((size / 1024)) KiB)"; else fail "$size bytes"; fi

# ---------------------------------------------------------------------------
step="a signed upgrade installer with a throwaway certificate"
upversion=$(awk -v v="$version" 'BEGIN { printf "%.1f", v + 1 }')
password=$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')
printf '%s' "$password" >"$tmp/password"
export VT_TEST_PASSWORD=$password
if openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Vantrel test signing" \
     -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" \
     -keyout "$tmp/key.pem" -out "$tmp/cert.pem" -passout env:VT_TEST_PASSWORD >"$tmp/openssl.log" 2>&1 &&
   openssl pkcs12 -export -in "$tmp/cert.pem" -inkey "$tmp/key.pem" -passin env:VT_TEST_PASSWORD \
     -passout env:VT_TEST_PASSWORD -out "$tmp/test.pfx" >>"$tmp/openssl.log" 2>&1; then
  :
else
  fail "openssl could not make the certificate: $(cat "$tmp/openssl.log")"
fi
mkdir -p "$tmp/updist"
cp "$dist/Vantrel.exe" "$dist/Update.exe" "$dist/update.bat" "$dist/Holidays.txt" "$tmp/updist/"
"$py" "$root/tools/make_description.py" --url "$update_url" \
  --base-uri "$update_base" --version "$upversion" --local-mode 1 --day 1 --main-exe Vantrel.exe \
  --needclose Vantrel.exe:Vantrel.exe --title "Vantrel.exe:$title" --title "Update.exe:$wizard" \
  --only Vantrel.exe --only Update.exe --only Holidays.txt -o "$tmp/updist/Update.ini" "$tmp/updist" >"$tmp/desc.log" 2>&1 ||
  fail "no description: $(cat "$tmp/desc.log")"
upsetup=$tmp/VantrelSetup-$upversion-$VT_ARCH.exe
start_s=$(date +%s.%N)
if ! cmake -DDIST_DIR="$tmp/updist" -DOUT_FILE="$upsetup" -DVERSION="$upversion" -DMAIN_TITLE="$title" \
     -DEXIT_COMMAND="$(vt_id ID_TRAY_EXIT)" -DUPDATER_TITLE="$wizard" -DWORK_DIR="$tmp/upwork" -DARCH="$VT_ARCH" -DICON="$build/art/Vantrel.ico" \
     -DSIGN_PFX="$tmp/test.pfx" -DSIGN_PASSWORD_FILE="$tmp/password" \
     -P "$root/release/MakeInstaller.cmake" >"$tmp/make.log" 2>&1; then
  fail "the signed build failed: $(tail -20 "$tmp/make.log")"
fi
echo "   signed installer built in $(awk -v a="$start_s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s"
verify() {  # file what
  if ! osslsigncode verify -CAfile "$tmp/cert.pem" -in "$1" >"$tmp/verify.log" 2>&1; then
    fail "$2 carries no valid signature: $(grep -iE 'fail|error|mismatch' "$tmp/verify.log" | head -3)"
  elif ! grep -qi 'sha256' "$tmp/verify.log"; then
    fail "$2 is not signed with SHA-256"
  fi
}
verify "$upsetup" "the upgrade installer"
verify "$tmp/upwork/files/Vantrel.exe" "the packed Vantrel.exe"
# A signature from another certificate does not pass for ours.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Someone else" \
  -keyout "$tmp/other.key" -out "$tmp/other.pem" >/dev/null 2>&1
if osslsigncode verify -CAfile "$tmp/other.pem" -in "$upsetup" >/dev/null 2>&1; then
  fail "the signature passes for a certificate that did not make it"
fi
# The other way to give a certificate: a PEM certificate and its key.
cp "$setup" "$tmp/pem-signed.exe"
VT_SIGN_CERT=$tmp/cert.pem VT_SIGN_KEY=$tmp/key.pem VT_SIGN_PASSWORD_FILE=$tmp/password \
  sh "$root/release/sign.sh" "$tmp/pem-signed.exe" >"$tmp/pem.log" 2>&1 || fail "sign.sh with cert and key: $(cat "$tmp/pem.log")"
verify "$tmp/pem-signed.exe" "the installer signed with a certificate and key"
[ "$failures" = 0 ] && pass_step

# ---------------------------------------------------------------------------
step="a fresh prefix"
rm -rf "$WINEPREFIX"
if ! timeout 300 "$root/scripts/wine-prefix.sh" </dev/null >"$tmp/prefix.log" 2>&1; then
  echo "FAIL: could not create the prefix $WINEPREFIX"; cat "$tmp/prefix.log"; exit 1
fi
timeout 30 wineserver -p </dev/null >/dev/null 2>&1
w cmd /c exit
w "$probe" path 28 && localappdata=$(out)
w "$probe" path 2 && programs=$(out)
instwin="$localappdata\\Programs\\Vantrel"
instdir=$(winepath -u "$instwin" 2>/dev/null | tr -d '\r')
lnkwin="$programs\\Vantrel.lnk"
lnk=$(winepath -u "$lnkwin" 2>/dev/null | tr -d '\r')
[ -n "$localappdata" ] && [ -n "$instdir" ] || { echo "FAIL: no local application data folder"; exit 1; }

# ---------------------------------------------------------------------------
step="a silent install puts the files, shortcut, uninstall entry and Run value in place"
fails_before=$failures
WT=60 w "$setup" /S || fail "the installer ended with $?"
for f in Vantrel.exe Update.exe update.bat Update.ini Holidays.txt; do
  cmp -s "$dist/$f" "$instdir/$f" || fail "$f is not the release's"
done
[ -f "$instdir/Uninstall.exe" ] || fail "no Uninstall.exe"
[ -e "$instdir/Notify.dat" ] && fail "a Notify.dat was installed"
if w "$probe" shortcut "$lnkwin"; then
  mapfile -t link < <(out)
  [ "${link[0]}" = "$instwin\\Vantrel.exe" ] || fail "the shortcut starts '${link[0]}'"
  [ "${link[2]}" = "$instwin" ] || fail "the shortcut starts in '${link[2]}'"
else
  fail "no Start-menu shortcut at $lnkwin"
fi
expect_value "$uninst_key" DisplayName "REG_SZ Vantrel"
expect_value "$uninst_key" DisplayVersion "REG_SZ $version"
expect_value "$uninst_key" Publisher "REG_SZ Orvane"
expect_value "$uninst_key" DisplayIcon "REG_SZ $instwin\\Vantrel.exe"
expect_value "$uninst_key" InstallLocation "REG_SZ $instwin"
expect_value "$uninst_key" UninstallString "REG_SZ \"$instwin\\Uninstall.exe\""
expect_value "$uninst_key" QuietUninstallString "REG_SZ \"$instwin\\Uninstall.exe\" /S"
expect_value "$uninst_key" NoModify "REG_DWORD 0x1"
expect_value "$uninst_key" NoRepair "REG_DWORD 0x1"
expect_estimated_size
expect_value "$run_hkcu" Vantrel "REG_SZ \"$instwin\\Vantrel.exe\""
expect_no_value "$run_hklm" Vantrel
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
step="the installed assistant keeps a reminder across an exit and a restart"
fails_before=$failures
# The reminder must stay due (this minute) until the restart has shown it.
sec=$(date +%-S)
[ "$sec" -gt 30 ] && sleep $((61 - sec))
"$py" "$root/tools/make_notify.py" "$instdir/Notify.dat" --due-now --title 开会
cp "$instdir/Notify.dat" "$tmp/original.dat"
ticks1=0
if start_assistant; then
  if WT=20 w "$vtdrive" wait "$(alert_title)" 15000; then
    w "$vtdrive" click "$(alert_title)" 2  # 在忙，等一会
    sleep 1.5
    end_assistant || fail "the assistant did not end on its exit command"
    ticks1=$("$py" "$here/files.py" reminder "$tmp/original.dat" "$instdir/Notify.dat") || fail "$ticks1"
    [ "$ticks1" -ge 1 ] 2>/dev/null || fail "no alert ticks were saved ($ticks1)"
  else
    fail "the reminder due now did not alert"
  fi
else
  fail "the installed assistant did not start"
fi
cp "$instdir/Notify.dat" "$tmp/saved1.dat"
if start_assistant; then
  WT=20 w "$vtdrive" wait "$(alert_title)" 15000 || fail "after the restart the reminder did not alert again"
else
  fail "the assistant did not start again"
fi
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
step="an upgrade over the running assistant with an unsaved reminder change"
fails_before=$failures
# The change: "嗯，我知道了" on the alert, confirmed with Yes; the reminder is
# done (expired), which the assistant holds in memory until it ends.
w "$vtdrive" click "$(alert_title)" 1
if WT=10 w "$vtdrive" wait 提醒确认： 5000; then
  w "$vtdrive" click 提醒确认： 6
  wait_windows 提醒确认： 0 5 || fail "the confirmation stayed open"
else
  fail "the alert asked for no confirmation"
fi
sleep 1
cmp -s "$tmp/saved1.dat" "$instdir/Notify.dat" || fail "the change was saved before the upgrade"
today=$(date +%-d)
# A due day (Day = today) with Updated = 1: the restarted assistant leaves
# both alone, so what the file holds afterwards is what the upgrade kept.
"$py" "$here/files.py" ini-set "$instdir/Update.ini" Day="$today" Updated=1
w "$probe" hwnd "$title" && old_window=$(out)
WT=60 w "$upsetup" /S || fail "the upgrade ended with $?"
ticks2=$("$py" "$here/files.py" reminder "$tmp/original.dat" "$instdir/Notify.dat" 3) ||
  fail "Notify.dat lacks the unsaved change: $ticks2"
[ -e "$instdir/Notify.dat.tmp" ] && fail "a Notify.dat.tmp was left"
if wait_windows "$title" 1 15; then
  w "$probe" tray "$title" || fail "the restarted assistant shows no tray icon"
  # The one that was ended took its icon with it.
  [ -n "${old_window:-}" ] && w "$probe" tray "#$old_window" && fail "the ended assistant's tray icon is still there"
  sleep 1
  [ "$(windows_titled "$title")" = 1 ] || fail "$(windows_titled "$title") main windows after the restart"
else
  fail "the assistant does not run again once ($(windows_titled "$title") main windows)"
fi
"$py" "$here/files.py" ini-check "$instdir/Update.ini" "$tmp/updist/Update.ini" \
  LocalMode=1 Day="$today" Updated=1 >"$tmp/ini.log" || fail "Update.ini: $(cat "$tmp/ini.log")"
for f in Vantrel.exe Update.exe Uninstall.exe; do verify "$instdir/$f" "the installed $f"; done
expect_value "$uninst_key" DisplayVersion "REG_SZ $upversion"
expect_estimated_size
expect_value "$run_hkcu" Vantrel "REG_SZ \"$instwin\\Vantrel.exe\""
expect_no_value "$run_hklm" Vantrel
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
step="an upgrade while the assistant is not running keeps LocalMode, Day, Updated and not starting with Windows"
fails_before=$failures
end_assistant || fail "the assistant did not end on its exit command"
other_day=$(( today % 28 + 1 ))
"$py" "$here/files.py" ini-set "$instdir/Update.ini" LocalMode=0 Day="$other_day" Updated=0
cp "$instdir/Notify.dat" "$tmp/saved2.dat"
# An updater waiting in its wizard (LocalMode 0) holds Update.exe open; an
# earlier build of it, so that its replacement shows.
cp "$dist/Update.exe" "$instdir/Update.exe"
start_updater || fail "the updater did not start"
WT=60 w "$upsetup" /S /NOAUTORUN || fail "the upgrade ended with $?"
[ "$(windows_titled "$wizard")" = 0 ] || fail "the updater's wizard is still open"
pgrep_prefix Update.exe && fail "the updater still runs"
cmp -s "$tmp/upwork/files/Update.exe" "$instdir/Update.exe" || fail "the running updater was not replaced"
"$py" "$here/files.py" ini-check "$instdir/Update.ini" "$tmp/updist/Update.ini" \
  LocalMode=0 Day="$other_day" Updated=0 >"$tmp/ini.log" || fail "Update.ini: $(cat "$tmp/ini.log")"
cmp -s "$tmp/saved2.dat" "$instdir/Notify.dat" || fail "Notify.dat was touched"
sleep 1
[ "$(windows_titled "$title")" = 0 ] || fail "the upgrade started the assistant, which was not running"
expect_no_value "$run_hkcu" Vantrel
expect_no_value "$run_hklm" Vantrel
# The next upgrade keeps that choice.
WT=60 w "$upsetup" /S || fail "the upgrade ended with $?"
expect_no_value "$run_hkcu" Vantrel
expect_no_value "$run_hklm" Vantrel
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
step="an upgrade that cannot replace a file held open says so in its exit code"
fails_before=$failures
printf 'rem an earlier one\r\n' >"$instdir/update.bat"
(exec wine "$probe" lock "$instwin\\update.bat" 4000 </dev/null >/dev/null 2>&1) &
locker=$!
sleep 1
WT=60 w "$upsetup" /S /NOAUTORUN
rc=$?
wait "$locker" || fail "the file could not be held open"
[ "$rc" = 2 ] || fail "the upgrade ended with $rc, not 2"
cmp -s "$dist/update.bat" "$instdir/update.bat" && fail "the file held open was replaced after all"
# Once nothing holds it, the upgrade completes.
WT=60 w "$upsetup" /S /NOAUTORUN || fail "the upgrade ended with $?"
cmp -s "$dist/update.bat" "$instdir/update.bat" || fail "update.bat is not the release's"
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
step="a silent uninstall of a running assistant removes what is ours and keeps the reminders"
fails_before=$failures
# The updater first, waiting in its wizard (the assistant's start sets
# LocalMode 1, which would make it check the network by itself).
"$py" "$here/files.py" ini-set "$instdir/Update.ini" LocalMode=0
start_updater || fail "the updater did not start"
start_assistant || fail "the assistant did not start"
# Values as a user without the right to the machine-wide keys has them, next
# to the machine-wide ones the assistant wrote under Wine.
w reg add "$run_hkcu" /v Vantrel /t REG_SZ /d "\"$instwin\\Vantrel.exe\"" /f
w reg add "$run_hklm" /v Vantrel /t REG_SZ /d "\"$instwin\\Vantrel.exe\"" /f
w reg add "$info_hkcu" /v ShowInfo /t REG_DWORD /d 0 /f
w reg add "$info_hklm" /v ShowInfo /t REG_DWORD /d 0 /f
# Settings the user changed: Ctrl+Alt+Left for the left channel, sleep at the end.
w reg add "$info_hkcu" /v HotkeyLeft /t REG_DWORD /d 0x625 /f
w reg add "$info_hkcu" /v EndAction /t REG_DWORD /d 3 /f
printf 'left by the updater' >"$instdir/Update.exe.old"
printf 'kept by an interrupted update' >"$instdir/Vantrel.exe.bak"
cp "$instdir/Vantrel.exe.bak" "$instdir/Update.exe.bak"
printf 'an earlier damaged file' >"$instdir/Notify.dat.bak"
uninstall
for f in Vantrel.exe Update.exe update.bat Update.ini Holidays.txt Uninstall.exe Update.exe.old Vantrel.exe.bak Update.exe.bak; do
  [ -e "$instdir/$f" ] && fail "$f is still there"
done
left=$(cd "$instdir" 2>/dev/null && ls -A | tr '\n' ' ')
[ "$left" = "Notify.dat Notify.dat.bak " ] || fail "the folder holds '$left', expected only the reminders"
"$py" "$here/files.py" reminder "$tmp/original.dat" "$instdir/Notify.dat" 0,3 >"$tmp/rem.log" ||
  fail "the reminders were not kept whole: $(cat "$tmp/rem.log")"
[ -e "$lnk" ] && fail "the shortcut is still there"
key_exists "$uninst_key" && fail "the uninstall entry is still there"
expect_no_value "$run_hkcu" Vantrel
expect_no_value "$run_hklm" Vantrel
key_exists 'HKCU\Software\Orvane' && fail "HKCU\\Software\\Orvane is still there"
key_exists 'HKLM\Software\Orvane' && fail "HKLM\\Software\\Orvane is still there"
[ "$(windows_titled "$title")" = 0 ] || fail "the assistant still runs"
[ "$(windows_titled "$wizard")" = 0 ] || fail "the updater still runs"
pgrep_prefix Update.exe && fail "the updater's process still runs"
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
step="an uninstall by hand asks whether to keep the reminders; no removes them"
fails_before=$failures
# Installed again over the kept reminders.
WT=60 w "$setup" /S || fail "the installer ended with $?"
[ -f "$instdir/Notify.dat" ] || fail "the reinstall lost the kept reminders"
uncaption='Vantrel 卸载'
w "$instdir/Uninstall.exe" || fail "the uninstaller ended with $?"
# Its pages run in a copy in the temporary folder: confirm with "卸载(U)".
if WT=20 w "$probe" answer "$uncaption*" 1 15000; then
  if WT=20 w "$probe" answer "$uncaption" 7 15000; then
    question=$(out)
    case $question in
      *保留*提醒*Notify.dat*) ;;
      *) fail "the uninstaller asked '$question'" ;;
    esac
  else
    fail "the uninstaller did not ask about the reminders"
  fi
  WT=20 w "$probe" answer "$uncaption*" 1 15000 || fail "the uninstaller did not finish"
else
  fail "the uninstaller showed no page"
fi
for ((i = 0; i < 100; i++)); do
  [ -e "$instdir" ] || break
  sleep 0.1
done
[ -e "$instdir" ] && fail "the folder is still there, holding '$(ls -A "$instdir" | tr '\n' ' ')'"
key_exists "$uninst_key" && fail "the uninstall entry is still there"
[ -e "$lnk" ] && fail "the shortcut is still there"
[ "$failures" = "$fails_before" ] && pass_step

# ---------------------------------------------------------------------------
# On 64-bit Windows an x86 copy wrote HKLM\SOFTWARE through the 32-bit view
# (WOW6432Node); HKCU\Software is the same for both.
run32() { w reg "$@" /reg:32; }
if [ "$VT_ARCH" = x64 ]; then
  step="the x64 installer turns an x86 installation into an x64 one"
  fails_before=$failures
  # What an x86 copy leaves behind: its programs (stand-ins here: this
  # machine need not run them), its update description with the x86 address
  # and the user's keys, the reminders, the uninstall entry, and the values
  # its assistant wrote machine-wide.
  mkdir -p "$instdir"
  printf 'MZ an x86 Vantrel' >"$instdir/Vantrel.exe"
  printf 'MZ an x86 Update' >"$instdir/Update.exe"
  cp "$dist/update.bat" "$instdir/"
  printf '[Main]\r\nIniUrl=https://www.orvane.com/vantrel/update.ini\r\nLocalMode=0\r\nDay=9\r\nUpdated=1\r\nTotal=0\r\n' \
    >"$instdir/Update.ini"
  cp "$tmp/original.dat" "$instdir/Notify.dat"
  w reg add "$uninst_key" /v InstallLocation /t REG_SZ /d "$instwin" /f
  run32 add "$run_hklm" /v Vantrel /t REG_SZ /d "\"$instwin\\Vantrel.exe\"" /f
  run32 add "$info_hklm" /v ShowInfo /t REG_DWORD /d 0 /f
  WT=60 w "$setup" /S || fail "the installer ended with $?"
  for f in Vantrel.exe Update.exe; do
    cmp -s "$dist/$f" "$instdir/$f" || fail "$f is not the x64 release's"
  done
  cmp -s "$tmp/original.dat" "$instdir/Notify.dat" || fail "the reminders changed"
  # The x64 description's address, with the user's update keys kept.
  "$py" "$here/files.py" ini-check "$instdir/Update.ini" "$dist/Update.ini" \
    LocalMode=0 Day=9 Updated=1 >"$tmp/ini.log" || fail "Update.ini: $(cat "$tmp/ini.log")"
  run32 query "$run_hklm" /v Vantrel && fail "the x86 copy's Run value is still there: two copies would start"
  expect_value "$run_hkcu" Vantrel "REG_SZ \"$instwin\\Vantrel.exe\""
  # The x64 assistant clears such a value itself when it saves its own.
  run32 add "$run_hklm" /v Vantrel /t REG_SZ /d "\"$instwin\\Vantrel.exe\"" /f
  if start_assistant; then
    end_assistant || fail "the assistant did not end on its exit command"
    run32 query "$run_hklm" /v Vantrel && fail "the assistant left the x86 copy's Run value"
  else
    fail "the x64 assistant did not start"
  fi
  uninstall
  run32 query "$info_hklm" /v ShowInfo && fail "the uninstaller left the x86 copy's ShowInfo"
  [ "$failures" = "$fails_before" ] && pass_step
fi

if [ "$failures" = 0 ]; then
  echo "PASS: installer install, upgrade, uninstall and signatures"
else
  echo "FAIL: $failures check(s)"
  exit 1
fi
