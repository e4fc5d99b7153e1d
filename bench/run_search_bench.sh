#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The two search figures, each as a whole process against the bare reading
# of what it reads, with the page cache warm; medians of 5 runs.
#
#   bench/run_search_bench.sh [TEXT_COLLECTION_DIR [TITLE_COLLECTION_DIR]]
#     defaults /tmp/vestrels-search-bench and /tmp/vestrels-bench-collection
#
#   text search:  vestrels-cli search --text WORD   against  LC_ALL=C grep -rcF WORD
#                 over 20 000 articles (bench/make_text_collection.py); target <= 2
#   title search: vestrels-cli search WORD (library build and title search)
#                 against cat of the 2 000 contents pages (bench/make_collection.py);
#                 target <= 3
#
# It also checks that the articles the text search finds are exactly the
# files grep counts the word in. Builds vestrels-cli in $VESTRELS_BENCH_BUILD
# (default build-bench, Release) and makes the collections when missing.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
text_dir=${1:-/tmp/vestrels-search-bench}
title_dir=${2:-/tmp/vestrels-bench-collection}
build=${VESTRELS_BENCH_BUILD:-$root/build-bench}
runs=5
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

# median_ms NAME COMMAND...: runs the command $runs times, output discarded.
median_ms() {
  local name=$1
  shift
  : >"$scratch/$name.txt"
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null || [ $? -eq 1 ]  # grep says 1 when it finds nothing
    end=$(date +%s%N)
    echo $(((end - start) / 1000)) >>"$scratch/$name.txt"
  done
  python3 -c 'import statistics, sys; print(statistics.median(int(l) for l in open(sys.argv[1])) / 1000.0)' \
    "$scratch/$name.txt"
}

text_cli=$(median_ms text_cli "$cli" --dir "$text_dir" search --text "$word")
text_grep=$(LC_ALL=C median_ms text_grep grep -rcF "$word1251" "$text_dir")
title_cli=$(median_ms title_cli "$cli" --dir "$title_dir" search "$title_word")
title_cat=$(median_ms title_cat cat -- "${contents[@]}")

# The same articles: the generator lists text/aK.htm at position K-1.
"$cli" --json --dir "$text_dir" list >"$scratch/list.json"
"$cli" --json --dir "$text_dir" search --text "$word" >"$scratch/found.json"
LC_ALL=C grep -rcF "$word1251" "$text_dir" >"$scratch/grep.txt" || true
"$cli" --dir "$title_dir" search "$title_word" >"$scratch/titles.txt"

python3 - "$scratch" "$text_dir" "$text_cli" "$text_grep" "$title_cli" "$title_cat" <<'EOF'
import json, os, sys

scratch, text_dir = sys.argv[1], sys.argv[2]
text_cli, text_grep, title_cli, title_cat = map(float, sys.argv[3:7])
folders = {row["index"]: row["folder"] for row in map(json.loads, open(os.path.join(scratch, "list.json")))}
found = set()
for row in map(json.loads, open(os.path.join(scratch, "found.json"))):
    for position in row["found"]:
        found.add(f"{folders[row['index']]}/text/a{position + 1}.htm")
counted = set()
for line in open(os.path.join(scratch, "grep.txt"), encoding="latin-1"):
    path, count = line.rstrip("\n").rsplit(":", 1)
    if int(count) > 0:
        counted.add(os.path.relpath(path, text_dir))
titles = sum(1 for _ in open(os.path.join(scratch, "titles.txt")))

def verdict(ratio, target):
    return "met" if ratio <= target else "MISSED"

print(f"text search, {len(found)} articles found in 20 000")
print(f"  vestrels-cli search --text      {text_cli:8.1f} ms")
print(f"  grep -rcF                       {text_grep:8.1f} ms   cli/grep = {text_cli / text_grep:5.2f}"
      f"  (target <= 2: {verdict(text_cli / text_grep, 2)})")
print(f"  same articles as grep counts:   {'yes' if found == counted else 'NO'}"
      f" ({len(counted)} files with the word)")
print(f"title search, {titles} issues found in 2 000")
print(f"  vestrels-cli search (build+search) {title_cli:5.1f} ms")
print(f"  cat of the contents pages       {title_cat:8.1f} ms   cli/cat  = {title_cli / title_cat:5.2f}"
      f"  (target <= 3: {verdict(title_cli / title_cat, 3)})")
print("medians of", sum(1 for _ in open(os.path.join(scratch, "text_cli.txt"))), "runs, warm cache")
sys.exit(0 if found == counted else 1)
EOF
