#!/usr/bin/env bash
# Set-up, build, run and test Quillora on Debian 12.
#   scripts/quillora.sh run        install what is missing, build the program, start it with the sample
#   scripts/quillora.sh test       install what is missing, build everything, run every test headless
#   scripts/quillora.sh sanitize   the whole test suite under AddressSanitizer and UBSan
#   scripts/quillora.sh fuzz [s]   each fuzz target for s seconds (default 20) over its seed corpus
#   scripts/quillora.sh bench      the benchmark programs (core, then the main window), release build
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${QUILLORA_BUILD_ROOT:-$here/build}
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++ clang-14 libclang-rt-14-dev qt6-base-dev qt6-base-dev-tools
          libgl-dev libgtest-dev libgmock-dev xvfb xauth xdotool imagemagick
          binutils-mingw-w64-x86-64 fonts-dejavu-core)

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure() {  # dir, extra cmake args...
    local dir=$1; shift
    cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
}

build() {  # dir, targets... (none: everything)
    local dir=$1; shift
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$dir" -j "$jobs" ${targets[@]+"${targets[@]}"}
}

configure_and_build() {  # dir, extra cmake args...
    configure "$@"
    build "$1"
}

cmd=${1:-test}
case "$cmd" in
run)
    install_packages
    # Only what runs: the program. Configuring copies the help file beside it.
    configure "$build_root/release" -DCMAKE_BUILD_TYPE=Release
    build "$build_root/release" Quillora
    home=${QUILLORA_HOME:-$HOME/.local/share/Quillora-dev}
    mkdir -p "$home"
    # The help belongs to the program: always the built one. The sample is the user's once copied.
    cp "$build_root/release/app/Quillora.hlp" "$home/"
    sample="$here/samples/Welcome.qlb"
    [ -f "$home/Welcome.qlb" ] || { [ -f "$sample" ] && cp "$sample" "$home/Welcome.qlb"; } || true
    args=()
    [ -f "$home/Welcome.qlb" ] && args+=("$home/Welcome.qlb")
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display: starting Quillora under Xvfb"
        QUILLORA_HOME=$home exec xvfb-run -a "$build_root/release/app/Quillora" "${args[@]}"
    fi
    QUILLORA_HOME=$home exec "$build_root/release/app/Quillora" "${args[@]}"
    ;;
test)
    install_packages
    configure_and_build "$build_root/debug" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cd "$build_root/debug"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
    ;;
sanitize)
    install_packages
    configure_and_build "$build_root/asan" -DCMAKE_BUILD_TYPE=Debug -DQUILLORA_SANITIZE=ON
    cd "$build_root/asan"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
        ctest --output-on-failure -j "$jobs" -E '^bench'
    ;;
fuzz)
    install_packages
    seconds=${2:-20}
    configure_and_build "$build_root/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLORA_FUZZ=ON \
        -DCMAKE_CXX_COMPILER=clang++-14
    for target in "$build_root"/fuzz/tests/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        corpus="$here/tests/fuzz/corpus/${name#fuzz_}"
        work=$(mktemp -d)
        echo "== $name for ${seconds}s"
        "$target" -max_total_time="$seconds" -max_len=200000 -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=0 "$work" "$corpus" 2>&1 | tail -n 3
        rm -rf "$work"
    done
    ;;
bench)
    install_packages
    configure_and_build "$build_root/release" -DCMAKE_BUILD_TYPE=Release
    "$build_root/release/tests/bench/quillora_bench" "${@:2}"
    QT_QPA_PLATFORM=offscreen "$build_root/release/tests/bench/ui/quillora_ui_bench"
    ;;
*)
    echo "usage: $0 run|test|sanitize|fuzz [seconds]|bench" >&2
    exit 2
    ;;
esac
