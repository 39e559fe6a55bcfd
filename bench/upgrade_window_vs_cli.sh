#!/usr/bin/env bash
# The firmware upgrade window's upload against the command-line tool's put
# of the same bytes, over the LAN and over a pseudo-terminal at 115200 Bd,
# both against one module simulator (vk7316r-sim) on loopback. Prints the
# median and the least of each (the least is the one least disturbed by
# other work on the machine); the goal is that the window adds at most 10 %.
#
# What each figure holds:
# - window: from pressing "Zapsat" to the job's end, so the upload with its
#   progress bar fed on the window thread and then boot.cmd "prog"
#   (bench/upgrade_window.cpp; it pauses 200 ms between runs, see there);
# - put: the whole `vk7316r put fw.hbn IMAGE` process: its start, the
#   connection attempt with the identification, and the upload;
# - fw-upload: the tool's own upgrade, the same work as the window's job
#   (upload, then boot.cmd "prog");
# - put 64 B: the same process putting a 64-byte file, so that put − put 64 B
#   and fw-upload − put 64 B are the transfers alone, without the process
#   start and the connection attempt;
# - direct: the window's procedure run on one thread with no window and no
#   worker, as the command-line tool runs it, timed inside the process. Over
#   the LAN the transfer takes some 15 ms, so the process figures above are
#   only good to a millisecond or two; window/direct is the figure the goal
#   is about.
#
# Usage: bench/upgrade_window_vs_cli.sh [LAN_BYTES [SERIAL_BYTES [LAN_RUNS [SERIAL_RUNS]]]]
#   defaults 2097152, 524288 (the serial link needs about 48 s per MiB), 11, 3
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="$(cd "${VK_BUILD_DIR:-build}" && pwd)"
lan_bytes="${1:-2097152}"
serial_bytes="${2:-524288}"
lan_runs="${3:-11}"
serial_runs="${4:-3}"
sim="$build_dir/tools/sim/vk7316r-sim"
cli="$build_dir/tools/cli/vk7316r"
window="$build_dir/bench/upgrade_window"
for exe in "$sim" "$cli" "$window"; do
  [ -x "$exe" ] || { echo "missing $exe: build targets vk7316r-sim vk7316r upgrade_window" >&2; exit 1; }
done

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/vk7316r-bench.XXXXXX")"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT

pty="$run_dir/ttyVK0"
"$sim" --lan 127.0.0.1:0 --pty "$pty" --baud-code 8 >"$run_dir/sim.log" 2>&1 &
sim_pid=$!
lan=""
for _ in $(seq 50); do
  lan="$(sed -n 's/^LAN: //p' "$run_dir/sim.log")"
  [ -n "$lan" ] && [ -e "$pty" ] && break
  sleep 0.1
done
[ -n "$lan" ] && [ -e "$pty" ] || { echo "the simulator did not start" >&2; cat "$run_dir/sim.log" >&2; exit 1; }

head -c "$lan_bytes" /dev/urandom >"$run_dir/lan.hbn"
head -c "$serial_bytes" /dev/urandom >"$run_dir/serial.hbn"
head -c 64 /dev/urandom >"$run_dir/small.hbn"

# "median least" of the numbers on stdin.
stats() { sort -n | awk '{ v[NR] = $1 } END { printf "%.4f %.4f", v[int((NR + 1) / 2)], v[1] }'; }

# Seconds of one run of a command, its output dropped.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
  end=$(date +%s%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", (b - a) / 1e9 }'
}

measure() {
  local name="$1" image="$2" runs="$3"
  shift 3
  local link=("$@")
  local cli_link=("${link[@]}")
  [ "${link[0]}" = "--serial" ] && cli_link+=(--baud 115200 --parity none)

  local w d p f i
  w=$(QT_QPA_PLATFORM=offscreen "$window" "${link[@]}" --runs "$runs" "$image" 2>/dev/null | sed -n 's/^run [0-9]*: \([0-9.]*\) s/\1/p' | stats)
  d=$(QT_QPA_PLATFORM=offscreen "$window" "${link[@]}" --runs "$runs" --direct "$image" 2>/dev/null | sed -n 's/^run [0-9]*: \([0-9.]*\) s/\1/p' | stats)
  p=$(for _ in $(seq "$runs"); do seconds "$cli" "${cli_link[@]}" put fw.hbn "$image"; done | stats)
  f=$(for _ in $(seq "$runs"); do seconds "$cli" "${cli_link[@]}" fw-upload "$image"; done | stats)
  i=$(for _ in $(seq "$runs"); do seconds "$cli" "${cli_link[@]}" put fw.hbn "$run_dir/small.hbn"; done | stats)
  awk -v n="$name" -v b="$(stat -c %s "$image")" -v r="$runs" -v w="$w" -v d="$d" -v p="$p" -v f="$f" -v i="$i" 'BEGIN {
    split(w, W, " "); split(d, D, " "); split(p, P, " "); split(f, F, " "); split(i, I, " ")
    for (k = 1; k <= 2; ++k) {
      u = P[k] - I[k]
      v = F[k] - I[k]
      printf "%-4s %8d B, %2d runs, %-6s window %8.4f s, direct %8.4f s, window/direct %4.2f | put %7.3f s, fw-upload %7.3f s, put 64 B %6.3f s | window/(put - 64 B) %4.2f, window/(fw-upload - 64 B) %4.2f\n",
        n, b, r, (k == 1 ? "median" : "least"), W[k], D[k], (D[k] > 0 ? W[k] / D[k] : 0), P[k], F[k], I[k], (u > 0 ? W[k] / u : 0), (v > 0 ? W[k] / v : 0)
    }
  }'
}

echo "median and least of each; simulator on LAN $lan and $pty (baud code 8, 115200 Bd)"
measure LAN "$run_dir/lan.hbn" "$lan_runs" --lan "$lan"
measure pty "$run_dir/serial.hbn" "$serial_runs" --serial "$pty"
