#!/usr/bin/env bash
# qtractor's plug-in scanner loads the Linux build and must report what the plug-in promises:
# its name, 2 audio inputs, 2 audio outputs, no MIDI, 13 parameters and the unique ID HaZm.
# Usage: qtractor-scan.sh SCANNER PLUGIN.so
set -euo pipefail
scanner=$1
plugin=$2

if [ ! -x "$scanner" ]; then
  echo "qtractor-scan: no scanner at '$scanner' (Debian package qtractor)" >&2
  exit 1
fi
if [ ! -f "$plugin" ]; then
  echo "qtractor-scan: no plug-in at '$plugin'" >&2
  exit 1
fi

# The scanner reads "VST:<path>" lines and answers one "|"-separated line per plug-in:
# VST|name|audio in:out|midi in:out|params in:out|flags|path|index|unique id
out=$(printf 'VST:%s\n' "$plugin" | QT_QPA_PLATFORM=offscreen timeout 30 "$scanner" 2>&1) || {
  echo "qtractor-scan: the scanner failed on $plugin:" >&2
  echo "$out" >&2
  exit 1
}
echo "$out"

line=$(printf '%s\n' "$out" | grep '^VST|' || true)
if [ "$(printf '%s\n' "$line" | grep -c '^VST|')" -ne 1 ]; then
  echo "qtractor-scan: expected exactly one plug-in line" >&2
  exit 1
fi

IFS='|' read -r kind name audio midi params flags path index uid <<<"$line"
status=0
check() {
  if [ "$2" != "$3" ]; then
    echo "qtractor-scan: $1 is '$2', expected '$3'" >&2
    status=1
  fi
}
check "type" "$kind" "VST"
check "name" "$name" "Zembrac"
check "audio inputs:outputs" "$audio" "2:2"
check "MIDI inputs:outputs" "$midi" "0:0"
check "parameters in:out" "$params" "13:0"
check "path" "$path" "$plugin"
check "index" "$index" "0"
check "unique ID" "$uid" "0x48615a6d"
[ -n "$flags" ] || { echo "qtractor-scan: no flags field" >&2; status=1; }
[ $status -eq 0 ] && echo "qtractor-scan: ok"
exit $status
