# Shared by play.sh and test.sh: the repository root, the Debian packages the build needs,
# and configure-and-build. Source it; it defines functions and changes nothing by itself.

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS=2

REQUIRED_PACKAGES=(cmake g++ pkg-config libsdl2-dev libgl-dev libpng-dev zlib1g-dev liblzo2-dev
                   libgtest-dev libbenchmark-dev libgl1-mesa-dri libegl1 libegl-mesa0 clang appstream)

missing_packages() {
    local package
    for package in "${REQUIRED_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

# Installs whatever is missing; does nothing (and needs no network) when all is there.
install_packages() {
    local missing
    missing=$(missing_packages)
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
