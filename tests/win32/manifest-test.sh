#!/bin/bash
# manifest-test.sh <exe>
# The manifest is kept as text in the exe's resources. Windows 8.1 and later treat a program
# that declares no newer system as one written for Vista; and the program must stay unaware
# of display scaling, or its screen points would no longer be the game's.
set -u
exe=$1
status=0
for id in 1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  grep -aq "supportedOS Id=\"{$id}\"" "$exe" || { echo "$exe: no supportedOS $id" >&2; status=1; }
done
if grep -aqi 'dpiAware' "$exe"; then
  echo "$exe: the manifest declares DPI awareness" >&2
  status=1
fi
exit $status
