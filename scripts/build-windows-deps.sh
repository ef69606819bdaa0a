#!/usr/bin/env bash
# Installs the Windows cross toolchain, Wine and Xvfb, and cross-builds the
# libraries of the Windows build from Debian's own source packages into a
# prefix outside the repository. Each library is built once per machine (a
# stamp file per library); run it again and it only checks.
#   LUMBREL_WINDOWS_DEPS  the prefix (default: the versioned one below)
#   LUMBREL_JOBS          parallel compile jobs (default 2)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
# The default prefix carries the recipe's version: raise it together with
# the one in cmake/toolchain-mingw64.cmake whenever a library's options
# change, so that every machine builds the libraries afresh beside the old ones.
prefix="${LUMBREL_WINDOWS_DEPS:-/opt/lumbrel-windows-deps-2}"
jobs="${LUMBREL_JOBS:-2}"
toolchain="$repo/cmake/toolchain-mingw64.cmake"
export LUMBREL_WINDOWS_DEPS="$prefix"

as_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "$1 (run this script as root)" >&2
    exit 1
  fi
}

# ---- Debian packages ----
packages=(g++-mingw-w64-x86-64 wine wine64 xvfb xauth fonts-wine libz-mingw-w64-dev
          fonts-dejavu-core dpkg-dev cmake ninja-build pkg-config unicode-data bzip2)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  as_root "missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=600 update
  apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

# ---- The libraries, from Debian's source packages ----
# source package | CMake options
libraries=(
  "utf8proc|-DUTF8PROC_ENABLE_TESTING=OFF"
  "libjpeg-turbo|-DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF"
  "libpng1.6|-DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF"
  "tiff|-Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF -Dwebp=OFF -Dzstd=OFF -Dlzma=OFF -Djbig=OFF -Dlerc=OFF -Dlibdeflate=OFF -Dpixarlog=OFF -Dcxx=OFF"
  # zlib: mingw's, as for libpng and libtiff; FreeType's own copy would clash with it.
  "freetype|-DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON"
  "googletest|-DBUILD_GMOCK=ON -DINSTALL_GTEST=ON"
  "qpdf|-DREQUIRE_CRYPTO_NATIVE=ON -DUSE_IMPLICIT_CRYPTO=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_DOC=OFF -DINSTALL_EXAMPLES=OFF -DINSTALL_MANUAL=OFF -DINSTALL_PKGCONFIG=ON -DINSTALL_CMAKE_PACKAGE=OFF"
)

all_built=1
for entry in "${libraries[@]}"; do
  [ -f "$prefix/stamps/${entry%%|*}" ] || all_built=0
done
if [ "$all_built" -eq 1 ]; then
  echo "Windows libraries: all built in $prefix"
  exit 0
fi

# apt-get source needs a deb-src line for bookworm main.
if ! apt-get indextargets --format '$(CREATED_BY) $(RELEASE) $(COMPONENT)' 2>/dev/null |
     grep -q '^Sources bookworm main$'; then
  as_root "no deb-src line for bookworm main"
  cat > /etc/apt/sources.list.d/lumbrel-bookworm-src.sources <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt-get -o DPkg::Lock::Timeout=600 update
fi

mkdir -p "$prefix/stamps" "$prefix/src"
# The host's pkg-config must never hand /usr/include to a cross build.
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig:$prefix/share/pkgconfig"
unset PKG_CONFIG_PATH

for entry in "${libraries[@]}"; do
  name="${entry%%|*}"
  read -r -a options <<< "${entry#*|}"
  [ -f "$prefix/stamps/$name" ] && continue
  echo "== $name"
  started=$SECONDS
  src="$prefix/src/$name"
  rm -rf "$src" && mkdir -p "$src"
  (cd "$src" && apt-get source -q "$name" >/dev/null 2>"$src.log" || { cat "$src.log" >&2; exit 1; })
  tree="$(find "$src" -mindepth 1 -maxdepth 1 -type d | head -n 1)"
  [ -n "$tree" ] || { echo "apt-get source $name gave no source tree" >&2; exit 1; }

  targets=()
  case "$name" in
    qpdf)
      # Its AES header includes <stdint.h> only when the configure step saw
      # HAVE_STDINT_H, which the cross build's does not: uint32_t is unknown.
      grep -q '^#include <stdint.h>' "$tree/libqpdf/qpdf/rijndael.h" ||
        sed -i 's/^#include <stddef.h>$/#include <stddef.h>\n#include <stdint.h>/' "$tree/libqpdf/qpdf/rijndael.h"
      grep -q '^#include <stdint.h>' "$tree/libqpdf/qpdf/rijndael.h" ||
        { echo "cannot patch qpdf's rijndael.h" >&2; exit 1; }
      # The library alone: its programs and tests are not needed here.
      targets=(--target libqpdf);;
  esac

  cmake -S "$tree" -B "$src/build" -G Ninja --no-warn-unused-cli \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF "${options[@]}" >"$src/configure.log" 2>&1 ||
    { tail -n 40 "$src/configure.log" >&2; exit 1; }
  cmake --build "$src/build" -j "$jobs" "${targets[@]}" >"$src/build.log" 2>&1 ||
    { tail -n 40 "$src/build.log" >&2; exit 1; }
  if [ "$name" = qpdf ]; then
    cmake --install "$src/build" --component lib >/dev/null
    cmake --install "$src/build" --component dev >/dev/null
  else
    cmake --install "$src/build" >/dev/null
  fi
  if [ "$name" = utf8proc ]; then
    # Its pkg-config file says "building the DLL", which would make every
    # program linking it export utf8proc's functions: this is the static library.
    sed -i 's/-DUTF8PROC_EXPORTS/-DUTF8PROC_STATIC/' "$prefix/lib/pkgconfig/libutf8proc.pc"
  fi
  rm -rf "$src"
  touch "$prefix/stamps/$name"
  echo "   $name built in $((SECONDS - started)) s"
done
echo "Windows libraries: all built in $prefix"
