#!/usr/bin/env bash
# Ardour 7's headless Lua session on its dummy backend: the plug-in is scanned, inserted on a
# track behind a -18 dBFS sine, its LookAhead and Output set by normalized values (0.5, 0.75);
# Ardour must report the latency and the level that zembrac-render reports for the same values.
# Usage: ardour-session.sh RENDER PLUGIN.so
set -euo pipefail
render=$1
plugin=$(realpath "$2")
here=$(dirname "$(realpath "$0")")

for tool in ardour7-lua /usr/lib/ardour7/ardour-vst-scanner; do
  command -v "$tool" >/dev/null || { echo "ardour-session: $tool missing (Debian package ardour)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/vst" "$work/home/.config/ardour7" "$work/none"
cp "$plugin" "$work/vst/"
cat >"$work/home/.config/ardour7/config" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Ardour>
  <Config>
    <Option name="discover-plugins-on-start" value="1"/>
    <Option name="use-lxvst" value="1"/>
    <Option name="plugin-path-lxvst" value="$work/vst"/>
    <Option name="plugin-path-vst3" value="$work/none"/>
  </Config>
</Ardour>
XML
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache"

# A headless session does not scan plug-ins: a first session lists the plug-in as new, Ardour's
# own scanner fills its cache, and the next session finds it there.
cat >"$work/register.lua" <<LUA
AudioEngine:set_backend("None (Dummy)", "", "")
create_session("$work/register", "register", 48000)
close_session()
LUA
timeout 60 ardour7-lua "$work/register.lua" >/dev/null 2>&1
LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 /usr/lib/ardour7/ardour-vst-scanner -q -f \
  "$work/vst/$(basename "$plugin")"

listing=$("$render" --plugin "$plugin" --list --set-raw 12=0.5 --set-raw 5=0.75)
want_latency=$(awk '/^Latency/ {print $2}' <<<"$listing")
output_db=$(awk '$2 == "Output" {print $3}' <<<"$listing")
want_level=$(awk -v o="$output_db" 'BEGIN {printf "%.3f", -18 + o}')

out=$(ZEMBRAC_SESSION="$work/session" timeout 120 ardour7-lua "$here/ardour-session.lua" 2>&1) || {
  echo "$out" >&2
  echo "ardour-session: ardour7-lua failed" >&2
  exit 1
}
latency=$(awk '$1 == "result" && $2 == "latency" {print $3}' <<<"$out")
level=$(awk '$1 == "result" && $2 == "level" {print $3}' <<<"$out")
echo "ardour-session: latency $latency (expected $want_latency), level $level dBFS (expected $want_level)"
status=0
[ "$latency" = "$want_latency" ] || { echo "ardour-session: wrong latency" >&2; status=1; }
awk -v a="$level" -v b="$want_level" 'BEGIN {d = a - b; exit !(d < 0.1 && d > -0.1)}' ||
  { echo "$out" >&2; echo "ardour-session: wrong level after the plug-in" >&2; status=1; }
[ $status -eq 0 ] && echo "ardour-session: ok"
exit $status
