#!/usr/bin/env bash
# Installs the built library into a scratch prefix and builds and runs the consumer against it.
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$source_dir" -B "$scratch/build" "${generator[@]}" -DCMAKE_PREFIX_PATH="$scratch/prefix" >/dev/null
cmake --build "$scratch/build" >/dev/null
"$scratch/build/consumer"
