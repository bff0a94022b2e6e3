#!/usr/bin/env bash
# Runs every fuzz target for a while on a scratch copy of its seed corpus.
#   run-fuzzers.sh BUILD_DIR SECONDS [TARGET...]
# New inputs go to BUILD_DIR/corpus/<target>, crashing ones to BUILD_DIR/artifacts/. All
# targets run even after a failure; the exit status is non-zero when any of them failed.
set -uo pipefail

build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(settings_document_fuzz study_names_fuzz)
fi

failed=()
mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
    name=${target%_fuzz}
    scratch=$build/corpus/$target
    rm -rf "$scratch"
    mkdir -p "$scratch"
    cp "$here/corpus/$name/"* "$scratch/"
    dict=()
    if [[ -f $here/$name.dict ]]; then
        dict=(-dict="$here/$name.dict")
    fi
    echo "== $target: $seconds s"
    if ! "$build/tests/fuzz/$target" "$scratch" "${dict[@]}" -max_total_time="$seconds" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        2>"$build/$target.log"; then
        failed+=("$target")
        tail -n 60 "$build/$target.log"
    fi
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec):|^Done ' "$build/$target.log"
done

if ((${#failed[@]} > 0)); then
    echo "fuzz: failed: ${failed[*]} (inputs in $build/artifacts/)" >&2
    exit 1
fi
