# Shared by ./run and ./test: install what a fresh Debian 12 lacks, then configure and build.
# Sourced, not run.

# qt6-wayland: the window runs natively on a Wayland session, not through XWayland.
# zlib1g-dev: Excel workbooks are zip files. qt6-l10n-tools, qt6-tools-dev: the English
# translation is built with lrelease.
NMAKER_PACKAGES=(cmake g++ ninja-build qt6-base-dev qt6-translations-l10n fonts-noto-cjk
    qt6-wayland zlib1g-dev qt6-l10n-tools qt6-tools-dev)
# What the Debian package is made with: CPack finds the libraries' packages through these.
NMAKER_PACKAGE_PACKAGES=(dpkg-dev file)
# What the tests run besides the program: the desktop's validators, a headless Wayland
# compositor, a screen reader's view through AT-SPI on an X server of its own, and the
# formatter the sources are checked against; the package's checks (lintian, man, the winget
# manifest's YAML).
NMAKER_TEST_PACKAGES=(desktop-file-utils appstream weston imagemagick xvfb dbus-daemon
    at-spi2-core python3-pyatspi clang-format "${NMAKER_PACKAGE_PACKAGES[@]}" lintian man-db
    python3-yaml)

nmaker_as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

nmaker_install_missing() {
    local missing=() p
    for p in "${NMAKER_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    nmaker_as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    nmaker_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# nmaker_build [--target NAME] [configure options...]: configures build/ and builds NAME, or
# everything the configuration asks for.
nmaker_build() {
    local target=()
    if [ "${1:-}" = "--target" ]; then
        target=(--target "$2")
        shift 2
    fi
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build build --parallel "$(nproc)" "${target[@]}"
}
