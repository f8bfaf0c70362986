# Sourced by the scripts: what this machine can run.
# vt_runs_32bit: true when the kernel executes 32-bit x86 programs. Some
# machines cannot (no IA-32 emulation), whatever packages are installed, so
# this runs one: a 96-byte static ELF32 that only exits with code 7.
vt_runs_32bit() {
  local probe rc
  probe=$(mktemp "${TMPDIR:-/tmp}/vt-elf32.XXXXXX") || return 1
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\007\000\000\000\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" >/dev/null 2>&1
  rc=$?
  rm -f "$probe"
  [ $rc -eq 7 ]
}
