#!/usr/bin/env bash
# Benchmark of the sort engine against GNU sort. Not part of `make test`.
#
#   bench/run.sh [--quick] [--runs N] [--only B1,B2,B3]
#
# Builds a Release tree in build-bench/, generates the data sets there
# (fixed seed; about 1.2 GB of disk for data, outputs and work files) and
# prints the table. See bench/README.md.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD:-$root/build-bench}"

for tool in cmake ninja python3 sort cp; do
    command -v "$tool" >/dev/null || { echo "bench: $tool is missing" >&2; exit 2; }
done
if [ ! -x /usr/bin/time ]; then
    echo "bench: /usr/bin/time not found; peak memory comes from the children's rusage" >&2
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DREELBOOK_BUILD_GUI=OFF -DREELBOOK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target sorvel -j2 >/dev/null

echo "load before the run: $(cut -d' ' -f1-3 /proc/loadavg)"
exec python3 "$root/bench/bench.py" --sorvel "$build/bin/sorvel" --work "$build/bench-data" "$@"
