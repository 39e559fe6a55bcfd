#!/usr/bin/env bash
# What the program costs the machine, on a virtual X display of its own
# against the module simulator on loopback:
# - start: from starting the process until its main window is mapped, the
#   median and the least of RUNS starts (goal: median 150 ms at most);
# - resident memory (VmRSS) once the main window is up, and after the line
#   diagnostics window ("Diagnostika -> Modbus RTU master") has polled the
#   module for POLL_S seconds (goal: 40 MB at most), with what it is made of;
# - CPU of that polling: user + system ticks of the program over the
#   POLL_S seconds, as % of one core (goal: below 2 %);
# - CPU when idle, connected, with no window but the main one open:
#   ticks over IDLE_S seconds (goal: 0).
# The window is looked for every 5 ms with xdotool, a process each time,
# which takes a little of the CPU the starting program would otherwise have.
#
# Usage: bench/program_resources.sh [RUNS [POLL_S [IDLE_S]]]   defaults 10 60 10
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="$(cd "${VK_BUILD_DIR:-build}" && pwd)"
runs="${1:-10}"
poll_s="${2:-60}"
idle_s="${3:-10}"
sim="$build_dir/tools/sim/vk7316r-sim"
for exe in "$build_dir/src/app/W_vk7316r" "$sim"; do
  [ -x "$exe" ] || { echo "missing $exe: build targets W_vk7316r vk7316r-sim" >&2; exit 1; }
done
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/vk7316r-resources.XXXXXX")"
xvfb_pid="" sim_pid="" program_pid=""
cleanup() {
  for pid in "$program_pid" "$sim_pid" "$xvfb_pid"; do
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$run_dir"
}
trap cleanup EXIT
# A stop from outside (a test's time-out) still ends what was started.
trap 'exit 143' TERM
trap 'exit 130' INT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$run_dir/display" >"$run_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
# The number is complete with its newline; then a client must get in.
# -noreset: the server stays as it is when a started program has ended.
for _ in $(seq 200); do grep -q '^[0-9][0-9]*$' "$run_dir/display" 2>/dev/null && break; sleep 0.05; done
grep -q '^[0-9][0-9]*$' "$run_dir/display" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$run_dir/display")"
for _ in $(seq 200); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
unset WAYLAND_DISPLAY

"$sim" --lan 127.0.0.1:0 --no-serial --log >"$run_dir/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do grep -q '^LAN: ' "$run_dir/sim.log" && break; sleep 0.05; done
lan="$(sed -n 's/^LAN: //p' "$run_dir/sim.log")"
[ -n "$lan" ] || { echo "the simulator did not start" >&2; exit 1; }
transfers() { grep -c "^TFTP $1" "$run_dir/sim.log" || true; }
wait_transfers() {  # PATTERN COUNT
  for _ in $(seq 200); do [ "$(transfers "$1")" -ge "$2" ] && return; sleep 0.05; done
  echo "no transfer \"$1\" from the program" >&2
  exit 1
}

# The program from a folder of its own, its settings pointing at the simulator.
mkdir -p "$run_dir/program" "$run_dir/home"
program="$run_dir/program/W_vk7316r"
ln -f "$build_dir/src/app/W_vk7316r" "$program" 2>/dev/null || cp "$build_dir/src/app/W_vk7316r" "$program"
printf '[Rozhraní]\nRozhraní=1\n[LAN]\nIP adresa=%s\nVerze IP=0\nTimeout=1000\n' "$lan" >"$run_dir/program/W_vk7316r.ini"
start_program() {
  HOME="$run_dir/home" XDG_CONFIG_HOME="$run_dir/home/.config" QT_QPA_PLATFORM=xcb \
    "$program" >>"$run_dir/program.log" 2>&1 &
  program_pid=$!
}
stop_program() {
  kill "$program_pid"
  wait "$program_pid" || true
  program_pid=""
}
main_caption='^ VK-7316R  -  nastaven'
window() {  # the first visible window whose caption matches, within 10 s
  local id
  for _ in $(seq 2000); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)"
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.005
  done
  echo "no window \"$1\"" >&2
  exit 1
}
keys() {
  xdotool windowfocus --sync "$1"
  shift
  xdotool key --clearmodifiers --delay 40 "$@"
}
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$program_pid/status"; }
# What the resident memory is made of: the program's own (anonymous), pages of
# mapped files (mostly shared library code, shared with every other Qt
# program) and shared memory (window images shared with the X server).
rss_parts() {
  awk '/^RssAnon:/ { a = $2 } /^RssFile:/ { f = $2 } /^RssShmem:/ { m = $2 }
    END { printf "anonymous %d kB, files %d kB, shared memory %d kB", a, f, m }' "/proc/$program_pid/status"
}
ticks() { awk '{ print $14 + $15 }' "/proc/$program_pid/stat"; }  # utime + stime
hz=$(getconf CLK_TCK)

# --- start until the main window is mapped
starts=()
for i in $(seq "$runs"); do
  t0=$(date +%s%N)
  start_program
  window "$main_caption" >/dev/null
  t1=$(date +%s%N)
  starts+=($(((t1 - t0) / 1000000)))
  if [ "$i" -lt "$runs" ]; then stop_program; fi
done
read -r start_median start_least < <(printf '%s\n' "${starts[@]}" | sort -n |
  awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)], v[1] }')
echo "start until the main window is mapped, $runs runs: median $start_median ms, least $start_least ms (${starts[*]} ms)"

# --- memory after start (the last program of the loop stays)
sleep 1
rss_start=$(rss_kb)
echo "resident memory after start: $(mib "$rss_start") MiB ($rss_start kB: $(rss_parts))"

# --- connect, then the line diagnostics window polls
main="$(window "$main_caption")"
keys "$main" alt+p Return
dialog="$(window '^P.*ipojen.* modulu$')"
# The settings chose LAN and the simulator: address, time-out, the button.
keys "$dialog" Tab Tab Tab space
wait_transfers "read info.txt" 1
sleep 0.5
keys "$dialog" Escape
for _ in $(seq 100); do xdotool search --onlyvisible --name '^P.*ipojen.* modulu$' >/dev/null 2>&1 || break; sleep 0.05; done
keys "$main" alt+d Down Return
window '^ Diagnostika linky' >/dev/null
polls_before=$(grep -c '^TFTP read' "$run_dir/sim.log" || true)
sleep 1
t_before=$(ticks)
sleep "$poll_s"
t_after=$(ticks)
rss_poll=$(rss_kb)
rss_poll_parts="$(rss_parts)"
polls=$(($(grep -c '^TFTP read' "$run_dir/sim.log" || true) - polls_before))
awk -v t=$((t_after - t_before)) -v s="$poll_s" -v hz="$hz" -v p="$polls" 'BEGIN {
  printf "CPU of the line diagnostics polling: %d ticks in %d s = %.2f %% of one core (%d reads served in all)\n", t, s, 100 * t / (s * hz), p }'
echo "resident memory after $poll_s s of polling: $(mib "$rss_poll") MiB ($rss_poll kB: $rss_poll_parts)"
diag="$(window '^ Diagnostika linky')"
keys "$diag" Escape
for _ in $(seq 100); do xdotool search --onlyvisible --name '^ Diagnostika linky' >/dev/null 2>&1 || break; sleep 0.05; done

# --- idle: connected, no window but the main one
sleep 1
t_before=$(ticks)
sleep "$idle_s"
t_after=$(ticks)
echo "CPU when idle, no window open: $((t_after - t_before)) ticks in $idle_s s (one tick = $((1000 / hz)) ms)"
echo "simulator at $lan; program pid $program_pid; the machine's load: $(cut -d' ' -f1-3 /proc/loadavg)"
