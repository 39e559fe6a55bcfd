#!/usr/bin/env bash
# The search for the module on a serial line (vk7316r scan) against the
# module simulator on a pseudo-terminal, whole process from start to exit.
#
# 1. Rates and parities at a known address, with the simulator at 115200 Bd
#    and odd parity, the last of the 21 settings tried: the longest search
#    that finds the module. Goal <= 3 s.
# 2. The same search finding nothing (no module at that address): all 21
#    settings wait their whole try.
# 3. --all-addresses with the simulator at 115200 Bd: the rate search as in
#    1, then all 247 addresses, 246 of them silent. Goal for the address
#    sweep alone (the run less the median of 1) <= 15 s.
#
# The tries wait the default floor of 50 ms ([UART] Hledani), as on a real
# line; a pty adds no adapter latency, so every figure is wait-bound.
# Usage: bench/scan_serial.sh [RUNS]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="$(cd "${VK_BUILD_DIR:-build}" && pwd)"
runs="${1:-3}"
cli="$build_dir/tools/cli/vk7316r"
sim="$build_dir/tools/sim/vk7316r-sim"
for exe in "$cli" "$sim"; do
  [ -x "$exe" ] || { echo "missing $exe (build targets vk7316r vk7316r-sim)" >&2; exit 1; }
done

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/vk7316r-scan.XXXXXX")"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT

pty="$run_dir/pty"
"$sim" --no-lan --pty "$pty" --baud-code 8 --parity odd --address 17 >"$run_dir/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do
  grep -q '^Serial: ' "$run_dir/sim.log" && break
  sleep 0.1
done
grep -q '^Serial: ' "$run_dir/sim.log" || { echo "the simulator did not start" >&2; cat "$run_dir/sim.log" >&2; exit 1; }

# The tool runs in a folder of its own, so that no settings file changes
# the floor or the address.
cp "$cli" "$run_dir/vk7316r"
cli="$run_dir/vk7316r"

# Seconds of one run; `expect` is the exit code the run must end with and
# `pattern` a line its stdout must hold (empty: none).
seconds() {
  local expect="$1" pattern="$2" start end rc=0
  shift 2
  start=$(date +%s%N)
  "$@" >"$run_dir/out" 2>&1 || rc=$?
  end=$(date +%s%N)
  [ "$rc" = "$expect" ] || { echo "exit $rc instead of $expect: $*" >&2; cat "$run_dir/out" >&2; return 1; }
  [ -z "$pattern" ] || grep -qx "$pattern" "$run_dir/out" || { echo "no \"$pattern\": $*" >&2; cat "$run_dir/out" >&2; return 1; }
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f\n", (b - a) / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

found=$(for _ in $(seq "$runs"); do seconds 0 "Parita=odd" "$cli" --serial "$pty" --address 17 scan; done | median)
none=$(for _ in $(seq "$runs"); do seconds 1 "" "$cli" --serial "$pty" --address 18 scan; done | median)
all=$(for _ in $(seq "$runs"); do seconds 0 "Adresa=17" "$cli" --serial "$pty" --address 17 --all-addresses scan; done | median)
awk -v f="$found" -v n="$none" -v a="$all" -v r="$runs" 'BEGIN {
  printf "medians of %d runs\n", r
  printf "rates and parities, found at the last (115200 Bd, odd):  %.2f s (goal <= 3 s)\n", f
  printf "rates and parities, nothing found:                        %.2f s\n", n
  printf "--all-addresses at 115200 Bd, whole run:                  %.2f s\n", a
  printf "  of it the sweep of addresses 1-247:                     %.2f s (goal <= 15 s)\n", a - f
  exit (f <= 3 && a - f <= 15) ? 0 : 1 }'
