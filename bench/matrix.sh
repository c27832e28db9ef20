#!/usr/bin/env bash
# Benchmark matrix of the sort engine against GNU sort. Not part of `make test`.
#
#   bench/matrix.sh [--full] [--runs N] [--only TEXT]
#
# Quick mode (the default): 100,000 to 1,000,000 records per case, 3 runs,
# about 3 GB of disk in build-bench/matrix-data. --full: 1,000,000 records per
# case plus 5,000,000 and 20,000,000-record cases, 5 runs, about 6 GB.
# See bench/README.md.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD:-$root/build-bench}"

for tool in cmake ninja python3 sort cp; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 2; }
done

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DREELBOOK_BUILD_GUI=OFF -DREELBOOK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target sorvel -j2 >/dev/null

echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
exec python3 "$root/bench/matrix.py" --sorvel "$build/bin/sorvel" --work "$build/matrix-data" "$@"
