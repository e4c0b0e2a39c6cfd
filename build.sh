#!/usr/bin/env bash
# Builds Vintorel on Debian, installing the packages it needs when they are missing.
#   ./build.sh run [ARGS] build the editor and start it with ARGS; it runs as installed
#                         into build/run, so it keeps its settings in ~/.config/vintorel/
#                         and its fonts in ~/.local/share/vintorel/, outside build/
#   ./build.sh test       build and run the tests (ctest)
#   ./build.sh install    build and install into $PREFIX (default ~/.local): the editor,
#                         mkfontx2, the manual, the launcher and the icon
#   ./build.sh sanitize   the same tests with address and undefined-behaviour sanitizers
#   ./build.sh fuzz       build the libFuzzer targets with clang and replay their corpus
set -euo pipefail
# The editor starts where build.sh was called, so relative file names work.
caller_directory=$PWD
cd "$(dirname "$0")"

# qt6-translations-l10n puts Qt's own dialogs (file dialog, buttons) into the
# user's language.
packages=(g++ cmake ninja-build libgtest-dev libbenchmark-dev unifont qt6-base-dev fonts-noto-cjk
          qt6-translations-l10n)
# The desktop tests run the editor as a real X client and type into it, and
# check the installed launcher.
test_packages=(xvfb xdotool desktop-file-utils)
fuzz_packages=(clang libclang-rt-14-dev)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)
mode=${1:-test}
case "$mode" in
  run)
    shift || true
    install_missing "${packages[@]}"
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$jobs" --target vintorel mkfontx2
    # Installed into build/run, the editor keeps the user's settings outside
    # build/, so that rm -rf build never takes them along.
    cmake --install build --prefix "$PWD/build/run" >/dev/null
    editor="$PWD/build/run/bin/vintorel"
    cd "$caller_directory"
    exec "$editor" "$@"
    ;;
  install)
    install_missing "${packages[@]}"
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$jobs" --target vintorel mkfontx2
    prefix=${PREFIX:-$HOME/.local}
    sudo=()
    mkdir -p "$prefix" 2>/dev/null || true
    [ -w "$prefix" ] || sudo=(sudo)
    "${sudo[@]}" cmake --install build --prefix "$prefix"
    # Desktops find the launcher and icon sooner with their caches refreshed.
    if command -v update-desktop-database >/dev/null; then
      "${sudo[@]}" update-desktop-database -q "$prefix/share/applications" || true
    fi
    if command -v gtk-update-icon-cache >/dev/null && [ -f "$prefix/share/icons/hicolor/index.theme" ]; then
      "${sudo[@]}" gtk-update-icon-cache -q "$prefix/share/icons/hicolor" || true
    fi
    echo "Installed $prefix/bin/vintorel; settings go to ${XDG_CONFIG_HOME:-$HOME/.config}/vintorel/"
    case ":$PATH:" in
      *":$prefix/bin:"*) ;;
      *) echo "Note: $prefix/bin is not on your PATH; the menu launcher works without it." ;;
    esac
    ;;
  test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$jobs"
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  sanitize)
    install_missing "${packages[@]}" "${test_packages[@]}"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVINTOREL_SANITIZE=ON -DVINTOREL_BENCH=OFF
    cmake --build build-asan -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
  fuzz)
    install_missing "${packages[@]}" "${fuzz_packages[@]}"
    CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVINTOREL_FUZZ=ON
    cmake --build build-fuzz -j "$jobs"
    fuzz/replay build-fuzz
    ;;
  *)
    echo "usage: $0 [run [ARGS...]|test|install|sanitize|fuzz]" >&2
    exit 2
    ;;
esac
