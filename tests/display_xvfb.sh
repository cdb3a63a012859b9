#!/usr/bin/env bash
# Starts the game on bare X servers (Xvfb, no window manager) of several sizes and reads
# the screen from outside: the title picture's four corner pixels must sit at the corners
# of the largest centred 4:3 frame, with black bars beyond. On the 1024 x 768 screen it
# also measures the processor time the title screen takes. On the 800 x 600 and 1920 x 1080
# screens it counts the frames a second, as they are and on a stand-in 144 Hz monitor with
# vsync (tools/present_clock.c), and the time from start to the first frame.
# Usage: tests/display_xvfb.sh [build dir]   (DW_CPU_SECONDS sets the measuring time)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
command -v Xvfb >/dev/null || { echo "display check skipped: Xvfb is not installed"; exit 0; }
[ -x "$build/game/duskwarden" ] && [ -f "$build/assets/TITLE.bmp" ] || { echo "build the game first"; exit 1; }

work=$(mktemp -d)
xpid="" gpid=""
stop() {
  for p in $gpid $xpid; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null || true; done
  gpid="" xpid=""
}
trap 'stop; rm -rf "$work"' EXIT

# The game runs from a folder of links to its data, so its options and scores stay here.
mkdir "$work/game"
for f in "$build"/game/*; do case "$f" in *.ez|*.zor) ;; *) ln -s "$f" "$work/game/" ;; esac; done

# Logs every present; with DW_MONITOR_HZ it also plays a monitor with vsync.
clock_lib=$work/present_clock.so
cc -shared -fPIC -O2 -Wall -Wextra -Werror $(pkg-config --cflags sdl2) tools/present_clock.c -o "$clock_lib" -ldl

u32() { od -An --endian="$1" -tu4 -j "$3" -N4 "$2" | tr -d ' '; }
bytes() { od -An -tu1 -j "$2" -N"$3" "$1" | tr -s ' ' | sed 's/^ //'; }
bgr() { read -r b g r <<<"$(bytes "$1" "$2" 3)"; echo "$r $g $b"; }

# The title picture's colour at (x, y) (8-bit BMP, rows bottom-up or top-down).
bmp=$build/assets/TITLE.bmp
[ "$(od -An -tu2 -j 28 -N2 "$bmp" | tr -d ' ')" = 8 ] || { echo "TITLE.bmp is not an 8-bit picture"; exit 1; }
bmp_data=$(u32 little "$bmp" 10) bmp_w=$(u32 little "$bmp" 18) bmp_h=$(u32 little "$bmp" 22)
bmp_pal=$((14 + $(u32 little "$bmp" 14)))
title_rgb() {
  local row=$2
  [ "$bmp_h" -lt 2147483648 ] && row=$((bmp_h - 1 - $2))
  bgr "$bmp" $((bmp_pal + 4 * $(bytes "$bmp" $((bmp_data + row * ((bmp_w + 3) / 4 * 4) + $1)) 1)))
}
# The screen's colour at (x, y), from the server's XWD frame buffer file.
screen_rgb() {
  bgr "$1" $(($(u32 big "$1" 0) + $(u32 big "$1" 76) * 12 + $3 * $(u32 big "$1" 48) + $2 * 4))
}

# Prints the mismatches between the screen and the expected frame; nothing when all agree.
# Each corner of the frame shows the title's corner; its neighbours outside the frame are black.
check_frame() {
  local fb=$1 sw=$2 sh=$3 l=$4 t=$5 r=$6 b=$7 cx cy x y ox oy want got
  for cx in 0 799; do for cy in 0 599; do
    x=$((cx ? r - 1 : l)) y=$((cy ? b - 1 : t)) ox=$((cx ? r : l - 1)) oy=$((cy ? b : t - 1))
    for c in "$x $y $(title_rgb $cx $cy)" "$ox $y 0 0 0" "$x $oy 0 0 0"; do
      read -r x y want <<<"$c"
      ((x >= 0 && y >= 0 && x < sw && y < sh)) || continue
      got=$(screen_rgb "$fb" "$x" "$y")
      [ "$got" = "$want" ] || echo "  ($x, $y) shows $got, expected $want"
    done
  done; done
}

# Starts the game on $display, its presents logged to $work/presents; extra settings in "$@".
start_game() {
  rm -f "$work/presents"
  (cd "$work/game" && exec env DISPLAY=":$display" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
    DW_PRESENT_LOG="$work/presents" LD_PRELOAD="$clock_lib" "$@" ./duskwarden) >"$work/game.log" 2>&1 &
  gpid=$!
}

# Frames a second on the title screen between 0.5 s and 2.5 s after the first frame, then the
# milliseconds from $1 (the start, in ns) to the first frame.
frame_rate() {
  awk -v start="$1" 'NR == 1 { first = $1 } { t[NR] = $1 }
    END { n = 0; for (i = 1; i <= NR; i++) if (t[i] >= first + 5e8 && t[i] < first + 25e8) n++
          printf "%.1f %.0f\n", n / 2, (first - start) / 1e6 }' "$work/presents"
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
  start_game

  # The title may still be coming up: look again until it holds or 20 s have passed.
  mismatch="no picture"
  for _ in $(seq 40); do
    sleep 0.5
    [ -f "$fbdir/Xvfb_screen0" ] || continue
    mismatch=$(check_frame "$fbdir/Xvfb_screen0" "$sw" "$sh" "$l" "$t" "$r" "$b")
    [ -z "$mismatch" ] && break
  done
  if [ -n "$mismatch" ]; then
    printf 'display %sx%s: the frame is not at (%s, %s)-(%s, %s)\n%s\n' "$sw" "$sh" "$l" "$t" "$r" "$b" "$mismatch"
    cat "$work/game.log"
    failed=1
  else
    echo "display ${sw}x${sh}: frame corners at ($l, $t)-($((r - 1)), $((b - 1))) as expected"
    if [ "$sw" = 1024 ]; then
      seconds=${DW_CPU_SECONDS:-5} limit=${DW_CPU_LIMIT:-25}
      ticks() { awk '{print $14 + $15}' "/proc/$gpid/stat"; }
      before=$(ticks)
      sleep "$seconds"
      percent=$((($(ticks) - before) * 100 / (seconds * $(getconf CLK_TCK))))
      # About 10% here; the old path through the GL rasteriser took over 30%. The bound
      # leaves room for a slower or busier machine.
      echo "display ${sw}x${sh}: the title screen takes ${percent}% of one core"
      [ "$percent" -lt "$limit" ] || { echo "  ${limit}% or more"; failed=1; }
    fi
  fi
    if [ "$sw" != 1024 ]; then
      for hz in 0 144; do
        kill "$gpid" 2>/dev/null && wait "$gpid" 2>/dev/null || true
        start=$(date +%s%N)
        start_game DW_MONITOR_HZ=$hz
        sleep 3.5
        read -r fps first <<<"$(frame_rate "$start")"
        monitor=$([ "$hz" = 0 ] && echo "as it is" || echo "on a ${hz} Hz monitor with vsync")
        echo "display ${sw}x${sh} ${monitor}: ${fps} frames a second, first frame after ${first} ms"
        awk -v f="$fps" 'BEGIN { exit !(f >= 58 && f <= 62) }' || { echo "  not 60 frames a second"; failed=1; }
      done
    fi
  stop
done
exit "$failed"
