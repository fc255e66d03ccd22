#!/bin/sh
# `unitstool select-unit 5` and `unitstool edit` in a real X window, as a
# user meets them: Xvfb as the display, the window found by its caption,
# answered with the keyboard, and the result read back by a new process.
# It runs on a copy of the library folder, since the library saves into the
# Units/ folder beside itself.
#
# usage: real_window_test.sh UNITSTOOL LIBRARY_FOLDER [SCREENSHOT_FOLDER]
# Exit status 0 passed, 1 failed, 77 skipped (no Xvfb or xdotool).
set -eu

tool=$1
library=$2
shots=${3:-}
quantity=5

for program in Xvfb xdotool timeout; do
  command -v "$program" >/dev/null 2>&1 || { echo "SKIP: $program is not installed"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/units_real_window.XXXXXX")
xvfb=
shown=
cleanup() {
  [ -n "$shown" ] && kill "$shown" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  for file in out err debug.log; do
    [ -s "$work/$file" ] && { echo "--- $file"; cat "$work/$file"; }
  done
  exit 1
}

# The library and its data folder, copied. LD_LIBRARY_PATH comes before the
# tool's RUNPATH (the build tree's lib/), so the tool loads the copy, and the
# copy finds the plugin and Units/ beside itself.
mkdir -p "$work/lib" "$work/home" "$work/runtime"
cp -P "$library"/*.so "$library"/*.so.* "$work/lib/"
cp -R "$library/Units" "$work/lib/"
chmod 700 "$work/runtime"
cp "$library/Units/DEFAULT.UDF" "$work/built.udf"
export LD_LIBRARY_PATH="$work/lib" HOME="$work/home" XDG_DATA_HOME="$work/home/data" \
  XDG_DOCUMENTS_DIR="$work/home/docs" XDG_RUNTIME_DIR="$work/runtime" UNITS_DEBUG_LOG="$work/debug.log" \
  UNITS_REGISTRY_DB="$work/registry.db"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# For a sanitizer build: under the xcb platform the system's D-Bus and
# fontconfig libraries keep allocations until the process ends.
printf 'leak:libdbus-1.so\nleak:libfontconfig.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$work/lsan.supp"

# One field of the quantity in `unitstool list --json` (one key per line),
# and a text without its quotes.
field() {
  "$tool" list --json | sed -n "/\"id\": $quantity,/,/}/ s/^ *\"$1\": \(.*\)\$/\1/p" | sed 's/,$//'
}
unquote() { sed 's/^"\(.*\)"$/\1/'; }
caption=$(field name | unquote)
before=$(field unit | unquote)
units=$(field units | sed 's/^\[\(.*\)\]$/\1/')
first=$(echo "${units%%,*}" | unquote)
last=$(echo "${units##*, }" | unquote)
# End picks the last unit, Home the first: whichever is not the current one.
if [ "$before" = "$last" ]; then key=Home back=End expected=$first; else key=End back=Home expected=$last; fi
if [ -z "$caption" ] || [ -z "$expected" ]; then fail "no quantity $quantity in unitstool list --json"; fi

# -displayfd: the server takes a free display and tells its number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -fbdir "$work" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
tries=0
until [ -s "$work/display" ]; do
  tries=$((tries + 1))
  [ "$tries" -le 100 ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  sleep 0.1
done
display=$(cat "$work/display")
export DISPLAY=":$display"

# A PNG of `window` from Xvfb's frame buffer (-fbdir keeps the screen as an
# XWD file) as <shots>/real_window_<name>_<language>.png, when asked for.
screenshot() {
  [ -n "$shots" ] && command -v python3 >/dev/null 2>&1 || return 0
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$1")"
  language=en
  case "${UNITS_LANG:-}" in de*) language=de ;; esac
  mkdir -p "$shots"
  target="$shots/real_window_$2_$language.png"
  python3 - "$work/Xvfb_screen0" "$target" "$X" "$Y" "$WIDTH" "$HEIGHT" <<'EOF'
import struct, sys, zlib
source, target = sys.argv[1], sys.argv[2]
x0, y0, width, height = map(int, sys.argv[3:7])
data = open(source, 'rb').read()
fields = struct.unpack('>25I', data[:100])
start, line = fields[0] + 12 * fields[19], fields[12]  # header + colour map; bytes per line
def pixel(x, y):  # 32 bits, least significant byte first: blue, green, red
    at = start + y * line + 4 * x
    return data[at:at + 3][::-1]
rows = b''.join(b'\0' + b''.join(pixel(x, y) for x in range(x0, x0 + width)) for y in range(y0, y0 + height))
def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
with open(target, 'wb') as png:
    png.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0))
              + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
EOF
  echo "screenshot $target"
}

# shellcheck disable=SC2016  # the $ is one of the characters a regular expression gives a meaning
pattern=$(printf '%s' "$caption" | sed 's/[][\\.*^$()+?{}|]/\\&/g')
# Starts select-unit and sets `window` to its dialog, found by the caption.
# With no debug channel of the user's, the tool tells the reason of a failure.
open_dialog() {
  QT_QPA_PLATFORM=xcb UNITS_DEBUG_LOG='' "$tool" select-unit "$quantity" >"$work/out" 2>"$work/err" &
  shown=$!
  window=$(timeout 30 xdotool search --sync --name "^$pattern\$" | head -n 1)
  [ -n "$window" ] || fail "no window named \"$caption\" within 30 s"
}
# Real key events (XTEST) to the focused dialog, then the tool's exit status.
answer() {
  xdotool windowfocus --sync "$window" key "$@"
  status=0
  wait "$shown" || status=$?
  shown=
}

open_dialog
echo "window $window: \"$caption\""

screenshot "$window" select_unit

# The list has the focus: the key moves the selection, Return is OK.
answer "$key" Return
[ "$status" -eq 0 ] || fail "select-unit exited with $status"
[ "$(cat "$work/out")" = "$expected" ] || fail "select-unit printed \"$(cat "$work/out")\", not \"$expected\""

# A new process reads the saved catalogue; the build tree's is untouched.
after=$(field unit | unquote)
[ "$after" = "$expected" ] || fail "a new process sees the unit \"$after\", not \"$expected\""
cmp -s "$library/Units/DEFAULT.UDF" "$work/built.udf" || fail "the build tree's DEFAULT.UDF changed"
cmp -s "$library/Units/DEFAULT.FDF" "$work/lib/Units/DEFAULT.FDF" || fail "the groups were not saved as they were"
echo "OK chosen: quantity $quantity changed from \"$before\" to \"$expected\" ($key Return)"

# Escape after moving the selection: status 1, and nothing written.
cp "$work/lib/Units/DEFAULT.UDF" "$work/chosen.udf"
open_dialog
answer "$back" Escape
[ "$status" -eq 1 ] || fail "a cancelled select-unit exited with $status"
grep -q "cancelled: quantity $quantity keeps its unit $expected" "$work/err" || fail "no word of the cancel"
[ ! -s "$work/out" ] || fail "a cancelled select-unit printed $(cat "$work/out")"
cmp -s "$work/lib/Units/DEFAULT.UDF" "$work/chosen.udf" || fail "a cancelled choice changed DEFAULT.UDF"
echo "OK cancelled: $back Escape left \"$expected\""

# `unitstool edit`: the list has the focus; three Shift+Tab reach "Use text
# instead of symbols", Space ticks it (at once), Return is "Close", which
# saves everything into the default files.
QT_QPA_PLATFORM=xcb UNITS_DEBUG_LOG='' "$tool" edit >"$work/out" 2>"$work/err" &
shown=$!
window=$(timeout 30 xdotool search --sync --name '^(Quantities / Units|Größen / Einheiten)$' | head -n 1)
[ -n "$window" ] || fail "no main dialog within 30 s"
screenshot "$window" edit
answer shift+Tab shift+Tab shift+Tab space Return
[ "$status" -eq 0 ] || fail "edit exited with $status"
grep -q '^saved: ' "$work/out" || fail "edit printed \"$(cat "$work/out")\""
"$tool" dump DEFAULT.UDF | grep -q '"text_mode": 1,' || fail "the text mode was not saved into DEFAULT.UDF"
[ "$(field unit | unquote)" = "$expected" ] || fail "the edit lost the unit chosen before"
echo "OK edit: $(cat "$work/out")"
echo "PASS"
