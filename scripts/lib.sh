# lib.sh: shared by the build, test and play scripts: installing the tools and setting up Wine.
# Sourced, not run. Callers use `set -euo pipefail`.

DOVRA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DOVRA_VERSION=$(sed -n 's/^project(Dovra VERSION \([0-9.]*\) .*/\1/p' "$DOVRA_ROOT/CMakeLists.txt")

# Everything the presets, the tests under Wine, the end-to-end tests and the release files need on Debian 12.
# wine64 only with --no-install-recommends: with recommends it drags in hundreds of packages. wine32:i386
# runs the 32-bit program; the end-to-end test hears it through a PulseAudio server of its own.
# The GTK program: GTK 4 and PulseAudio to build it, Liberation Sans for its score, dpkg-dev for Debian's
# build flags and dpkg-shlibdeps; its package's test stands up a player's session: a D-Bus session bus, the
# accessibility bus GTK talks to on every desktop (read by the tests with pyatspi), and openbox, whose alt+F4
# closes the window.
# The web site: Debian's Emscripten, fontTools for the score's face; its tests drive Debian's Chromium.
DOVRA_PACKAGES=(
  cmake make g++ git ca-certificates
  googletest
  pkg-config
  wine64 fonts-wine wine32:i386
  pulseaudio pulseaudio-utils zip unzip
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  xvfb xdotool imagemagick x11-utils
  libbenchmark-dev
  clang libclang-rt-14-dev
  nsis lintian desktop-file-utils appstream
  libgtk-4-dev libpulse-dev fonts-liberation2 dpkg-dev
  dbus at-spi2-core openbox python3-pyatspi
  emscripten python3-fonttools chromium
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
  # Node and npm run the browser tests; a machine may have them from outside Debian, which then stay.
  if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    missing+=(nodejs npm)
  fi
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

# The Wine set-up of the command that plays the Windows program, dovra_wine_env and dovra_wine_prefix: the
# tests make their prefixes the way a player's is made.
. "$DOVRA_ROOT/scripts/wine-play"

# Stops the wineserver of the current prefix and everything Wine runs in it.
dovra_wine_stop() {
  timeout 10 "$DOVRA_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  timeout 10 "$DOVRA_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
}

# dovra_buildflags NAME: Debian's flags of that name, every hardening feature on; asked in the source's
# folder, which dpkg-buildflags maps to "." in the file names the compiler leaves in objects.
dovra_buildflags() { (cd "$DOVRA_ROOT" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }

# dovra_linux_build BUILD: the GTK program of the linux preset, built in BUILD as Debian builds a package's
# programs: with dpkg-buildflags' flags, every hardening feature on (bind-now too), and neither the source's
# nor the build's folder in the program, so that it comes out the same wherever it is built.
dovra_linux_build() {
  local build cppflags cflags cxxflags ldflags map
  mkdir -p "$1"
  build=$(cd "$1" && pwd)
  cppflags=$(dovra_buildflags CPPFLAGS)
  cflags=$(dovra_buildflags CFLAGS)
  cxxflags=$(dovra_buildflags CXXFLAGS)
  ldflags=$(dovra_buildflags LDFLAGS)
  # The last map that matches wins: a build folder inside the source is named as one outside it is.
  map="-ffile-prefix-map=$DOVRA_ROOT=. -ffile-prefix-map=$build=build"
  cmake --preset linux -B "$build" -DCMAKE_C_FLAGS="$cppflags $cflags $map" \
    -DCMAKE_CXX_FLAGS="$cppflags $cxxflags $map" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
  cmake --build "$build" --target dovra -j 2 >"$build/dovra-build.log" 2>&1 || {
    cat "$build/dovra-build.log"
    die "the build of the GTK program failed in $build"
  }
}

# dovra_preset_build PRESET BUILD LOG [ARG...]: configures BUILD with PRESET and builds it (ARG: e.g. --target
# dovra), the build's output kept in BUILD/LOG and shown when it fails.
dovra_preset_build() {
  local preset=$1 log=$2/$3 build=$2
  shift 3
  cmake --preset "$preset" -B "$build" >/dev/null
  cmake --build "$build" -j 2 "$@" >"$log" 2>&1 || {
    cat "$log"
    die "the build failed in preset $preset (log: $log)"
  }
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
