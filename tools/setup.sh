#!/usr/bin/env bash
# Installs the Debian packages the project needs (only those missing), then configures and builds.
#   tools/setup.sh             release build in build/
#   tools/setup.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/
#   tools/setup.sh --tsan      ThreadSanitizer build in build-tsan/ of the test programs that
#                              tools/tsan_tests.sh names
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build pkg-config
          qt6-base-dev qt6-image-formats-plugins qt6-translations-l10n
          libgif-dev libimagequant-dev libpng-dev zlib1g-dev libdeflate-dev libjpeg62-turbo-dev
          libtiff-dev libexif-dev liblcms2-dev libwebp-dev libheif-dev libxcb1-dev
          fonts-liberation2 fonts-dejavu-core
          libgtest-dev libgmock-dev libbenchmark-dev
          desktop-file-utils appstream dpkg-dev file lintian)

# libheif from 1.17 on (Debian 13) decodes HEVC and AV1 through plugins of their own packages.
for p in libheif-plugin-libde265 libheif-plugin-dav1d libheif-plugin-x265 libheif-plugin-aomenc; do
    apt-cache show "$p" >/dev/null 2>&1 && packages+=("$p")
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=build
cmake_args=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
targets=()
# A compiler cache, when the machine has one, makes rebuilds of unchanged sources free.
if command -v ccache >/dev/null; then
    cmake_args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-asan
    cmake_args+=(-DTESSEL_SANITIZE=ON -DTESSEL_BUILD_BENCH=OFF)
elif [ "${1:-}" = "--tsan" ]; then
    build_dir=build-tsan
    cmake_args+=(-DTESSEL_TSAN=ON -DTESSEL_BUILD_BENCH=OFF)
    source tools/tsan_tests.sh
    for entry in "${tsan_tests[@]}"; do
        program=${entry%%:*}
        [[ " ${targets[*]} " == *" $program "* ]] || targets+=("$program")
    done
fi
cmake -S . -B "$build_dir" "${cmake_args[@]}" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$build_dir" --target "${targets[@]}"
else
    cmake --build "$build_dir"
fi
