#!/bin/bash
# The Ansible recipe against simulators on loopback: ten LAN modules in
# parallel (check mode changes nothing, the first run changes all ten, the
# second none), a mute module that fails alone within its own time-out, and
# three jobs on one shared serial port served one after another.
# Usage: flotila.sh VK7316R VK7316R-SIM CONTRIB_ANSIBLE_DIR
set -u
cli=$1 sim=$2 recept=$3
if ! command -v ansible-playbook >/dev/null; then
  echo "SKIP: ansible-playbook is not installed (scripts/setup installs ansible-core)"
  exit 77
fi
tmp=$(mktemp -d)
pids=()
konec() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap konec EXIT
selhani=0
chyba() { echo "FAIL: $*"; selhani=1; }

# Starts a simulator; prints its "LAN: host:port" or pty path once up.
spust() {  # NAME ARGS...
  local jmeno=$1; shift
  "$sim" "$@" >"$tmp/$jmeno.out" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    grep -q '^State: ' "$tmp/$jmeno.out" && return 0
    sleep 0.05
  done
  echo "simulator $jmeno did not start:"; cat "$tmp/$jmeno.out"; exit 1
}

{
  echo "all:"
  echo "  vars: {ansible_connection: local, ansible_python_interpreter: /usr/bin/python3, vk_cli: $cli}"
  echo "  children:"
  echo "    vk7316r_lan:"
  echo "      hosts:"
} >"$tmp/inventar.yml"
for i in $(seq 1 10); do
  spust m$i --lan 127.0.0.1:0 --no-serial
  echo "        m$i: {vk_lan: \"$(sed -n 's/^LAN: //p' "$tmp/m$i.out")\"}" >>"$tmp/inventar.yml"
done
# Mute: a port where nobody answers (a simulator started and stopped).
spust ticho --lan 127.0.0.1:0 --no-serial
ticho=$(sed -n 's/^LAN: //p' "$tmp/ticho.out")
kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null
spust sbernice --no-lan --pty "$tmp/pty"
cat >>"$tmp/inventar.yml" <<EOI
        mute: {vk_lan: "$ticho", vk_timeout: 500}
    vk7316r_bus:
      hosts:
        b1: {vk_serial: "$tmp/pty", vk_parity: none, vk_port_wait: 10000}
        b2: {vk_serial: "$tmp/pty", vk_parity: none, vk_port_wait: 10000}
        b3: {vk_serial: "$tmp/pty", vk_parity: none, vk_port_wait: 10000}
EOI

export ANSIBLE_LOCAL_TEMP=$tmp/at ANSIBLE_REMOTE_TEMP=$tmp/at ANSIBLE_FORKS=10 \
  ANSIBLE_NOCOLOR=1 ANSIBLE_HOST_KEY_CHECKING=False ANSIBLE_RETRY_FILES_ENABLED=False HOME=$tmp
# Runs the recipe; prints "host:changed:failures" per host, sorted.
hraj() {  # OUTPUT LIMIT ARGS...
  local vystup=$1; shift
  ansible-playbook -i "$tmp/inventar.yml" "$recept/vk7316r.yml" "$@" >"$tmp/$vystup.log" 2>&1
  sed -n '/^PLAY RECAP/,$p' "$tmp/$vystup.log" |
    sed -nE 's/^([a-z0-9]+) +: .* changed=([0-9]+) +unreachable=([0-9]+) +failed=([0-9]+).*/\1:\2:\3 \4/p' |
    awk '{ split($1, a, ":"); print a[1] ":" a[2] ":" a[3] + $2 }' | sort
}
unitid() { "$cli" --lan "$(sed -n 's/^LAN: //p' "$tmp/$1.out")" read mbtcp.cfg | sed -n 's/^UnitID=//p'; }
soucet() { awk -F: -v k="$1" '{ s += $k } END { print s + 0 }'; }
nastaveni='{"vk_settings": {"mbtcp.cfg": {"UnitID": 7}}}'
lan=(--limit 'vk7316r_lan:!mute' -e "$nastaveni")

r=$(hraj nanecisto "${lan[@]}" --check)
[ "$(soucet 2 <<<"$r")" = 10 ] || chyba "check mode: expected 10 reported changes: $r"
for i in 1 5 10; do [ "$(unitid m$i)" = 255 ] || chyba "check mode changed m$i"; done

r=$(hraj prvni "${lan[@]}")
[ "$(soucet 2 <<<"$r")" = 10 ] && [ "$(soucet 3 <<<"$r")" = 0 ] || chyba "first run: $r"
for i in $(seq 1 10); do [ "$(unitid m$i)" = 7 ] || chyba "m$i not written"; done

r=$(hraj druhy "${lan[@]}")
[ "$(soucet 2 <<<"$r")" = 0 ] && [ "$(soucet 3 <<<"$r")" = 0 ] || chyba "second run: $r"

# The mute module with the ten: it alone fails, and the run takes about its
# own time-out, not ten of them.
zacatek=$(date +%s%N)
r=$(hraj ticho --limit vk7316r_lan -e "$nastaveni")
ms=$(( ($(date +%s%N) - zacatek) / 1000000 ))
echo "run with the mute module: ${ms} ms"
[ "$(grep -c ':1$' <<<"$r")" = 1 ] && grep -q '^mute:0:1$' <<<"$r" || chyba "mute run: $r"
grep '^fatal: \[mute\]' "$tmp/ticho.log" | grep -q '"msg": "vk7316r: ' || chyba "the mute module's failure carries no message"
grep '^fatal: \[mute\]' "$tmp/ticho.log"
[ "$ms" -lt 15000 ] || chyba "the mute module slowed the run: $ms ms"

# The module's identity is no settings area: a value for it would be lost.
r=$(hraj identita --limit m1 -e '{"vk_settings": {"Modul": {"VyrCislo": "1"}}}')
[ "$r" = m1:0:1 ] && grep -q 'Modul: no such settings area' "$tmp/identita.log" || chyba "identity taken as an area: $r"

# Three jobs on one port, one at a time: none meets a busy port.
# They are one simulated module: the first job changes it, the others find it done.
r=$(hraj sbernice --limit vk7316r_bus -e "$nastaveni")
[ "$(soucet 3 <<<"$r")" = 0 ] && [ "$(soucet 2 <<<"$r")" = 1 ] && [ "$(wc -l <<<"$r")" = 3 ] || { chyba "shared bus: $r"; cat "$tmp/sbernice.log"; }

exit $selhani
