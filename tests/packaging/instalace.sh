#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installation as a
# user or a package meets it: every file in its place, the launcher pointing
# at this prefix, both validators content, binaries free of the build tree,
# and the installed command-line tool identifying the installed simulator.
#   instalace.sh BUILD_DIR APP_ID WITH_GUIDE(0|1)
set -euo pipefail
build="$1"
id="$2"
s_napovedou="$3"

tmp="$(mktemp -d "${TMPDIR:-/tmp}/vk7316r-instalace.XXXXXX")"
sim_pid=""
uklid() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap uklid EXIT
chyby=0
chyba() { echo "FAIL: $*" >&2; chyby=$((chyby + 1)); }

prefix="$tmp/prefix"
unset DESTDIR  # the prefix alone says where the files go
"${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log" >&2; exit 1; }

desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
soubory=(
  "$prefix/bin/W_vk7316r" "$prefix/bin/vk7316r" "$prefix/bin/vk7316r-sim"
  "$desktop" "$metainfo" "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
)
[ "$s_napovedou" = 1 ] && soubory+=("$prefix/share/w-vk7316r/W_vk7316r_Napoveda.pdf")
for f in "${soubory[@]}"; do
  [ -s "$f" ] || chyba "not installed: ${f#"$prefix"/}"
done
for f in "$prefix"/bin/*; do
  [ -x "$f" ] || chyba "not executable: ${f#"$prefix"/}"
done

# The launcher was written for this prefix, not the configured one: the
# program by its installed path, the working folder where the guide is.
hodnota() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(hodnota Exec)" = "$prefix/bin/W_vk7316r" ] || chyba "Exec is '$(hodnota Exec)'"
[ "$(hodnota Path)" = "$prefix/share/w-vk7316r" ] || chyba "Path is '$(hodnota Path)'"
[ -d "$(hodnota Path)" ] || chyba "the launcher's working folder is missing"
[ "$(hodnota Icon)" = "$id" ] || chyba "Icon is '$(hodnota Icon)'"
desktop-file-validate "$desktop" || chyba "desktop-file-validate"
# The tree check also matches the metainfo's launchable with the desktop file.
appstreamcli validate-tree --no-net "$prefix" || chyba "appstreamcli validate-tree"
appstreamcli validate --no-net "$metainfo" || chyba "appstreamcli validate"

# A run path into the build tree would load nothing from there today (the
# project's libraries are static), but it must not ship either.
for f in "$prefix"/bin/*; do
  if readelf -d "$f" | grep -E 'RPATH|RUNPATH'; then chyba "run path in ${f#"$prefix"/}"; fi
done

# The installed tool against the installed simulator, on loopback only.
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config"
mkdir -p "$HOME" "$tmp/stav"
# A serial number of this run's own, placed in the simulator's state folder:
# identify must report this very module.
vyr_cislo="$(( (RANDOM << 15 | RANDOM) % 90000000 + 10000000 ))"
printf 'VK-7316R v.1.00 (sn.%s)' "$vyr_cislo" >"$tmp/stav/info.txt"
# The log exists before the simulator starts: the loop below reads it at
# once, and a read of a missing file would end this script (set -e).
: >"$tmp/sim.log"
"$prefix/bin/vk7316r-sim" --lan 127.0.0.1:0 --no-serial --state "$tmp/stav" >"$tmp/sim.log" 2>&1 &
sim_pid=$!
lan=""
for _ in $(seq 100); do
  lan="$(sed -n 's/^LAN: //p' "$tmp/sim.log")"
  [ -n "$lan" ] && break
  kill -0 "$sim_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$lan" ]; then
  cat "$tmp/sim.log" >&2
  chyba "the installed simulator did not start"
else
  vystup="$(timeout 30 "$prefix/bin/vk7316r" --lan "$lan" identify)" || chyba "vk7316r identify ended with $?"
  echo "$vystup"
  grep -qx "TypModulu=VK-7316R" <<<"$vystup" || chyba "identify: no module type"
  grep -qx "VyrCislo=$vyr_cislo" <<<"$vystup" || chyba "identify: not the simulator's serial number $vyr_cislo"
fi

[ "$chyby" -eq 0 ] || exit 1
echo "installed and checked under a temporary prefix"
