# Sourced by the scripts: decides once which Windows build this machine can
# run under Wine, and names its build folders, Wine loader and prefix.
#
# Some kernels run 64-bit code only. There the 32-bit Wine loader fails
# ("Exec format error") although the kernel configuration and lscpu claim
# 32-bit support, and Debian's `wine` launcher would quietly pick wine64 when
# wine32 is missing, so only running the 32-bit loader itself tells.
# VORLIX_WINE_ARCH=win64 chooses the 64-bit mode on any machine.
mode_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ -z "${VORLIX_WINE_ARCH:-}" ]; then
    if [ ! -e /usr/lib/wine/wine ]; then
        # Wine not installed yet (a bare build): the 32-bit program is the default.
        VORLIX_WINE_ARCH=win32
    elif reason=$(/usr/lib/wine/wine --version 2>&1 >/dev/null); then
        VORLIX_WINE_ARCH=win32
    else
        VORLIX_WINE_ARCH=win64
        reason=$(printf '%s' "$reason" | head -n 1 | sed 's/^.*: line [0-9]*: //')
        echo "32-bit programs cannot run on this machine (/usr/lib/wine/wine --version: ${reason:-failed}):" \
            "building and testing the 64-bit Vorlix under /usr/lib/wine/wine64 instead."
    fi
fi
case "$VORLIX_WINE_ARCH" in
    win32)
        vorlix_bits=32
        wine_loader=/usr/lib/wine/wine
        win_toolchain=$mode_root/cmake/mingw-i686.cmake
        win_build=$mode_root/build/win
        program_build=$mode_root/build/program
        ;;
    win64)
        vorlix_bits=64
        wine_loader=/usr/lib/wine/wine64
        win_toolchain=$mode_root/cmake/mingw-x86_64.cmake
        win_build=$mode_root/build/win64
        program_build=$mode_root/build/program64
        ;;
    *)
        echo "VORLIX_WINE_ARCH must be win32 or win64, not '$VORLIX_WINE_ARCH'" >&2
        return 2 2>/dev/null || exit 2
        ;;
esac
export VORLIX_WINE_ARCH
# The program we ship is always the 32-bit one; it is built (and its imports
# checked) in either mode, since building needs no 32-bit execution.
shipped_build=$mode_root/build/program
