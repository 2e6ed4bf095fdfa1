#!/usr/bin/env bash
# Builds the packages from the install rules (cmake --install):
#   syslens_<version>_<arch>.deb    from a native build (dpkg-deb)
#   syslens-<version>-win32.zip     from the 32-bit Windows build
#   syslens-<version>-win64.zip     from the 64-bit Windows build
# into build/packages (or --out DIR).
#
#   scripts/package.sh [--out DIR] [--build-dir DIR] [--prebuilt] [--lintian]
#                      [deb] [win32] [win64]
#
# Without targets it makes all three. Each is built in build/package-<target>
# from its preset with the tests off. --build-dir DIR makes the .deb from that
# native build tree instead, which must be built already (the install test
# does this); --prebuilt takes build/<preset> of every target as it is
# (scripts/test.sh has built them). --lintian runs lintian on the .deb and
# fails on its errors and warnings.
# Needs dpkg-dev and zip (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

out=$root/build/packages build_dir="" prebuilt=0 lintian=0 targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=$(realpath -m "$2"); shift 2 ;;
    --build-dir) build_dir=$(realpath "$2"); shift 2 ;;
    --prebuilt) prebuilt=1; shift ;;
    --lintian) lintian=1; shift ;;
    deb|win32|win64) targets+=("$1"); shift ;;
    *) echo "usage: scripts/package.sh [--out DIR] [--build-dir DIR] [--prebuilt] [--lintian]" \
            "[deb] [win32] [win64]" >&2
       exit 2 ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=(deb win32 win64)
mkdir -p "$out"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/syslens-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The version from the project, so that package, man pages and --version agree.
version=$(sed -n 's/^project(syslens VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package.sh: no version in CMakeLists.txt" >&2; exit 1; }

# Configures and builds build/package-<target> from the preset, tests off;
# the native build with Debian's hardening flags.
build() {
  local preset=$1 dir=$root/build/package-$1 flags=()
  if [ $prebuilt -eq 1 ]; then
    echo "$root/build/$preset"
    return
  fi
  if [ "$preset" = native ]; then
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    flags=("-DCMAKE_CXX_FLAGS=$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
           "-DCMAKE_EXE_LINKER_FLAGS=$(dpkg-buildflags --get LDFLAGS)")
  fi
  cmake --preset "$preset" -B "$dir" -DSYSLENS_TESTS=OFF "${flags[@]}" >&2
  cmake --build "$dir" -j2 >&2
  echo "$dir"
}

make_deb() {
  local tree=$build_dir arch stage=$scratch/deb
  [ -n "$tree" ] || tree=$(build native)
  arch=$(dpkg --print-architecture)
  local pkg=$stage/pkg doc=$stage/pkg/usr/share/doc/syslens
  DESTDIR=$pkg cmake --install "$tree" --prefix /usr --strip >/dev/null
  # As Debian's own packages are stripped: no compiler notes either.
  strip --remove-section=.comment --remove-section=.note "$pkg"/usr/lib/syslens/{syslens,probex}

  # The changelog names the version too; a package whose two versions differ
  # would be refused by the archive tools.
  local logged
  logged=$(sed -n '1s/^syslens (\([^)]*\)).*/\1/p' packaging/debian/changelog)
  if [ "$logged" != "$version" ]; then
    echo "package.sh: packaging/debian/changelog is at $logged, the project at $version" >&2
    return 1
  fi
  install -m 644 packaging/debian/copyright "$doc/copyright"
  install -D -m 644 packaging/debian/lintian-overrides "$pkg/usr/share/lintian/overrides/syslens"
  gzip -9n -c packaging/debian/changelog >"$doc/changelog.gz"
  gzip -9n "$pkg"/usr/share/man/man1/*.1
  # Debian compresses documents above 4 KiB.
  find "$doc" -name '*.md' -size +4k -exec gzip -9n {} +

  # Dependencies from the shared libraries the programs use (the collector
  # is static, the viewer needs only the C library).
  mkdir -p "$stage/src/debian"
  printf 'Source: syslens\n\nPackage: syslens\nArchitecture: any\n' >"$stage/src/debian/control"
  local depends
  depends=$(cd "$stage/src" && dpkg-shlibdeps -O -e"$pkg/usr/lib/syslens/syslens" \
              -e"$pkg/usr/lib/syslens/probex" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
  [ -n "$depends" ] || { echo "package.sh: dpkg-shlibdeps found no dependencies" >&2; return 1; }

  mkdir -p "$pkg/DEBIAN"
  (cd "$pkg" && find usr -type f -printf '%P\n' | sort | sed 's|^|usr/|' | xargs md5sum) \
    >"$pkg/DEBIAN/md5sums"
  local size
  size=$(du -sk --exclude=DEBIAN "$pkg" | cut -f1)
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" \
      -e "s/@DEPENDS@/$depends/" packaging/debian/control.in >"$pkg/DEBIAN/control"
  chmod -R u+rwX,go+rX,go-w "$pkg"
  local deb=$out/syslens_${version}_${arch}.deb
  dpkg-deb --root-owner-group -Zxz --build "$pkg" "$deb" >/dev/null
  echo "$deb"
  if [ $lintian -eq 1 ]; then
    lintian --fail-on error,warning "$deb"
  fi
}

make_zip() {
  local target=$1 tree stage=$scratch/$1
  tree=$(build "$target")
  local name=syslens-$version-$target
  cmake --install "$tree" --prefix "$stage/$name" --strip >/dev/null
  # Windows line ends for the one text a Windows user reads.
  sed -i 's/$/\r/' "$stage/$name/README.txt"
  local zip=$out/$name.zip
  rm -f "$zip"
  (cd "$stage" && zip -q -r -X "$zip" "$name")
  # The install rules take what the build has; a zip without one of these
  # would be of no use.
  local file listing
  listing=$(unzip -Z1 "$zip")
  for file in SYSLENS.EXE SYSLENSC.EXE PROBEX.EXE TOVARIN.EXE DMI.DAT QMRKW32H.INI \
      syslens.schema.json README.txt; do
    if ! grep -qxF "$name/$file" <<<"$listing"; then
      echo "package.sh: $file is missing from $zip" >&2
      return 1
    fi
  done
  echo "$zip"
}

for target in "${targets[@]}"; do
  case $target in
    deb) make_deb ;;
    win32|win64) make_zip "$target" ;;
  esac
done
