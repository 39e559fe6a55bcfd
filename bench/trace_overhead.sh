#!/usr/bin/env bash
# What the traffic trace costs: a 2 MiB `get` over the LAN and a 256 KiB
# `put` over a pseudo-terminal against the module simulator, each run
# without and with --trace in alternating runs, so that both see the same
# machine. Goal: the trace's median at most 5 % above the median without.
#
# Usage: bench/trace_overhead.sh [RUNS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="$(cd "${VK_BUILD_DIR:-build}" && pwd)"
runs="${1:-5}"
cli="$build_dir/tools/cli/vk7316r"
sim="$build_dir/tools/sim/vk7316r-sim"
for exe in "$cli" "$sim"; do
  [ -x "$exe" ] || { echo "missing $exe (build targets vk7316r vk7316r-sim)" >&2; exit 1; }
done

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/vk7316r-trace.XXXXXX")"
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT

# The fastest serial rate, so the put measures the link's own work rather
# than the simulated wire.
# log.bin, read-only on the module, is put into the state folder beforehand.
mkdir "$run_dir/state"
head -c 2097152 /dev/urandom >"$run_dir/state/log.bin"
"$sim" --lan 127.0.0.1:0 --pty "$run_dir/pty" --state "$run_dir/state" --baud-code 8 --parity none \
  >"$run_dir/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do grep -q '^Serial:' "$run_dir/sim.log" 2>/dev/null && break; sleep 0.1; done
lan="$(sed -n 's/^LAN: //p' "$run_dir/sim.log")"
[ -n "$lan" ] || { echo "the simulator did not start" >&2; cat "$run_dir/sim.log" >&2; exit 1; }

head -c 262144 /dev/urandom >"$run_dir/fw.bin"

seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
  end=$(date +%s%N)
  echo "scale=4; ($end - $start) / 1000000000" | bc
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

measure() {
  local name="$1"; shift
  local plain="" traced=""
  for _ in $(seq "$runs"); do
    plain+="$(seconds "$cli" "$@")"$'\n'
    traced+="$(seconds "$cli" --trace "$run_dir/trace.txt" "$@")"$'\n'
  done
  local p t
  p="$(printf '%s' "$plain" | median)"
  t="$(printf '%s' "$traced" | median)"
  printf '%-34s without %8.3f s  with trace %8.3f s  %+6.1f %%  (%s lines)\n' "$name" "$p" "$t" \
    "$(echo "scale=4; ($t - $p) * 100 / $p" | bc)" "$(wc -l <"$run_dir/trace.txt")"
}

measure "LAN get 2 MiB (log.bin)" --lan "$lan" get log.bin "$run_dir/x.bin"
measure "pty put 256 KiB (fw.hbn, 115200)" --serial "$run_dir/pty" --baud 115200 --parity none put fw.hbn "$run_dir/fw.bin"
