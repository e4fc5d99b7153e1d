#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# How soon the window answers while a text search reads a 54 MB one-line
# article 40 times (bench/make_huge_article_collection.py), with the program
# as a process of its own on an X display:
#
#   click on "Оглавление"  until the window next draws (x_latency, Damage)
#   SIGTERM, close request until the process is gone
#   Esc, a new word, Enter until the new search's progress dialog is shown
#   idle CPU               over 5 s after the tab change
#
#   bench/run_search_interrupt_bench.sh [COLLECTION_DIR [SHOT_DIR]]
#     default /tmp/vestrels-huge-article; screenshots go to SHOT_DIR
#
# Needs DISPLAY (an Xvfb of 1280x1024 without a window manager will do),
# xdotool and, for the screenshots, imagemagick. Builds vestrels and
# x_latency in $VESTRELS_BENCH_BUILD (default build).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp/vestrels-huge-article}
shots=${2:-}
build=${VESTRELS_BENCH_BUILD:-$root/build}
word=сцинтиллятор
second=модем

cmake --build "$build" --target vestrels x_latency >/dev/null
if [ ! -f "$dir/izone2/text/big.htm" ]; then
  python3 "$root/bench/make_huge_article_collection.py" "$dir"
fi
cat "$dir/izone2/text/big.htm" >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/Vestrels"
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vestrels\\Quillbox\\Settings]\n"Journals"="%s/*"\n' \
  "$dir" >"$scratch/Vestrels/registry.reg"

# Places in the window's default layout (1280x1024 screen, no window manager).
contents_tab=(64 86)
search_tab=(160 86)
in_text=(359 225)
query=(200 137)

now_ms() { echo $(($(date +%s%N) / 1000000)); }

start_program() {
  (cd "$scratch" && XDG_CONFIG_HOME="$scratch" exec "$build/vestrels" >/dev/null 2>&1) &
  pid=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$pid" --name 'Quillbox' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  sleep 1
}

click() { xdotool mousemove "$1" "$2" click 1; sleep 0.2; }

# Starts a text search for $1 and waits until the big second issue is read
# (an optimised build reads it in a few seconds); says "running" or "ended"
# into $2 when the search's dialog is still up, or not, right after.
search_text() {
  click "${search_tab[@]}"
  click "${in_text[@]}"
  click "${query[@]}"
  xdotool key ctrl+a
  xdotool type --delay 40 "$1"
  xdotool key Return
  sleep 0.6
  if dialog_shown; then printf -v "$2" running; else printf -v "$2" ended; fi
}

dialog_shown() { xdotool search --onlyvisible --name 'Поиск слов в текстах статей' >/dev/null 2>&1; }

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

shot() { [ -n "$shots" ] && import -window root "$shots/$1.png" || true; }

# 1. a click on "Оглавление" during the search, then the idle program
start_program
search_text "$word" during_tab
tab_ms=$("$build/bench/x_latency" click "$window" "${contents_tab[@]}" 60000)
shot contents-after-tab-change
sleep 1
ticks=$(cpu_ticks "$pid")
sleep 5
idle_ticks=$(($(cpu_ticks "$pid") - ticks))

# 2. Esc, a new word, Enter
search_text "$word" during_esc
xdotool key Escape
sleep 0.2
dialog_shown && esc_hidden=no || esc_hidden=yes
click "${query[@]}"
xdotool key ctrl+a
xdotool type --delay 40 "$second"
start=$(now_ms)
xdotool key Return
until dialog_shown; do
  [ $(($(now_ms) - start)) -gt 60000 ] && break
done
new_dialog_ms=$(($(now_ms) - start))
shot new-search-progress
sleep 0.3
dialog_shown && during_sigterm=running || during_sigterm=ended

# 3. SIGTERM while the new search reads the big issue
start=$(now_ms)
kill -TERM "$pid"
wait "$pid" || true
sigterm_ms=$(($(now_ms) - start))

# 4. a close request during a search
start_program
search_text "$word" during_close
start=$(now_ms)
"$build/bench/x_latency" close "$window"
wait "$pid" || true
close_ms=$(($(now_ms) - start))

echo "text search over $dir (izone2: $(grep -c big.htm "$dir/izone2/frame/left.htm") links to one $(($(stat -c %s "$dir/izone2/text/big.htm") >> 20)) MB one-line page)"
echo "  click on Оглавление -> next drawing   $tab_ms ms   (target <= 200; search $during_tab)"
echo "  SIGTERM -> process gone               $sigterm_ms ms   (target <= 200; search $during_sigterm)"
echo "  close request -> process gone         $close_ms ms   (target <= 200; search $during_close)"
echo "  Esc hides the dialog at once          $esc_hidden"
echo "  Esc, new word, Enter -> new dialog    $new_dialog_ms ms   (target <= 500; search $during_esc)"
echo "  CPU over 5 s idle after the tab change  $idle_ticks ticks of $(getconf CLK_TCK)/s"
