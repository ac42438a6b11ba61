# Shared by play.sh, test.sh and web.sh: the repository root, the Debian packages the build needs,
# and configure-and-build. Source it; it defines functions and changes nothing by itself.

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS=2

REQUIRED_PACKAGES=(cmake g++ pkg-config libsdl2-dev libgl-dev libpng-dev zlib1g-dev liblzo2-dev
                   libgtest-dev libbenchmark-dev libgl1-mesa-dri libegl1 libegl-mesa0 clang appstream)

# The browser version (scripts/web.sh): Debian's Emscripten, and dpkg-dev to unpack the sources
# of zlib, libpng and LZO, which it compiles for the browser. Its test runs headless Chromium.
WEB_PACKAGES=(emscripten dpkg-dev)
BROWSER_PACKAGES=(chromium)

# missing_packages [PACKAGE...]: the given packages (default: REQUIRED_PACKAGES) not installed.
missing_packages() {
    local package
    [ "$#" -gt 0 ] || set -- "${REQUIRED_PACKAGES[@]}"
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

# install_packages [PACKAGE...]: installs whatever is missing of the given packages (default:
# REQUIRED_PACKAGES); does nothing (and needs no network) when all is there.
install_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -z "$missing" ] && return 0
    echo "Installing missing packages:" $missing
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
}

# configure_and_build BUILD_DIR [CMAKE_OPTIONS...]
configure_and_build() {
    local build_dir="$1"
    shift
    cmake -S "$REPO_ROOT" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build_dir" -j"$JOBS"
}
