#!/usr/bin/env bash
# tessera developer entry point.
#
#   ./dev.sh gallery          build and run the gallery (no display: write PNG screenshots)
#   ./dev.sh test             build and run every test
#   ./dev.sh bench            build (Release) and run the benchmarks
#   ./dev.sh sanitize         build with ASan+UBSan (LSan on) and run every test
#   ./dev.sh fuzz [SECONDS]   build the libFuzzer targets with clang and run them side by side
#                             for SECONDS (default 60)
#   ./dev.sh lint             build the libraries, tools and gallery with clazy (Qt checks of
#                             levels 0 and 1); fails on any clazy finding
#   ./dev.sh install PREFIX   build and install the library into PREFIX
#   ./dev.sh docs             generate the API reference (build-docs/html); fails on undocumented API
#
# Each command installs the Debian packages it needs when they are missing
# (as root, or through sudo), configures once, and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
ROOT=$PWD
JOBS=${JOBS:-2}

say() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

BASE_PACKAGES=(cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-private-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libgl1-mesa-dev nlohmann-json3-dev fonts-dejavu-core)

ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]: configure DIR once (again only when the options change), then build.
build() {
    local dir=$1; shift
    local stamp="$dir/.dev-options" wanted="$*"
    if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$wanted" ]; then
        say "configuring $dir"
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
        printf '%s' "$wanted" > "$stamp"
    fi
    say "building $dir"
    cmake --build "$dir" --parallel "$JOBS" "${BUILD_TOOL_ARGS[@]}"
}
BUILD_TOOL_ARGS=()

run_tests() {
    local dir=$1; shift
    say "running tests in $dir"
    (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$JOBS" "$@")
}

cmd=${1:-help}
shift || true
case "$cmd" in
gallery)
    ensure_packages "${BASE_PACKAGES[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${1:-}" != "--screenshots" ]; then
        say "opening the gallery window"
        exec build/bin/tessera-gallery "$@"
    fi
    out=${TESSERA_SCREENSHOTS:-out/gallery}
    say "no display: writing screenshots to $out"
    QT_QPA_PLATFORM=offscreen build/bin/tessera-gallery --screenshots "$out/1x"
    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 build/bin/tessera-gallery --screenshots "$out/2x"
    say "screenshots are in $ROOT/$out (1x and 2x device pixel ratio)"
    ;;
test)
    ensure_packages "${BASE_PACKAGES[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_tests build "$@"
    ;;
bench)
    ensure_packages "${BASE_PACKAGES[@]}" libbenchmark-dev
    build build-release -DCMAKE_BUILD_TYPE=Release -DTESSERA_BUILD_BENCH=ON -DTESSERA_BUILD_TESTS=OFF -DTESSERA_BUILD_GALLERY=OFF
    say "running benchmarks (Release, offscreen)"
    for b in build-release/bin/bench_*; do
        [ -x "$b" ] || continue
        say "$(basename "$b")"
        QT_QPA_PLATFORM=offscreen "$b" "$@"
    done
    ;;
sanitize)
    ensure_packages "${BASE_PACKAGES[@]}"
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DTESSERA_SANITIZE=ON -DTESSERA_BUILD_GALLERY=OFF
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_init_order=1:detect_stack_use_after_return=1"
    export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    run_tests build-asan "$@"
    ;;
fuzz)
    ensure_packages "${BASE_PACKAGES[@]}" clang libclang-rt-dev
    seconds=${1:-60}
    build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTESSERA_BUILD_FUZZ=ON \
        -DTESSERA_BUILD_TESTS=OFF -DTESSERA_BUILD_GALLERY=OFF
    # The targets run side by side, one per core: a run of SECONDS takes SECONDS.
    # Each one's output goes to build-fuzz/<target>.log; the final figures are
    # printed when all have stopped, and the command fails if any target did.
    pids=() names=()
    for f in build-fuzz/bin/fuzz_*; do
        [ -x "$f" ] || continue
        name=$(basename "$f")
        corpus="build-fuzz/corpus/$name"
        mkdir -p "$corpus" fuzz/crashes
        say "$name for ${seconds}s (log: build-fuzz/$name.log)"
        QT_QPA_PLATFORM=offscreen "$f" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix=fuzz/crashes/ "$corpus" "fuzz/corpus/${name#fuzz_}" \
            >"build-fuzz/$name.log" 2>&1 &
        pids+=($!) names+=("$name")
    done
    status=0
    for i in "${!pids[@]}"; do
        if wait "${pids[$i]}"; then result=passed; else result=FAILED; status=1; fi
        say "${names[$i]}: $result"
        grep -E '^(stat::|Done [0-9]+ runs)|ERROR|SUMMARY' "build-fuzz/${names[$i]}.log" >&2 || true
    done
    exit $status
    ;;
lint)
    ensure_packages "${BASE_PACKAGES[@]}" clazy
    # clazy runs inside clang as a plugin. Every check of levels 0 and 1 is on,
    # and each of them is an error, so that a file with a finding builds no
    # object and is checked again next time; the compiler's own warnings stay
    # warnings. Silence one finding in place with a reason:
    #   ... // clazy:exclude=<check> <why>
    export CLAZY_CHECKS=level0,level1
    CLAZY_CHECKS_AS_ERRORS=$(clazy --list | awk '/^Checks from level[01]\./ { on = 1; next }
        /^[^ ]/ { on = 0 } on && NF { print $1 }' | paste -sd, -)
    export CLAZY_CHECKS_AS_ERRORS
    # ccache does not know the plugin's options: never reuse an object built without them.
    export CCACHE_DISABLE=1
    BUILD_TOOL_ARGS=(-- -k 0)   # every file's findings, not only the first file's
    log=build-lint/lint.log
    mkdir -p build-lint
    if ! build build-lint -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clazy \
            -DTESSERA_BUILD_TESTS=OFF -DTESSERA_BUILD_GALLERY=ON 2>&1 | tee "$log"; then
        say "clazy: $(grep -c 'error: .*\[-Wclazy-' "$log" || true) finding(s); see $log"
        exit 1
    fi
    say "clazy: no finding"
    ;;
install)
    prefix=${1:?usage: ./dev.sh install PREFIX}
    ensure_packages "${BASE_PACKAGES[@]}"
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --install build --prefix "$prefix"
    ;;
docs)
    ensure_packages doxygen
    mkdir -p build-docs
    say "generating the API reference from the installed headers"
    doxygen docs/Doxyfile
    say "the reference is in $ROOT/build-docs/html/index.html"
    ;;
help|-h|--help)
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
    ;;
*)
    echo "unknown command: $cmd (try ./dev.sh help)" >&2
    exit 2
    ;;
esac
