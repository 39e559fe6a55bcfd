#!/usr/bin/env bash
# The built program driven as a person drives it, on a virtual X display of
# its own with no window manager: keys, menus and a mouse click through
# xdotool, against the module simulator on loopback. It connects over the LAN, reads the
# network settings and writes a new gateway, watches the system diagnostics,
# saves a whole-module profile through the file dialog (the command-line
# tool then finds it equal to the module),
# uploads a small firmware image in service mode and stops a larger one half
# way, then ends the program from its menu. What counts is checked where no
# window can pretend: the simulator's device files and transfer log, the
# command-line tool reading the module afterwards, and the settings file the
# program left behind. A screenshot of every step stays in OUT/shots.
#
# Usage: program_e2e.sh PROGRAM SIMULATOR CLI OUT
#   OUT is made afresh (its old content removed); exit code 0 when every
#   check passed.
set -euo pipefail

if [ $# -ne 4 ]; then
  echo "usage: $0 PROGRAM SIMULATOR CLI OUT" >&2
  exit 2
fi
program_src="$1"
sim="$2"
cli="$3"
out="$4"
for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done

start_ns=$(date +%s%N)
rm -rf "$out"
mkdir -p "$out/program" "$out/shots" "$out/modul" "$out/home"
out="$(cd "$out" && pwd)"
shots="$out/shots"

xvfb_pid="" sim_pid="" program_pid=""
finish() {
  local status=$?
  for pid in "$program_pid" "$sim_pid" "$xvfb_pid"; do
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  if [ $status -ne 0 ]; then
    echo "e2e: FAILED; screenshots so far in $shots" >&2
    echo "--- simulator" >&2; cat "$out/sim.log" >&2 2>/dev/null || true
    echo "--- program" >&2; cat "$out/program.log" >&2 2>/dev/null || true
  fi
  exit $status
}
trap finish EXIT
# A stop from outside (a test's time-out) still ends what was started.
trap 'exit 143' TERM
trap 'exit 130' INT

fail() {
  echo "e2e: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$shots/failure.png" 2>/dev/null || true
  exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs a check until it holds, every 50 ms for at most SECONDS seconds.
wait_for() {
  local limit=$(($(now_ms) + $1 * 1000)) what="$2"
  shift 2
  until "$@"; do
    [ "$(now_ms)" -lt "$limit" ] || fail "timed out waiting for $what"
    sleep 0.05
  done
}

step=0
shot() {
  step=$((step + 1))
  local file
  file="$shots/$(printf %02d "$step")-$1.png"
  import -window root "$file"
  echo "e2e: step $step: $2 ($file)"
}

# --- a display of its own: Xvfb picks a free number and tells it on fd 3.
# Without -noreset the server starts afresh whenever its last client has
# gone, and a client that comes in meanwhile (the program after a lookup,
# or any stray client of that display number) is turned away.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
# The number is complete with its newline; then a client must get in.
display_ready() {
  grep -q '^[0-9][0-9]*$' "$out/display" 2>/dev/null ||
    { kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$out/xvfb.log")"; false; }
}
wait_for 10 "the virtual display" display_ready
export DISPLAY=":$(head -n1 "$out/display")"
display_answers() { xdotool getdisplaygeometry >/dev/null 2>&1; }
if ! display_answers; then
  echo "e2e: display $DISPLAY announced but not answering yet" >&2
  wait_for 10 "the virtual display to answer" display_answers
fi
unset WAYLAND_DISPLAY

# --- the module simulator: slow ACKs make an upload long enough to stop
# half way; its log tells when each transfer has ended
"$sim" --lan 127.0.0.1:0 --no-serial --state "$out/modul" --fault PomalyZapis --log >"$out/sim.log" 2>&1 &
sim_pid=$!
sim_ready() { grep -q '^LAN: ' "$out/sim.log" || { kill -0 "$sim_pid" 2>/dev/null || fail "the simulator did not start"; false; }; }
wait_for 10 "the simulator" sim_ready
lan="$(sed -n 's/^LAN: //p' "$out/sim.log")"
# Transfers of this kind ended so far ("read info.txt: 29 B sent").
transfers() { grep -c "^TFTP $1" "$out/sim.log" || true; }
transfers_reach() { [ "$(transfers "$1")" -ge "$2" ]; }

# --- two firmware images as the module's loader takes them: the length
# (little-endian), 16 filler bytes, the build time 24.11.2023 9:05:07 as
# seconds, minutes, hours, day, month, year - 2000, the image name in 38
# bytes, then the image itself
image() {
  local file="$1" length="$2" name="$3" byte
  {
    for shift_by in 0 8 16 24; do
      byte=$(printf %02x $((length >> shift_by & 255)))
      printf "\\x$byte"
    done
    head -c 16 /dev/zero | tr '\0' 'Z'
    printf '\x07\x05\x09\x18\x0b\x17'
    printf '%s' "$name"
    head -c $((38 - ${#name})) /dev/zero
    head -c $((length - 64)) /dev/urandom
  } >"$file"
}
small="$out/e2e_small.hbn"
large="$out/e2e_large.hbn"
image "$small" 65536 e2e_small_1_01
image "$large" 2097152 e2e_large_1_02
gateway="192.168.0.$((RANDOM % 90 + 100))"

# --- the program from a folder of its own, so that its settings file (kept
# beside the executable) is this run's: service mode on
ln -f "$program_src" "$out/program/W_vk7316r" 2>/dev/null || cp "$program_src" "$out/program/W_vk7316r"
printf '[Program]\nServis=1\n' >"$out/program/W_vk7316r.ini"
(cd "$out" && HOME="$out/home" XDG_CONFIG_HOME="$out/home/.config" QT_QPA_PLATFORM=xcb \
  exec "$out/program/W_vk7316r" >"$out/program.log" 2>&1) &
program_pid=$!

# The first visible window whose caption matches the regular expression.
window() {
  local limit=$(($(now_ms) + 10000)) id
  while :; do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)"
    [ -n "$id" ] && { echo "$id"; return; }
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended while waiting for the window \"$1\""
    [ "$(now_ms)" -lt "$limit" ] || fail "no window \"$1\""
    sleep 0.05
  done
}
gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }

# A window gets the keyboard only when told: no window manager does it.
keys() {
  local id="$1"
  shift
  xdotool windowfocus --sync "$id"
  xdotool key --clearmodifiers --delay 40 "$@"
}
type_text() {
  xdotool windowfocus --sync "$1"
  xdotool type --clearmodifiers --delay 20 "$2"
}

# A fingerprint of what a window shows.
look() { import -window "$1" rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }
# Waits until the window shows something other than `before` and has stopped
# changing (two equal looks in a row): the result is on the screen.
settled() {
  local id="$1" before="$2" last="" now same=0 limit=$(($(now_ms) + 10000))
  while [ $same -lt 2 ]; do
    [ "$(now_ms)" -lt "$limit" ] || fail "the window did not settle"
    now="$(look "$id")"
    if [ "$now" != "$before" ] && [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
    last="$now"
    sleep 0.05
  done
}

main="$(window '^ VK-7316R  -  nastaven')"
shot main-window "the main window, service mode: Soubor is offered"

# --- connect: Připojení → Připojení modulu, interface LAN, the simulator's
# address, "Inicializace připojení"
keys "$main" alt+p Return
dialog="$(window '^P.*ipojen.* modulu$')"
# Focus starts on the interface list: Down chooses LAN; then the address
# field, the time-out field and the button, in tab order.
keys "$dialog" Down Tab ctrl+a
type_text "$dialog" "$lan"
before="$(look "$dialog")"
keys "$dialog" Tab Tab space
wait_for 10 "the connection attempt" transfers_reach "read info.txt" 1
settled "$dialog" "$before"
shot connected "connected to the simulator at $lan"
keys "$dialog" Escape
wait_for 10 "the connection dialog to close" gone '^P.*ipojen.* modulu$'

# --- Konfigurace → Síťové parametry: read, change the gateway, write
reads=$(transfers "read lan4.cfg")
keys "$main" alt+k Return
dialog="$(window '^ Nastaven.* parametr')"
# From the first field backwards: Cancel, Ok, Přečíst.
before="$(look "$dialog")"
keys "$dialog" shift+Tab shift+Tab shift+Tab space
wait_for 10 "the read of lan4.cfg" transfers_reach "read lan4.cfg" $((reads + 1))
settled "$dialog" "$before"
shot lan-read "network settings read from the module"
# The read leaves the focus on Cancel, the one button a job does not
# disable; the next Tab wraps round to the first field, then address, mask
# and gateway.
keys "$dialog" Tab Tab Tab Tab ctrl+a
type_text "$dialog" "$gateway"
before="$(look "$dialog")"
# Past "Default parametry" to "Zapsat".
keys "$dialog" Tab Tab space
wait_for 10 "the write of lan4.cfg" transfers_reach "write lan4.cfg: 16 B stored" 1
wait_for 10 "the read-back of lan4.cfg" transfers_reach "read lan4.cfg" $((reads + 2))
settled "$dialog" "$before"
shot lan-written "gateway $gateway written and read back"
keys "$dialog" Escape
wait_for 10 "the network settings to close" gone '^ Nastaven.* parametr'
stored_gateway="$(od -An -tu1 -j8 -N4 "$out/modul/lan4.cfg" | awk '{ print $1 "." $2 "." $3 "." $4 }')"
[ "$stored_gateway" = "$gateway" ] || fail "lan4.cfg holds the gateway $stored_gateway, not the typed $gateway"

# --- Diagnostika → Systém: the module's uptime, polled
polls=$(transfers "read sys.bin")
keys "$main" alt+d Return
dialog="$(window '^ Diagnostika syst')"
wait_for 10 "three polls of sys.bin" transfers_reach "read sys.bin" $((polls + 3))
# Each poll starts when the last has answered, so the first two polls'
# values are on the screen by now.
shot diagnostics "system diagnostics with the simulator's uptime"
keys "$dialog" Escape
wait_for 10 "the diagnostics to close" gone '^ Diagnostika syst'

# --- Soubor → Upgrade firmware: read, upload the small image
# --- Soubor → Uložit profil modulu…: the file dialog, then the window that
# reads every area and writes the file
profile="$out/e2e_profil.json"
keys "$main" alt+s Down Down Return
dialog="$(window '^(Ulo.* jako|Save As)')"
type_text "$dialog" "$profile"
keys "$dialog" Return
window_profile="$(window '^ Ulo.*it profil modulu')"
# The window writes the file when its job has ended; its report is painted
# right after.
wait_for 10 "the profile file" test -s "$profile"
sleep 0.2
shot profile-saved "whole-module profile saved"
grep -q '"IP4_Brana":"'"$gateway"'"' "$profile" || fail "the profile does not hold the gateway $gateway"
"$cli" --lan "$lan" diff "$profile" >/dev/null || fail "the saved profile differs from the module"
keys "$window_profile" Escape
wait_for 10 "the profile window to close" gone '^ Ulo.*it profil modulu'

keys "$main" alt+s Down Down Down Down Return
dialog="$(window '^ Upgrade firmware')"
before="$(look "$dialog")"
# The focus starts on "Přečíst", the first in the window's tab order.
keys "$dialog" space
wait_for 10 "the read of fw.akt" transfers_reach "read fw.akt" 1
settled "$dialog" "$before"
shot firmware-read "the module's current firmware"
# The read disabled "Přečíst" and the focus moved on to the image field.
keys "$dialog" ctrl+a
type_text "$dialog" "$small"
before="$(look "$dialog")"
keys "$dialog" Tab Tab space
wait_for 20 "the small upload" transfers_reach "write boot.cmd: 5 B stored" 1
settled "$dialog" "$before"
shot small-uploaded "small image uploaded and armed"
cmp -s "$small" "$out/modul/fw.hbn" || fail "the module's fw.hbn is not the small image"
cp "$out/modul/boot.cmd" "$out/boot.cmd.armed"
printf 'prog\0' | cmp -s - "$out/boot.cmd.armed" || fail "boot.cmd after the upload is not \"prog\""

# --- the large image, stopped half way by "Přerušit"
# The progress bar's fill is measured on the row through its middle: after
# the small upload it is full, which gives the row and its full width.
read -r width height < <(xdotool getwindowgeometry "$dialog" | awk '/Geometry/ { split($2, a, "x"); print a[1], a[2] }')
import -window "$dialog" "$out/bar-full.png"
# Rows of bar colour (far more blue than red) in the column a quarter across:
# its top and its middle.
read -r bar_top bar_row < <(convert "$out/bar-full.png" -crop "1x${height}+$((width / 4))+0" +repage \
  -fx '(b-r)>0.25?1:0' -depth 8 txt:- | awk -F'[,:]' '/#FFFFFF|white/ { y[n++] = $2 } END { if (n) print y[0], y[int(n / 2)] }')
[ -n "$bar_row" ] || fail "no progress bar found in the upgrade window"
filled() { convert "$1" -crop "${width}x1+0+${bar_row}" +repage -fx '(b-r)>0.25?1:0' -format '%[fx:round(mean*w)]' info:; }
full="$(filled "$out/bar-full.png")"
[ "$full" -gt 50 ] || fail "the full progress bar is only $full pixels wide"
# A click into the image field, which lies just above the bar, at its left.
xdotool mousemove --window "$dialog" $((width / 4)) $((bar_top - 14)) click 1
keys "$dialog" ctrl+a
type_text "$dialog" "$large"
keys "$dialog" Tab Tab space
stopped_at=""
limit=$(($(now_ms) + 30000))
while [ -z "$stopped_at" ]; do
  [ "$(now_ms)" -lt "$limit" ] || fail "the large upload never reached a third of the bar"
  import -window "$dialog" "$out/bar-now.png"
  now=$(filled "$out/bar-now.png")
  if [ $((now * 100)) -ge $((full * 35)) ]; then
    [ $((now * 100)) -lt $((full * 90)) ] || fail "the upload was at $((now * 100 / full)) % before it could be stopped"
    stopped_at=$((now * 100 / full))
  fi
  [ "$(transfers "write fw.hbn")" -lt 2 ] || fail "the large upload ended before it could be stopped"
done
# The upload left the focus on Cancel; one step back is "Přerušit".
before="$(look "$dialog")"
keys "$dialog" shift+Tab space
wait_for 10 "the stopped upload" transfers_reach "write fw.hbn" 2
settled "$dialog" "$before"
shot large-stopped "large upload stopped at about $stopped_at % of the bar"
line="$(grep '^TFTP write fw.hbn' "$out/sim.log" | tail -n1)"
case "$line" in
  *"stopped by the client") ;;
  *) fail "the second upload did not end by the program's stop: $line" ;;
esac
sent="$(echo "$line" | sed -n 's/^TFTP write fw.hbn: \([0-9]*\) B .*/\1/p')"
size=$(stat -c %s "$large")
[ "$sent" -ge $((size / 5)) ] && [ "$sent" -le $((size * 9 / 10)) ] ||
  fail "the upload stopped after $sent of $size bytes, not half way"
cmp -s "$small" "$out/modul/fw.hbn" || fail "the stopped upload changed the module's fw.hbn"
cmp -s "$out/boot.cmd.armed" "$out/modul/boot.cmd" || fail "the stopped upload changed boot.cmd"
keys "$dialog" Escape
wait_for 10 "the upgrade window to close" gone '^ Upgrade firmware'

# --- Soubor → Konec
shot before-exit "back in the main window"
keys "$main" alt+s Down Down Down Down Down Return
exited() { ! kill -0 "$program_pid" 2>/dev/null; }
wait_for 20 "the program to end" exited
program_status=0
wait "$program_pid" || program_status=$?
program_pid=""
[ "$program_status" -eq 0 ] || fail "the program ended with exit code $program_status"

# --- the module and the settings file afterwards
"$cli" --lan "$lan" get boot.cmd "$out/boot.cmd.after" >/dev/null || fail "the command-line tool could not read boot.cmd"
cmp -s "$out/boot.cmd.armed" "$out/boot.cmd.after" || fail "boot.cmd read back is not what the first upload armed"
"$cli" --lan "$lan" read lan4.cfg >"$out/lan4.txt" || fail "the command-line tool could not read lan4.cfg"
grep -qx "IP4_Brana=$gateway" "$out/lan4.txt" || fail "the module reports $(grep IP4_Brana "$out/lan4.txt"), not $gateway"
ini="$out/program/W_vk7316r.ini"
ini_has() { awk -v s="[$1]" -v k="$2" '/^\[/ { in_s = ($0 == s) } in_s && $0 == k { found = 1 } END { exit !found }' "$ini"; }
ini_has Program Servis=1 || fail "the settings file lost Servis=1: $(cat "$ini")"
ini_has "Rozhraní" "Rozhraní=1" || fail "the settings file does not keep the LAN interface: $(cat "$ini")"
ini_has LAN "IP adresa=$lan" || fail "the settings file does not keep the address $lan: $(cat "$ini")"

echo "e2e: passed in $((($(date +%s%N) - start_ns) / 1000000)) ms; screenshots in $shots"
