# Sourced by the scripts and shell tests that drive the assistant from
# outside: the main window's title and the command ids, read from the headers
# the programs are compiled with (assistant/AssistantNames.h, resource.h,
# updater/UpdaterNames.h).
vt_names_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
vt_main_title=$(sed -n 's/^#define VT_MAIN_WINDOW_TITLE *"\(.*\)"$/\1/p' "$vt_names_root/assistant/AssistantNames.h")
[ -n "$vt_main_title" ] || { echo "no VT_MAIN_WINDOW_TITLE in assistant/AssistantNames.h" >&2; exit 1; }
vt_wizard_title=$(sed -n 's/^inline constexpr wchar_t kWizardTitle\[\] = L"\(.*\)";$/\1/p' "$vt_names_root/updater/UpdaterNames.h")
[ -n "$vt_wizard_title" ] || { echo "no kWizardTitle in updater/UpdaterNames.h" >&2; exit 1; }
# vt_id NAME: the number of a resource or command id, e.g. vt_id ID_TRAY_EXIT.
vt_id() {
  local id
  id=$(sed -n "s/^#define $1 *\([0-9][0-9]*\).*/\1/p" "$vt_names_root/assistant/res/resource.h")
  [ -n "$id" ] || { echo "no $1 in assistant/res/resource.h" >&2; return 1; }
  echo "$id"
}
