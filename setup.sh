#!/usr/bin/env bash
# Vantrel set-up on Debian 12.
#   ./setup.sh run    install what is needed, build, and start Vantrel on its default data file
#   ./setup.sh test   install what is needed, build with the sanitizers, and run every test
#   ./setup.sh package  install what is needed, build, and make the Debian package in build/release
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins qt6-translations-l10n qt6-charts-dev libqt6opengl6-dev
    libsqlite3-dev sqlite3 libpq-dev postgresql libsodium-dev qtkeychain-qt6-dev libgtest-dev libquazip1-qt6-dev zlib1g-dev libicu-dev
    fonts-wqy-microhei unzip poppler-utils openssl python3-openpyxl
    dpkg-dev file desktop-file-utils appstream
)

install_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

build() { # folder, extra cmake arguments...
    local folder=$1
    shift
    cmake -S . -B "$folder" -G Ninja "$@"
    cmake --build "$folder" --parallel "$(nproc)"
}

case "${1:-}" in
run)
    install_packages
    build build/release -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF
    cd build/release/run
    exec ./vantrel
    ;;
test)
    install_packages
    build build/asan -DCMAKE_BUILD_TYPE=Debug -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCH=OFF
    ctest --test-dir build/asan --output-on-failure --parallel "$(nproc)" --timeout 600
    ;;
package)
    install_packages
    build build/release -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_TESTS=OFF -DVANTREL_BUILD_BENCH=OFF
    (cd build/release && cpack -G DEB)
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
