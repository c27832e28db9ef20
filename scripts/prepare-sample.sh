#!/usr/bin/env bash
# Gives `make run` a working catalogue folder: BUILD_DIR/catalogue-run.
#
# The sample catalogue built into BUILD_DIR/share/reelbook/sample is copied
# there file by file, but only files that are not there yet: once the folder
# exists, the user's records, colours and indexes are never overwritten.
#
# With --reset (`make sample`) the folder starts over from the sample: the
# folder as it was is first moved aside to catalogue-run.<date-time>, so
# nothing the user entered is lost.
#
# usage: bash scripts/prepare-sample.sh [--reset] BUILD_DIR
set -euo pipefail

usage="usage: bash scripts/prepare-sample.sh [--reset] BUILD_DIR"
reset=no
if [[ ${1:-} == --reset ]]; then
    reset=yes
    shift
fi
if [[ $# -ne 1 ]]; then
    echo "$usage" >&2
    exit 2
fi

build_dir=$1
sample_dir=$build_dir/share/reelbook/sample
run_dir=$build_dir/catalogue-run

if [[ ! -f $sample_dir/Tavlen.Dat ]]; then
    echo "prepare-sample: no sample catalogue in $sample_dir; build first (make build)." >&2
    exit 1
fi

if [[ $reset == yes && -e $run_dir ]]; then
    kept=$run_dir.$(date +%Y%m%d-%H%M%S)
    if [[ -e $kept ]]; then
        echo "prepare-sample: $kept exists already; try again in a second." >&2
        exit 1
    fi
    mv "$run_dir" "$kept"
    echo "prepare-sample: the previous working folder is kept as $kept"
fi

mkdir -p "$run_dir"
copied=0
for file in "$sample_dir"/*; do
    target=$run_dir/$(basename "$file")
    if [[ ! -e $target ]]; then
        cp -p "$file" "$target"
        copied=$((copied + 1))
    fi
done

if [[ $copied -gt 0 ]]; then
    echo "prepare-sample: copied $copied sample file(s) into $run_dir"
fi
