#!/usr/bin/env bash
# Installs the built library into a scratch prefix, checks that only the public headers
# went in, builds the consumer (the README's embedding example, and the installed headers
# together) against it and runs it offscreen on a copy of the sample network.
#   run.sh <build>           the build's own (shared) libraries
#   run.sh <build> --static  first builds the libraries alone as static archives
#                            (-DBUILD_SHARED_LIBS=OFF) in <build>/package-static: slow, so
#                            it is a test of its own (label "static", `make test-static`)
set -euo pipefail
build_dir=$(cd "$1" && pwd)
mode=${2:-shared}
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

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# The consumer is built by the compiler (and compiler launcher) that built the library: a
# library built under the sanitizers (make sanitize) links only with that compiler's runtime.
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt"; }
compiler=$(cache_value CMAKE_CXX_COMPILER)
launcher=$(cache_value CMAKE_CXX_COMPILER_LAUNCHER)
tools=(${compiler:+-DCMAKE_CXX_COMPILER="$compiler"} ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER="$launcher"})
# Two jobs at the most: ctest runs other tests beside this one on a machine of few cores.
quietly() { "$@" >"$scratch/log" 2>&1 || { cat "$scratch/log" >&2; return 1; }; }

library_build=$build_dir
if [ "$mode" = --static ]; then
    library_build=$build_dir/package-static
    quietly cmake -S "$root" -B "$library_build" "${generator[@]}" "${tools[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=OFF -DVQ_BUILD_TESTS=OFF -DVQ_BUILD_APPS=OFF -DVQ_BUILD_BENCH=OFF \
        || fail "the static build does not configure"
    quietly cmake --build "$library_build" --parallel 2 \
        --target VqZovezuVaveva VqZovezuVavevaSim VqZovezuVavevaConformance || fail "the static libraries do not build"
fi

# The prefix and the consumer's build folder stay in the build folder at fixed paths, so that
# a second run rebuilds only what changed (and the compiler cache finds the rest).
work=$build_dir/package-$([ "$mode" = --static ] && echo static-consumer || echo consumer)
prefix=$work/prefix
rm -rf "$prefix"
quietly cmake --install "$library_build" --prefix "$prefix" || fail "the install fails"
include="$prefix/include/VqZovezuVaveva"
[ -f "$include/hardware/ctlSensorHardware.h" ] || fail "the hardware control's header was not installed"
[ -f "$include/vqzovezuvaveva_export.h" ] || fail "the export header was not installed"
private=$(cd "$include" && find . -name '*_p.h' -o -name '*Testing.h' -o -path './device/sim/*' ! -name SimNetwork.h)
[ -z "$private" ] || fail "installed headers that are not public: $private"
! grep -rl 'resetForTests' "$include" >&2 || fail "a test-only declaration is installed"
# An installed header includes installed headers only (Qt's and the standard library's aside).
for header in $(cd "$include" && find . -name '*.h'); do
    for included in $(sed -n 's/^#include "\(.*\)"$/\1/p' "$include/$header"); do
        [ -f "$include/$included" ] || fail "$header includes $included, which is not installed"
    done
done
lib="$prefix/lib"
[ -d "$lib" ] || lib=$(dirname "$(find "$prefix" -name 'libVqZovezuVaveva.*' | head -1)")
for name in VqZovezuVaveva VqZovezuVavevaSim VqZovezuVavevaConformance; do
    if [ "$mode" = --static ]; then
        [ -f "$lib/lib$name.a" ] && [ -z "$(find "$lib" -name "lib$name.so*")" ] \
            || fail "lib$name is not a static archive alone"
    else
        [ -L "$lib/lib$name.so" ] && [ -n "$(find "$lib" -name "lib$name.so.[0-9]*")" ] \
            || fail "lib$name is not a versioned shared library"
    fi
done

quietly cmake -S "$source_dir" -B "$work/build" "${generator[@]}" "${tools[@]}" -DCMAKE_PREFIX_PATH="$prefix" \
    || fail "the consumer does not configure"
quietly cmake --build "$work/build" --parallel 2 || fail "the consumer does not build"

if [ "$mode" != --static ]; then
    # ldd's whole list first: with pipefail, grep -q leaving at its first match can make a
    # long list's ldd die of SIGPIPE and fail a check that matched.
    libraries=$(ldd "$work/build/consumer")
    grep -q "libVqZovezuVaveva.so.* => $prefix" <<<"$libraries" \
        || fail "the consumer does not load the installed shared library: $libraries"
fi
cp "$root/data/sample-network.json" "$scratch/network.json"
QT_QPA_PLATFORM=offscreen "$work/build/consumer" "$scratch/network.json" --quit
QT_QPA_PLATFORM=offscreen "$work/build/consumer" "$scratch/network.json" --us --quit
cmp -s "$root/data/sample-network.json" "$scratch/network.json" || fail "the consumer changed the network"
echo "package: ok ($mode)"
