#!/usr/bin/env bash
# Fails when a Windows program of the build imports a DLL that is not part of
# Windows itself (the C++ runtime, libgcc or winpthread must be linked in).
set -euo pipefail
build=$1
objdump=x86_64-w64-mingw32-objdump
system_dlls='^(kernel32|user32|gdi32|msvcrt|ucrtbase|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|ws2_32|bcrypt|ntdll|shlwapi|version|winmm|api-ms-win-.*)\.dll$'

mapfile -t programs < <(find "$build" -name '*.exe' -not -path '*/CMakeFiles/*' | sort)
if [ ${#programs[@]} -eq 0 ]; then
  echo "FAIL: no .exe in $build" >&2
  exit 1
fi
[ -f "$build/scenario_gen.exe" ] || { echo "FAIL: $build/scenario_gen.exe is missing" >&2; exit 1; }

failed=0
for exe in "${programs[@]}"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  foreign=$(grep -Ev "$system_dlls" <<<"$dlls" || true)
  if [ -n "$foreign" ]; then
    echo "FAIL: $exe imports non-system DLLs: $(echo $foreign)" >&2
    failed=1
  else
    echo "ok: $exe imports only $(echo $dlls)"
  fi
done
subsystem=$("$objdump" -p "$build/scenario_gen.exe" | sed -n 's/^Subsystem\s*//p')
case "$subsystem" in
  *"Windows GUI"*) echo "ok: scenario_gen.exe is a GUI program" ;;
  *) echo "FAIL: scenario_gen.exe subsystem is '$subsystem', expected Windows GUI" >&2; failed=1 ;;
esac
exit $failed
