# Sourced by the scripts: installs the Debian packages the build needs when
# any is missing, and builds a folder with one of the presets in
# CMakePresets.json.
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

BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libquazip1-qt6-dev libuchardet-dev libxml2-dev)
# Making the Debian package (scripts/package): dependencies, file types, lint.
PACKAGE_PACKAGES=(dpkg-dev file lintian)

# build PRESET DIR [BUILD_OPTIONS...]: configures DIR with the preset's
# options every time (quick when nothing changed), so a folder never keeps
# the options of an earlier configure, then builds it (cmake --build options,
# such as --target, may follow). A compiler launcher such as ccache is taken
# from CMAKE_CXX_COMPILER_LAUNCHER in the environment.
build() {
    local preset=$1 dir=$2; shift 2
    cmake --preset "$preset" -B "$dir" >/dev/null
    cmake --build "$dir" "$@"
}
