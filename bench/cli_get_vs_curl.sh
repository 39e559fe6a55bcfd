#!/usr/bin/env bash
# The command-line tool's whole run against curl's, both fetching the same
# 2 MiB file from the same tftpd-hpa on loopback (blksize 1500 on both),
# in alternating runs so that both see the same machine; then the whole
# `vk7316r identify` run over the LAN against the module simulator.
#
# What each figure holds: the whole process, from its start to its exit.
# For vk7316r that is the connection attempt (info.txt read and checked)
# plus the transfer; for curl the transfer alone. The tool reads info.txt
# first, so the server's folder holds one. Goals: get ≤ 1.0× curl (median),
# identify ≤ 20 ms (median).
#
# Needs root: tftpd-hpa drops to the user nobody.
# Usage: bench/cli_get_vs_curl.sh [RUNS]   (default 9)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="$(cd "${VK_BUILD_DIR:-build}" && pwd)"
runs="${1:-9}"
cli="$build_dir/tools/cli/vk7316r"
sim="$build_dir/tools/sim/vk7316r-sim"
for exe in "$cli" "$sim" /usr/sbin/in.tftpd /usr/bin/curl; do
  [ -x "$exe" ] || { echo "missing $exe (build targets vk7316r vk7316r-sim; packages tftpd-hpa curl)" >&2; exit 1; }
done

run_dir="$(mktemp -d "${TMPDIR:-/tmp}/vk7316r-get.XXXXXX")"
tftpd_pid=""
sim_pid=""
cleanup() {
  [ -n "$tftpd_pid" ] && kill "$tftpd_pid" 2>/dev/null && wait "$tftpd_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT

root="$run_dir/root"
mkdir "$root"
head -c 2097152 /dev/urandom >"$root/big.bin"
printf 'VK-7316R v.1.00 (sn.23110042)' >"$root/info.txt"
chmod 755 "$run_dir" "$root"
chmod 644 "$root"/*

# A free port can be taken before the server binds it: then it exits at
# once and another is tried.
port=""
for _ in $(seq 20); do
  p=$((20000 + RANDOM % 40000))
  /usr/sbin/in.tftpd -L -a "127.0.0.1:$p" -s -u nobody -B 1500 "$root" 2>"$run_dir/tftpd.log" &
  tftpd_pid=$!
  sleep 0.2
  if kill -0 "$tftpd_pid" 2>/dev/null; then port="$p"; break; fi
  tftpd_pid=""
done
[ -n "$port" ] || { echo "tftpd-hpa did not start" >&2; cat "$run_dir/tftpd.log" >&2; exit 1; }

# Seconds of one run of a command, its output dropped; fails the script
# when the command fails.
seconds() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
  end=$(date +%s%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f\n", (b - a) / 1e9 }'
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

: >"$run_dir/cli.txt"
: >"$run_dir/curl.txt"
for _ in $(seq "$runs"); do
  rm -f "$run_dir/out-cli" "$run_dir/out-curl"
  seconds "$cli" --lan "127.0.0.1:$port" get big.bin "$run_dir/out-cli" >>"$run_dir/cli.txt"
  seconds curl -s --tftp-blksize 1500 -o "$run_dir/out-curl" "tftp://127.0.0.1:$port/big.bin" >>"$run_dir/curl.txt"
  cmp -s "$root/big.bin" "$run_dir/out-cli" || { echo "vk7316r get: the file differs" >&2; exit 1; }
  cmp -s "$root/big.bin" "$run_dir/out-curl" || { echo "curl: the file differs" >&2; exit 1; }
done
c=$(median <"$run_dir/cli.txt")
u=$(median <"$run_dir/curl.txt")
awk -v c="$c" -v u="$u" -v r="$runs" 'BEGIN {
  printf "get 2 MiB from tftpd-hpa, blksize 1500, median of %d alternating runs: vk7316r %.1f ms, curl %.1f ms, vk7316r/curl %.2f (goal <= 1.00)\n",
    r, c * 1000, u * 1000, c / u }'

: >"$run_dir/sim.log"  # read at once below, before the simulator may have opened it
"$sim" --lan 127.0.0.1:0 >"$run_dir/sim.log" 2>&1 &
sim_pid=$!
lan=""
for _ in $(seq 50); do
  lan="$(sed -n 's/^LAN: //p' "$run_dir/sim.log")"
  [ -n "$lan" ] && break
  sleep 0.1
done
[ -n "$lan" ] || { echo "the simulator did not start" >&2; cat "$run_dir/sim.log" >&2; exit 1; }
i=$(for _ in $(seq "$runs"); do seconds "$cli" --lan "$lan" identify; done | median)
awk -v i="$i" -v r="$runs" 'BEGIN {
  printf "identify over the LAN to the simulator, whole process, median of %d runs: %.1f ms (goal <= 20 ms)\n", r, i * 1000 }'
