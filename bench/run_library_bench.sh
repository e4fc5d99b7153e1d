#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures building the library of a 2000-issue collection against merely
# reading its contents pages, and times vestrels-cli as a whole process.
#
#   bench/run_library_bench.sh [COLLECTION_DIR]   default /tmp/vestrels-bench-collection
#
# Builds library_bench and vestrels-cli in $VESTRELS_BENCH_BUILD (default
# build-bench, Release), makes the collection when it is missing, warms the
# page cache, and prints the figures with the two ratios and their targets.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp/vestrels-bench-collection}
build=${VESTRELS_BENCH_BUILD:-$root/build-bench}
issues=2000
cli_runs=10

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target library_bench vestrels-cli >/dev/null

if [ ! -f "$dir/izone$issues/frame/left.htm" ]; then
  python3 "$root/bench/make_collection.py" "$dir" "$issues"
fi

# Warm cache: every figure below is for pages already in memory.
find "$dir" -name left.htm -exec cat {} + >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The tool reads the settings for the catalogue; give it an empty profile so
# the defaults apply and nothing of the user's is touched.
export XDG_CONFIG_HOME="$scratch/profile"
mkdir -p "$XDG_CONFIG_HOME"

VESTRELS_BENCH_DIR="$dir" "$build/bench/library_bench" \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$scratch/bench.json" --benchmark_out_format=json

listed=$("$build/vestrels-cli" --dir "$dir" list | wc -l)
if [ "$listed" -ne "$issues" ]; then
  echo "vestrels-cli listed $listed issues, expected $issues" >&2
  exit 1
fi
: >"$scratch/cli.txt"
for _ in $(seq "$cli_runs"); do
  start=$(date +%s%N)
  "$build/vestrels-cli" --dir "$dir" list >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000)) >>"$scratch/cli.txt"
done

python3 - "$scratch/bench.json" "$scratch/cli.txt" <<'EOF'
import json, statistics, sys

scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
median = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        median[b["run_name"].split("/")[0]] = b["real_time"] * scale[b["time_unit"]]
cli = statistics.median(int(line) for line in open(sys.argv[2])) / 1000.0

read = median["ReadContentsFiles"]
build = median["BuildLibrary"]

def verdict(ratio, target):
    return "met" if ratio <= target else "MISSED"

print()
print(f"read all contents pages (floor)   {read:8.1f} ms")
print(f"  through the platform reader     {median['ReadContentsPlatform']:8.1f} ms")
print(f"  library ordering alone          {median['SortIssueFolders']:8.1f} ms")
print(f"library build (scan, sort, parse) {build:8.1f} ms   build/read = {build / read:5.2f}"
      f"  (target <= 2: {verdict(build / read, 2)})")
print(f"vestrels-cli list, whole process  {cli:8.1f} ms   cli/read   = {cli / read:5.2f}"
      f"  (target <= 3: {verdict(cli / read, 3)})")
print("medians: benchmark over 5 repetitions, process over", sum(1 for _ in open(sys.argv[2])), "runs")
EOF
