#!/usr/bin/env bash
# Starts the game on bare X servers (Xvfb, no window manager) of several sizes and reads
# the screen from outside: the title picture's four corner pixels must sit at the corners
# of the largest centred 4:3 frame, with black bars beyond. On the 1024 x 768 screen it
# also measures the processor time the title screen takes.
# Usage: tests/display_xvfb.sh [build dir]   (DW_CPU_SECONDS sets the measuring time)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
if ! command -v Xvfb >/dev/null; then
  echo "display check skipped: Xvfb is not installed"
  exit 0
fi
[ -x "$build/game/duskwarden" ] && [ -f "$build/assets/TITLE.bmp" ] || { echo "build the game first"; exit 1; }

work=$(mktemp -d)
xpid="" gpid=""
stop() {
  [ -n "$gpid" ] && kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null || true
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null || true
  gpid="" xpid=""
}
trap 'stop; rm -rf "$work"' EXIT

# The game runs from a folder of links to its data, so its options and scores stay here.
mkdir "$work/game"
for f in "$build"/game/*; do
  case "$f" in *.ez|*.zor) ;; *) ln -s "$f" "$work/game/" ;; esac
done

u32() { od -An --endian="$1" -tu4 -j "$3" -N4 "$2" | tr -d ' '; }
u16le() { od -An --endian=little -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
bytes() { od -An -tu1 -j "$2" -N"$3" "$1" | tr -s ' ' | sed 's/^ //'; }

# The title picture's colour at (x, y) as "r g b" (8-bit BMP, rows bottom-up or top-down).
bmp=$build/assets/TITLE.bmp
[ "$(u16le "$bmp" 28)" = 8 ] || { echo "TITLE.bmp is not an 8-bit picture"; exit 1; }
bmp_data=$(u32 little "$bmp" 10) bmp_w=$(u32 little "$bmp" 18) bmp_h=$(u32 little "$bmp" 22)
bmp_pal=$((14 + $(u32 little "$bmp" 14)))
title_rgb() {
  local row=$2
  [ "$bmp_h" -lt 2147483648 ] && row=$((bmp_h - 1 - $2))
  local index
  index=$(bytes "$bmp" $((bmp_data + row * ((bmp_w + 3) / 4 * 4) + $1)) 1)
  read -r b g r <<<"$(bytes "$bmp" $((bmp_pal + index * 4)) 3)"
  echo "$r $g $b"
}

# The screen's colour at (x, y) as "r g b", from the server's XWD frame buffer file.
screen_rgb() {
  local fb=$1 header ncolors bpl
  header=$(u32 big "$fb" 0) ncolors=$(u32 big "$fb" 76) bpl=$(u32 big "$fb" 48)
  read -r b g r <<<"$(bytes "$fb" $((header + ncolors * 12 + $3 * bpl + $2 * 4)) 3)"
  echo "$r $g $b"
}

# Prints the mismatches between the screen and the expected frame; nothing when all agree.
check_frame() {
  local fb=$1 sw=$2 sh=$3 l=$4 t=$5 r=$6 b=$7
  local -a checks=(
    "$l $t $(title_rgb 0 0)" "$((r - 1)) $t $(title_rgb 799 0)"
    "$l $((b - 1)) $(title_rgb 0 599)" "$((r - 1)) $((b - 1)) $(title_rgb 799 599)")
  [ "$l" -gt 0 ] && checks+=("$((l - 1)) $t 0 0 0" "$r $((b - 1)) 0 0 0")
  [ "$r" -lt "$sw" ] && checks+=("$r $t 0 0 0")
  [ "$t" -gt 0 ] && checks+=("$l $((t - 1)) 0 0 0" "$((r - 1)) $b 0 0 0")
  [ "$b" -lt "$sh" ] && checks+=("$l $b 0 0 0")
  local c x y want got
  for c in "${checks[@]}"; do
    read -r x y want <<<"$c"
    got=$(screen_rgb "$fb" "$x" "$y")
    [ "$got" = "$want" ] || echo "  ($x, $y) shows $got, expected $want"
  done
}

failed=0
# screen size, then where the frame belongs: left top right bottom (exclusive)
for spec in "1024 768 0 0 1024 768" "1920 1080 240 0 1680 1080" "800 600 0 0 800 600"; do
  read -r sw sh l t r b <<<"$spec"
  fbdir=$work/fb-$sw
  mkdir "$fbdir"
  Xvfb -displayfd 3 -screen 0 "${sw}x${sh}x24" -fbdir "$fbdir" -nolisten tcp 3>"$work/display" 2>/dev/null &
  xpid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=$(head -n1 "$work/display")
  : >"$work/display"
  (cd "$work/game" && exec env DISPLAY=":$display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy ./duskwarden) \
    >"$work/game.log" 2>&1 &
  gpid=$!
  # The title may still be coming up: look again until it holds or 20 s have passed.
  mismatch="no picture"
  for _ in $(seq 40); do
    sleep 0.5
    [ -f "$fbdir/Xvfb_screen0" ] || continue
    mismatch=$(check_frame "$fbdir/Xvfb_screen0" "$sw" "$sh" "$l" "$t" "$r" "$b")
    [ -z "$mismatch" ] && break
  done
  if [ -n "$mismatch" ]; then
    echo "display ${sw}x${sh}: the frame is not at ($l, $t)-($r, $b)"
    echo "$mismatch"
    cat "$work/game.log"
    failed=1
  else
    echo "display ${sw}x${sh}: frame corners at ($l, $t)-($((r - 1)), $((b - 1))) as expected"
  fi

  if [ "$sw" = 1024 ] && [ -z "$mismatch" ]; then
    seconds=${DW_CPU_SECONDS:-5}
    ticks() { awk '{print $14 + $15}' "/proc/$gpid/stat"; }
    before=$(ticks)
    sleep "$seconds"
    used=$(($(ticks) - before))
    percent=$((used * 100 / (seconds * $(getconf CLK_TCK))))
    echo "display ${sw}x${sh}: the title screen takes ${percent}% of one core"
    # About 10% here; the old path through the GL rasteriser took over 30%. The bound leaves
    # room for a slower or busier machine.
    limit=${DW_CPU_LIMIT:-25}
    [ "$percent" -lt "$limit" ] || { echo "  ${limit}% or more"; failed=1; }
  fi
  stop
done
exit "$failed"
