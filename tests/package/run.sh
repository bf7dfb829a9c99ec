#!/usr/bin/env bash
# Installs the built library into a scratch prefix, checks that only the public headers
# went in, builds the consumer (the README's embedding example, the conformance suite's
# runner, and every installed header on its own) against it and runs both offscreen on a
# copy of the sample network.
set -euo pipefail
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$source_dir/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

# The README shows main.cpp verbatim: the fenced block after the marker line.
readme_block=$(awk '/^<!-- tests\/package\/main.cpp -->$/ { marker = 1; next }
    marker && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$root/README.md")
[ -n "$readme_block" ] || fail "README.md has no block marked <!-- tests/package/main.cpp -->"
diff <(printf '%s\n' "$readme_block") "$source_dir/main.cpp" >&2 \
    || fail "the README's embedding example differs from tests/package/main.cpp"

cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
include="$scratch/prefix/include/VqZovezuVaveva"
[ -f "$include/hardware/ctlSensorHardware.h" ] || fail "the hardware control's header was not installed"
private=$(cd "$include" && find . -name '*_p.h' -o -name '*Testing.h' -o -path './device/sim/*' ! -name SimNetwork.h)
[ -z "$private" ] || fail "installed headers that are not public: $private"
! grep -rl 'resetForTests' "$include" >&2 || fail "a test-only declaration is installed"

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# Two jobs at the most: ctest runs other tests beside this one on a machine of few cores.
# The consumer is built by the compiler that built the library: a library built under the
# sanitizers (make sanitize) links only with that compiler's sanitizer runtime.
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build_dir/CMakeCache.txt")
{ cmake -S "$source_dir" -B "$scratch/build" "${generator[@]}" -DCMAKE_PREFIX_PATH="$scratch/prefix" \
    ${compiler:+-DCMAKE_CXX_COMPILER="$compiler"} \
    && cmake --build "$scratch/build" --parallel 2; } >"$scratch/log" 2>&1 || { cat "$scratch/log" >&2; fail "the consumer does not build"; }

cp "$root/data/sample-network.json" "$scratch/network.json"
QT_QPA_PLATFORM=offscreen "$scratch/build/consumer" "$scratch/network.json" --quit
QT_QPA_PLATFORM=offscreen "$scratch/build/consumer" "$scratch/network.json" --us --quit
cmp -s "$root/data/sample-network.json" "$scratch/network.json" || fail "the consumer changed the network"
"$scratch/build/conformance" "$scratch/network.json" || fail "the installed conformance suite fails on the sample network"
echo "package: ok"
