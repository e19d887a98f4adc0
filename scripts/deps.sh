# Sourced by ./run and ./test: installs the Debian packages a command needs when missing.
# ensure_packages PKG...: apt-get when root; otherwise print the one line to run and stop.
ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}" >&2
        export DEBIAN_FRONTEND=noninteractive
        if ! apt-get install -y --no-install-recommends "${missing[@]}" >&2; then
            apt-get update >&2 && apt-get install -y --no-install-recommends "${missing[@]}" >&2 || exit 1
        fi
    else
        echo "Missing packages. Run this, then try again:" >&2
        echo "  sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
}

# The packages every build needs: compiler, CMake with Ninja, Qt 6, its Japanese
# translations, and the Japanese font the windows substitute for their designed faces.
BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-translations-l10n fonts-ipafont-gothic fontconfig)

# configure_and_build BUILD_DIR [cmake args...]: configures once, then builds incrementally.
configure_and_build() {
    local dir=$1; shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >&2 || exit 1
    fi
    cmake --build "$dir" >&2 || exit 1
}
