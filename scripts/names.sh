# Sourced by the scripts and shell tests that drive the assistant from
# outside: the names the programs share (shared/ProgramNames.h) and the
# assistant's command ids (assistant/res/resource.h), read from the headers
# the programs are compiled with.
vt_names_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vt_names_header=$vt_names_root/shared/ProgramNames.h
# vt_name MACRO: the value of a #define of shared/ProgramNames.h, quotes removed.
vt_name() {
  local value
  value=$(sed -n "s/^#define $1 *\"\{0,1\}\([^\"]*\)\"\{0,1\}\$/\1/p" "$vt_names_header")
  [ -n "$value" ] || { echo "no $1 in shared/ProgramNames.h" >&2; return 1; }
  echo "$value"
}
vt_main_title=$(vt_name VT_MAIN_WINDOW_TITLE) || exit 1
vt_wizard_title=$(vt_name VT_WIZARD_TITLE) || exit 1
vt_wm_traynotify=$(vt_name VT_WM_TRAYNOTIFY) || exit 1
# vt_id NAME: the number of a resource or command id, e.g. vt_id ID_TRAY_SHOW;
# one defined by a name of shared/ProgramNames.h is followed there.
vt_id() {
  local id
  id=$(sed -n "s/^#define $1 *\([0-9A-Z_][0-9A-Z_]*\).*/\1/p" "$vt_names_root/assistant/res/resource.h")
  [ -n "$id" ] || { echo "no $1 in assistant/res/resource.h" >&2; return 1; }
  case $id in [0-9]*) echo "$id" ;; *) vt_name "$id" ;; esac
}
