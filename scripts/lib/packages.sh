# Sourced by the scripts: installs the Debian packages that are missing, and only those.

ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update
    $sudo apt-get -o DPkg::Lock::Timeout=600 install -y "${missing[@]}"
}

# What every build needs: the compiler, CMake with Ninja, Qt 6 with its Polish translations
# (the standard dialogs) and a font for the widgets.
build_packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n fonts-dejavu-core fonts-liberation2 libisofs-dev)

# What the tests need besides: the validators of the desktop entry and the AppStream metainfo.
test_packages=(desktop-file-utils appstream)
