#!/usr/bin/env bash
# Builds Vintorel on Debian, installing the packages it needs when they are missing.
#   ./build.sh run [ARGS] build the editor and start it (build/vintorel ARGS); fonts and
#                         settings are made beside it on its first start
#   ./build.sh test       build and run the tests (ctest)
#   ./build.sh sanitize   the same with address and undefined-behaviour sanitizers
#   ./build.sh fuzz       build the libFuzzer targets with clang and replay their corpus
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build libgtest-dev libbenchmark-dev unifont qt6-base-dev fonts-noto-cjk)
# The desktop tests run the editor as a real X client and type into it.
test_packages=(xvfb xdotool)
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
    exec build/vintorel "$@"
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
    echo "usage: $0 [run [ARGS...]|test|sanitize|fuzz]" >&2
    exit 2
    ;;
esac
