# lib.sh: shared by the build, test and play scripts: installing the tools and setting up Wine.
# Sourced, not run. Callers use `set -euo pipefail`.

DOVRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DOVRA_VERSION=$(sed -n 's/^project(Dovra VERSION \([0-9.]*\) .*/\1/p' "$DOVRA_ROOT/CMakeLists.txt")

# Everything the three presets, the tests under Wine, the end-to-end tests and the release files need on
# Debian 12.
# wine64 only with --no-install-recommends: with recommends it drags in hundreds of packages. wine32:i386
# runs the 32-bit program; the end-to-end test hears it through a PulseAudio server of its own. The GTK program
# builds on GTK 4 and plays its sounds through libpulse.
DOVRA_PACKAGES=(
  cmake make g++ git ca-certificates
  googletest
  pkg-config libgtk-4-dev libpulse-dev fonts-liberation2 # the GTK program; its score in Liberation Sans, with the metrics of Windows' face
  wine64 fonts-wine wine32:i386
  pulseaudio pulseaudio-utils zip unzip
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  xvfb xdotool imagemagick x11-utils
  libbenchmark-dev
  clang libclang-rt-14-dev
  nsis lintian desktop-file-utils appstream
)

say() { printf '== %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Installs whichever of the packages are missing; does nothing (and needs no network) when all are there.
dovra_install() {
  local missing=() p
  for p in "${DOVRA_PACKAGES[@]}"; do
    if ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  say "installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || die "missing packages (${missing[*]}) and not root"
    sudo=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
  fi
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# SOURCE_DATE_EPOCH, the time stamped in the release files and the programs: the last commit's time when
# it is not set.
dovra_source_date_epoch() {
  if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$DOVRA_ROOT" log -1 --format=%ct 2>/dev/null) ||
      die "SOURCE_DATE_EPOCH is not set and $DOVRA_ROOT is no git checkout to take the last commit's time from"
  fi
  export SOURCE_DATE_EPOCH
}

# The conventions of reproducible release files: every time stamped is SOURCE_DATE_EPOCH, and neither the
# time zone, the umask nor the locale shows in them.
dovra_reproducible_env() {
  dovra_source_date_epoch
  export TZ=UTC LC_ALL=C
  umask 022
}

# The Wine set-up of the players' command, dovra_wine_env and dovra_wine_prefix: the tests make their
# prefixes the way a player's is made.
. "$DOVRA_ROOT/package/deb/dovra"

# Stops the wineserver of the current prefix and everything Wine runs in it.
dovra_wine_stop() {
  timeout 10 "$DOVRA_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  timeout 10 "$DOVRA_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
}

# dovra_wine32_check PROGRAM.exe: returns 0 for a 64-bit program, or a 32-bit one this machine can run.
# A 32-bit program (machine field 014c in its PE header) runs in Wine's 32-bit loader, which needs
# wine32:i386 and a kernel that runs 32-bit code. Without wine32, wine64 exits 0 having run nothing, so
# the loader is asked first: returns 1 and sets DOVRA_WINE32_WHY when it cannot run.
dovra_wine32_check() {
  local pe out
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = 014c ] || return 0
  [ -x /usr/lib/wine/wine ] || die "$1 is a 32-bit program, and no 32-bit Wine (wine32:i386) is installed"
  out=$(/usr/lib/wine/wine --version 2>&1) && return 0
  DOVRA_WINE32_WHY="this kernel cannot run 32-bit programs (wine: ${out##*: })"
  return 1
}
