# Sourced by the scripts in this folder: installs the Debian packages the
# build needs when any is missing, then configures and builds into build/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}

BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libquazip1-qt6-dev libuchardet-dev)
# Making the Debian package (scripts/package): dependencies, file types, lint.
PACKAGE_PACKAGES=(dpkg-dev file lintian)

build() {
    local dir=${1:-build}; shift || true
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    fi
    cmake --build "$dir"
}
