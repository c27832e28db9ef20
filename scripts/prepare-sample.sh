#!/usr/bin/env bash
# Gives `make run` a working catalogue folder: BUILD_DIR/catalogue-run.
#
# The sample catalogue built into BUILD_DIR/share/reelbook/sample is copied
# there file by file, but only files that are not there yet: once the folder
# exists, the user's records, colours and indexes are never overwritten.
#
# usage: bash scripts/prepare-sample.sh BUILD_DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: bash scripts/prepare-sample.sh BUILD_DIR" >&2
    exit 2
fi

build_dir=$1
sample_dir=$build_dir/share/reelbook/sample
run_dir=$build_dir/catalogue-run

if [[ ! -f $sample_dir/Tavlen.Dat ]]; then
    echo "prepare-sample: no sample catalogue in $sample_dir; build first (make build)." >&2
    exit 1
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
