#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The two search figures, each as a whole process against the bare reading
# of what it reads, with the page cache warm; medians of 5 runs
# ($VESTRELS_BENCH_RUNS).
#
#   bench/run_search_bench.sh [TEXT_COLLECTION_DIR [TITLE_COLLECTION_DIR]]
#     defaults /tmp/vestrels-search-bench and /tmp/vestrels-bench-collection
#
#   text search:  vestrels-cli search --text WORD, on one worker per core and
#                 with --jobs 1, against LC_ALL=C grep -rcF WORD and ripgrep
#                 (rg -c -j1 and rg -c -j2, the word's exact bytes) over 20 000
#                 articles (bench/make_text_collection.py); the commands take
#                 turns within each run and each ratio is the median of the
#                 runs' ratios. Targets: cli/grep <= 2, cli/rg -j2 <= 1
#   title search: vestrels-cli search WORD (library build and title search)
#                 against cat of the 2 000 contents pages (bench/make_collection.py);
#                 target <= 3
#
# It also checks that the articles the text search finds are exactly the
# files grep counts the word in, and ripgrep too, and that --jobs 1 finds the
# same. Builds vestrels-cli in $VESTRELS_BENCH_BUILD (default build-bench,
# Release) and makes the collections when missing. Without rg (the package
# ripgrep) its figures are left out.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
text_dir=${1:-/tmp/vestrels-search-bench}
title_dir=${2:-/tmp/vestrels-bench-collection}
build=${VESTRELS_BENCH_BUILD:-$root/build-bench}
runs=${VESTRELS_BENCH_RUNS:-5}
word=сцинтиллятор
title_word=модем

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target vestrels-cli >/dev/null
cli=$build/vestrels-cli

if [ ! -f "$text_dir/izone250/text/a80.htm" ]; then
  python3 "$root/bench/make_text_collection.py" "$text_dir"
fi
if [ ! -f "$title_dir/izone2000/frame/left.htm" ]; then
  python3 "$root/bench/make_collection.py" "$title_dir" 2000
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# An empty profile: the default catalogue applies and nothing of the user's
# is read or touched.
export XDG_CONFIG_HOME="$scratch/profile"
mkdir -p "$XDG_CONFIG_HOME"

word1251=$(printf '%s' "$word" | iconv -f UTF-8 -t CP1251)
mapfile -t contents < <(find "$title_dir" -name left.htm | sort)

# Warm cache: every figure below is for files already in memory.
find "$text_dir" -type f -exec cat {} + >/dev/null
cat -- "${contents[@]}" >/dev/null

# time_ms NAME COMMAND...: runs the command once, output discarded, and
# adds its time to $scratch/NAME.txt.
time_ms() {
  local name=$1
  shift
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null || [ $? -eq 1 ]  # grep says 1 when it finds nothing
  end=$(date +%s%N)
  echo $(((end - start) / 1000)) >>"$scratch/$name.txt"
}

# median_ms NAME COMMAND...: runs the command $runs times.
median_ms() {
  local name=$1
  shift
  : >"$scratch/$name.txt"
  for _ in $(seq "$runs"); do
    time_ms "$name" "$@"
  done
  python3 -c 'import statistics, sys; print(statistics.median(int(l) for l in open(sys.argv[1])) / 1000.0)' \
    "$scratch/$name.txt"
}

# ripgrep takes the word's bytes, which are no UTF-8, as escapes.
rg_pattern="(?-u)$(printf '%s' "$word1251" | od -An -tx1 | tr -d ' \n' | sed 's/../\\x&/g')"
have_rg=$(command -v rg >/dev/null && echo yes || echo no)
text_names=(text_cli text_cli1 text_grep)
[ "$have_rg" = yes ] && text_names+=(text_rg1 text_rg2)
for name in "${text_names[@]}"; do : >"$scratch/$name.txt"; done
# Each run times every command in turn, so that a busy moment of the machine
# weighs on all of them alike.
for _ in $(seq "$runs"); do
  time_ms text_cli "$cli" --dir "$text_dir" search --text "$word"
  time_ms text_cli1 "$cli" --dir "$text_dir" search --text --jobs 1 "$word"
  LC_ALL=C time_ms text_grep grep -rcF "$word1251" "$text_dir"
  if [ "$have_rg" = yes ]; then
    time_ms text_rg1 rg -c -j1 "$rg_pattern" "$text_dir"
    time_ms text_rg2 rg -c -j2 "$rg_pattern" "$text_dir"
  fi
done
title_cli=$(median_ms title_cli "$cli" --dir "$title_dir" search "$title_word")
title_cat=$(median_ms title_cat cat -- "${contents[@]}")

# The same articles: the generator lists text/aK.htm at position K-1.
"$cli" --json --dir "$text_dir" list >"$scratch/list.json"
"$cli" --json --dir "$text_dir" search --text "$word" >"$scratch/found.json"
"$cli" --json --dir "$text_dir" search --text --jobs 1 "$word" >"$scratch/found1.json"
LC_ALL=C grep -rcF "$word1251" "$text_dir" >"$scratch/grep.txt" || true
: >"$scratch/rg.txt"
[ "$have_rg" = yes ] && { rg -c -j2 "$rg_pattern" "$text_dir" >"$scratch/rg.txt" || true; }
"$cli" --dir "$title_dir" search "$title_word" >"$scratch/titles.txt"

python3 - "$scratch" "$text_dir" "$have_rg" "$title_cli" "$title_cat" <<'EOF'
import json, os, statistics, sys

scratch, text_dir, have_rg = sys.argv[1:4]
title_cli, title_cat = map(float, sys.argv[4:6])
at = lambda name: os.path.join(scratch, name)
folders = {row["index"]: row["folder"] for row in map(json.loads, open(at("list.json")))}

def found_in(name):
    found = set()
    for row in map(json.loads, open(at(name))):
        for position in row["found"]:
            found.add(f"{folders[row['index']]}/text/a{position + 1}.htm")
    return found

def counted_in(name):
    counted = set()
    for line in open(at(name), encoding="latin-1"):
        path, count = line.rstrip("\n").rsplit(":", 1)
        if int(count) > 0:
            counted.add(os.path.relpath(path, text_dir))
    return counted

def times(name):
    return [int(line) / 1000.0 for line in open(at(name + ".txt"))]

def verdict(ratio, target):
    return "met" if ratio <= target else "MISSED"

found, found1, counted = found_in("found.json"), found_in("found1.json"), counted_in("grep.txt")
titles = sum(1 for _ in open(at("titles.txt")))
cli, cli1 = times("text_cli"), times("text_cli1")
others = [("grep -rcF", "grep", "text_grep", 2.0), ("rg -c -j1", "rg -j1", "text_rg1", None),
          ("rg -c -j2", "rg -j2", "text_rg2", 1.0)]
if have_rg != "yes":
    others = others[:1]

print(f"text search, {len(found)} articles found in 20 000 (median ms; ratios: median of the runs' ratios)")
print(f"  vestrels-cli search --text          {statistics.median(cli):8.1f} ms")
print(f"  vestrels-cli search --text --jobs 1 {statistics.median(cli1):8.1f} ms")
for label, short, name, target in others:
    other = times(name)
    ratio = statistics.median(c / o for c, o in zip(cli, other))
    ratio1 = statistics.median(c / o for c, o in zip(cli1, other))
    goal = f"  (target <= {target:g}: {verdict(ratio, target)})" if target else ""
    print(f"  {label:<35} {statistics.median(other):8.1f} ms   cli/{short:<6} = {ratio:5.2f},"
          f" with --jobs 1 {ratio1:5.2f}{goal}")
same = found == counted and found1 == found
print(f"  same articles as grep counts:       {'yes' if same else 'NO'}"
      f" ({len(counted)} files with the word; --jobs 1 {'the same' if found1 == found else 'OTHERS'})")
if have_rg == "yes":
    same = same and counted_in("rg.txt") == counted
    print(f"  ripgrep counts the same files:      {'yes' if counted_in('rg.txt') == counted else 'NO'}")
else:
    print("  ripgrep: not installed (the package ripgrep), left out")
print(f"title search, {titles} issues found in 2 000")
print(f"  vestrels-cli search (build+search) {title_cli:5.1f} ms")
print(f"  cat of the contents pages       {title_cat:8.1f} ms   cli/cat  = {title_cli / title_cat:5.2f}"
      f"  (target <= 3: {verdict(title_cli / title_cat, 3)})")
print("medians of", len(cli), "runs, warm cache")
sys.exit(0 if same else 1)
EOF
