#!/usr/bin/env bash
# Set-up, build, run and test Quillora on Debian 12.
#   scripts/quillora.sh run        install what is missing, build the program, start it with the sample
#   scripts/quillora.sh test       install what is missing, build everything, run every test headless
#   scripts/quillora.sh sanitize   the whole test suite under AddressSanitizer and UBSan
#   scripts/quillora.sh fuzz [s]   each fuzz target for s seconds (default 20) over its seed corpus
#   scripts/quillora.sh check      include rules of the layers, clang-format, clang-tidy
#   scripts/quillora.sh bench      the benchmark programs (core, then the main window), release build
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=${QUILLORA_BUILD_ROOT:-$here/build}
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++ clang-14 libclang-rt-14-dev qt6-base-dev qt6-base-dev-tools
          libgl-dev libgtest-dev libgmock-dev xvfb xauth xdotool imagemagick
          binutils-mingw-w64-x86-64 fonts-dejavu-core clang-format clang-tidy-14
          desktop-file-utils appstream shared-mime-info)

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

# Configures the build of a preset (CMakePresets.json) in $build_root/<preset>. CI=true makes
# every warning an error.
configure() {  # preset, extra cmake args...
    local preset=$1; shift
    local werror=()
    [ "${CI:-}" = true ] && werror=(-DQUILLORA_WERROR=ON)
    (cd "$here" && cmake --preset "$preset" -B "$build_root/$preset" "${werror[@]}" "$@" >/dev/null)
}

build() {  # preset, targets... (none: everything)
    local preset=$1; shift
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$build_root/$preset" -j "$jobs" ${targets[@]+"${targets[@]}"}
}

configure_and_build() {  # preset, extra cmake args...
    configure "$@"
    build "$1"
}

cmd=${1:-test}
case "$cmd" in
run)
    install_packages
    # Only what runs: the program. Configuring copies the help file beside it.
    configure release
    build release Quillora
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
    configure_and_build debug
    cd "$build_root/debug"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
    ;;
sanitize)
    install_packages
    configure_and_build asan
    cd "$build_root/asan"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
        ctest --output-on-failure -j "$jobs" -E '^bench'
    ;;
fuzz)
    install_packages
    seconds=${2:-20}
    configure_and_build fuzz
    # Crash inputs go beside the build, never into the repository.
    artifacts="$build_root/fuzz/artifacts"
    mkdir -p "$artifacts"
    failed=0
    for target in "$build_root"/fuzz/tests/fuzz/fuzz_*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        corpus="$here/tests/fuzz/corpus/${name#fuzz_}"
        work=$(mktemp -d)
        log="$artifacts/$name.log"
        echo "== $name for ${seconds}s"
        if "$target" -max_total_time="$seconds" -max_len=200000 -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=0 -artifact_prefix="$artifacts/$name-" "$work" "$corpus" >"$log" 2>&1
        then
            tail -n 2 "$log"
        else
            echo "$name FAILED; its whole report, the input is kept in $artifacts:"
            cat "$log"
            failed=1
        fi
        rm -rf "$work"
    done
    [ $failed -eq 0 ]
    ;;
check)
    install_packages
    bash "$here/scripts/check_layers.sh"
    cd "$here"
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
    echo "format: every file is formatted"
    configure_and_build debug
    run-clang-tidy-14 -p "$build_root/debug" -quiet \
        "$here/(base|document|search|settings|help|favorites|exchange|gui|app|remover)/" \
        >"$build_root/debug/clang-tidy.log" 2>&1 || { cat "$build_root/debug/clang-tidy.log"; exit 1; }
    echo "clang-tidy: no findings"
    ;;
bench)
    install_packages
    configure_and_build release
    "$build_root/release/tests/bench/quillora_bench" "${@:2}"
    QT_QPA_PLATFORM=offscreen "$build_root/release/tests/bench/ui/quillora_ui_bench"
    ;;
*)
    echo "usage: $0 run|test|sanitize|fuzz [seconds]|check|bench" >&2
    exit 2
    ;;
esac
