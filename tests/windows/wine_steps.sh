# The wine checks themselves; sourced by wine_checks.sh, which sets build,
# linux_gen, work, outputs and the wine environment. Each returns non-zero
# on failure after saying why.

# Runs a program copied into its own folder from another working directory,
# so the files must land beside the program and not in the current folder.
run_copy() {
  local program=$1 dir=$2 launcher=${3:-}
  mkdir -p "$dir"
  cp "$program" "$dir/"
  (cd "$work" && timeout 120 $launcher "$dir/$(basename "$program")" >"$dir.log" 2>&1)
}

check_generator_output() {
  local status ok=0 f
  run_copy "$linux_gen" "$work/linux" || { echo "Linux scenario_gen failed with status $?"; cat "$work/linux.log"; return 1; }
  run_copy "$build/scenario_gen.exe" "$work/win" wine
  status=$?
  [ "$status" -eq 0 ] || { echo "scenario_gen.exe ended with status $status"; cat "$work/win.log"; ok=1; }
  for f in "${outputs[@]}"; do
    if [ ! -f "$work/win/$f" ]; then echo "missing under wine: $f"; ok=1
    elif [ ! -f "$work/linux/$f" ]; then echo "missing on Linux: $f"; ok=1
    elif cmp "$work/linux/$f" "$work/win/$f"; then echo "identical: $f ($(stat -c %s "$work/win/$f") bytes)"
    else ok=1
    fi
  done
  local linux_files win_files
  linux_files=$(ls "$work/linux" | grep -vx scenario_gen)
  win_files=$(ls "$work/win" | grep -vx scenario_gen.exe)
  [ "$linux_files" = "$win_files" ] || { echo "the two runs left different files:"; diff <(echo "$linux_files") <(echo "$win_files"); ok=1; }
  return $ok
}

# Waits up to $2 seconds for process $1 to end; its status in $waited_status.
wait_for_exit() {
  local pid=$1 limit=$2 i
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      waited_status=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

check_errore_box() {
  local pid ok=0 box=$work/box.txt
  wine "$build/tests/windows/errore_probe.exe" >"$work/errore.log" 2>&1 &
  pid=$!
  timeout 60 wine "$build/tests/windows/box_reader.exe" scenario_gen 2>&1 | tr -d '\r' >"$box"
  sed 's/^/  box: /' "$box"
  grep -qxF 'control Static [ Errore n. 1251]' "$box" || { echo "the box does not show ' Errore n. 1251'"; ok=1; }
  [ "$(grep -c '^control Button' "$box")" -eq 1 ] && grep -qxF 'control Button [OK]' "$box" ||
    { echo "the box does not have exactly one OK button"; ok=1; }
  ! grep -q '^icon shown' "$box" || { echo "the box shows an icon"; ok=1; }
  kill -0 "$pid" 2>/dev/null || { echo "errore ended before the box was closed"; ok=1; }
  sleep 0.5
  xdotool key Return
  if ! wait_for_exit "$pid" 20; then
    echo "errore_probe.exe still runs 20 s after Return"; kill "$pid"; wait "$pid"; return 1
  fi
  [ "$waited_status" -eq 1 ] || { echo "errore ended with status $waited_status, expected 1"; ok=1; }
  return $ok
}

# Counts the dark pixels of an image region (WxH+X+Y) of a screenshot.
dark_pixels() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}

# The bounding box (W H) of the dark pixels of a region.
dark_extent() {
  convert "$1" -crop "$2" +repage -colorspace Gray -threshold 50% -trim -format '%w %h' info:
}

check_wait_report() {
  local report=$1 ok=0 line
  for line in 'client-size 280 179' 'label 64 64 177 53' 'text Attendere' 'font -32 700 0 0 0 0' 'visible 1' \
    'controls 1'; do
    grep -qxF "$line" "$report" || { echo "wait window: expected '$line'"; ok=1; }
  done
  return $ok
}

check_wait_window() {
  local pid report=$work/wait.txt shot=$build/wait_window.png i ok=0
  wine "$build/tests/windows/wait_probe.exe" 8 >"$report" 2>&1 &
  pid=$!
  for ((i = 0; i < 300; i++)); do grep -q '^controls' "$report" && break; sleep 0.1; done
  sleep 1
  import -window root "$shot"
  wait_for_exit "$pid" 30 || { echo "wait_probe.exe did not end"; kill "$pid"; return 1; }
  [ "$waited_status" -eq 0 ] || { echo "wait_probe.exe ended with status $waited_status"; ok=1; }
  tr -d '\r' <"$report" | awk '$1 == "client" { print "client-size", $4, $5 } { print }' >"$report.full"
  sed 's/^/  window: /' "$report.full"
  check_wait_report "$report.full" || ok=1
  read -r _ x y w h < <(grep '^client ' "$report.full") || { echo "no client area reported"; return 1; }
  local client="${w}x${h}+${x}+${y}" label="177x53+$((x + 64))+$((y + 64))"
  local inside outside total
  total=$(dark_pixels "$shot" "$client")
  inside=$(dark_pixels "$shot" "$label")
  outside=$((total - inside))
  read -r tw th < <(dark_extent "$shot" "$label")
  echo "  screenshot $shot: $inside dark pixels in the label, $outside elsewhere in the client area, text ${tw}x${th}"
  [ "$outside" -eq 0 ] || { echo "dark pixels outside the label"; ok=1; }
  [ "$inside" -ge 300 ] && [ "$tw" -ge 100 ] && [ "$th" -ge 18 ] ||
    { echo "the label's text is not drawn in a 24-point font"; ok=1; }
  return $ok
}

check_platform_layer() {
  local dir=$work/platform out=$work/platform.txt status ok=0 expected
  run_copy "$build/tests/windows/platform_probe.exe" "$dir" wine
  status=$?
  tr -d '\r' <"$dir.log" >"$out"
  sed 's/^/  platform: /' "$out"
  [ "$status" -eq 0 ] || { echo "platform_probe.exe ended with status $status"; ok=1; }
  grep -q '^ok ' "$out" || { echo "platform_probe.exe reported nothing"; ok=1; }
  expected=$(winepath -w "$dir" 2>/dev/null | tr -d '\r')
  grep -qxF "directory $expected" "$out" || { echo "program_directory is not '$expected'"; ok=1; }
  return $ok
}

# Links planted at the temporary names earlier versions used ("<name>.partial")
# and at a few guessed ones, pointing at a file outside the folder: the
# Windows generator and the tool's compile -o write correct files and leave
# every link and the file it points at as they were.
check_planted_links() {
  local dir=$work/planted out=$work/planted_out bait=$work/bait.txt ok=0 f name status
  local sources=(Castrovelde_Ardis_linea.txt Castrovelde_Ardis_R31708-.txt)
  local binaries=(Prova_linea.dat Prova_T1.sim Prova_T1.dat)
  [ -d "$work/linux" ] || run_copy "$linux_gen" "$work/linux" || { echo "Linux scenario_gen failed"; return 1; }
  printf 'the user'"'"'s own file\n' >"$bait"
  local bait_sum
  bait_sum=$(sha256sum <"$bait")
  guessed() { printf '%s\n' "$1.partial" "$1.tmp" "$1~" "$1.aaaaaaaaaaaa.partial"; }
  mkdir -p "$dir" "$out"
  for f in "${outputs[@]}" "${sources[@]}"; do
    while read -r name; do ln -s "$bait" "$dir/$name"; done < <(guessed "$f")
  done
  for f in "${binaries[@]}"; do
    while read -r name; do ln -s "$bait" "$out/$name"; done < <(guessed "$f")
  done
  run_copy "$build/scenario_gen.exe" "$dir" wine
  status=$?
  [ "$status" -eq 0 ] || { echo "scenario_gen.exe ended with status $status"; cat "$dir.log"; ok=1; }
  for f in "${outputs[@]}"; do
    cmp -s "$work/linux/$f" "$dir/$f" || { echo "with planted links, $f differs from the Linux build's"; ok=1; }
  done
  local fixture
  fixture=$(winepath -w "$here/../fixtures/tool/ok" 2>/dev/null | tr -d '\r')
  local target
  for target in "$out.reference" "$out"; do
    mkdir -p "$target"
    (cd "$work" && timeout 120 wine "$build/tools/scenario_tool.exe" compile -o "$(winepath -w "$target" | tr -d '\r')" \
      "$fixture" >"$target.log" 2>&1) || { echo "scenario_tool.exe compile -o failed"; cat "$target.log"; ok=1; }
  done
  for f in "${binaries[@]}"; do
    [ -f "$out/$f" ] && [ ! -L "$out/$f" ] && cmp -s "$out.reference/$f" "$out/$f" ||
      { echo "with planted links, compile -o wrote a different $f"; ok=1; }
  done
  for f in "${outputs[@]}" "${sources[@]}"; do
    while read -r name; do
      [ "$(readlink "$dir/$name")" = "$bait" ] || { echo "the link $name was changed"; ok=1; }
    done < <(guessed "$f")
  done
  for f in "${binaries[@]}"; do
    while read -r name; do
      [ "$(readlink "$out/$name")" = "$bait" ] || { echo "the link $name in the -o folder was changed"; ok=1; }
    done < <(guessed "$f")
  done
  [ "$(sha256sum <"$bait")" = "$bait_sum" ] || { echo "the file outside the folders changed"; ok=1; }
  local left
  left=$(find "$dir" "$out" -mindepth 1 -maxdepth 1 ! -type l -name '*.partial')
  [ -z "$left" ] || { echo "temporary files left: $left"; ok=1; }
  [ "$ok" -ne 0 ] || echo "  $(find "$dir" "$out" -type l | wc -l) planted links untouched, outputs correct"
  return $ok
}
