#!/bin/sh
# Usage: deb_package_test.sh BUILD_DIR VERSION
set -eu
build=$1
version=$2
id=org.valvescope.Valvescope

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" > "$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(ls "$work"/out/valvescope_*.deb)

# Exactly these files: no test, benchmark or build tool slips in.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $2, $NF }' | sort > "$work/files"
cat > "$work/expected" <<LIST
root/root ./usr/bin/qx4-sim
root/root ./usr/bin/valvescope
root/root ./usr/bin/valvescope-cli
root/root ./usr/share/applications/$id.desktop
LIST
for size in 128 16 256 32 48 64; do
  echo "root/root ./usr/share/icons/hicolor/${size}x$size/apps/$id.png" >> "$work/expected"
done
cat >> "$work/expected" <<LIST
root/root ./usr/share/man/man1/qx4-sim.1.gz
root/root ./usr/share/man/man1/valvescope-cli.1.gz
root/root ./usr/share/man/man1/valvescope.1.gz
root/root ./usr/share/metainfo/$id.metainfo.xml
LIST
sort -o "$work/expected" "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package's files (- expected, + found)"

# Depends is what the programs link: Qt's runtime libraries, nothing to build
# or test with.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6printsupport6 libstdc++6 libc6; do
  echo "$depends" | grep -q "\b$needed\b" || fail "Depends lacks $needed"
done
echo "$depends" | grep -Eiq -- '-dev\b|gtest|gmock|benchmark|modbus|mbpoll|help2man|cmake' &&
  fail "Depends names a build or test package"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
dpkg-deb -I "$deb" postinst > "$work/postinst"
sh "$work/postinst" configure | grep -q dialout ||
  fail "a first install does not tell of the dialout group"

# Unpacked, not installed: the programs run from there without the build tree.
root=$work/root
dpkg-deb -x "$deb" "$root"
for program in valvescope valvescope-cli qx4-sim; do
  binary=$root/usr/bin/$program
  printed=$(QT_QPA_PLATFORM=offscreen "$binary" --version) || fail "$program --version failed"
  [ "$printed" = "$program $version" ] || fail "$program --version printed '$printed'"
  readelf -d "$binary" | grep -Eq 'RPATH|RUNPATH' && fail "$program carries a library path"
  zcat "$root/usr/share/man/man1/$program.1.gz" | grep -q "$program $version" ||
    fail "the man page of $program is not of version $version"
done

desktop=$root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate $id.desktop"
grep -qx "Exec=valvescope" "$desktop" || fail "the desktop entry does not start valvescope"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" ||
  fail "appstreamcli validate $id.metainfo.xml"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "valvescope_${version} package: files, Depends, programs, desktop entry and metainfo all right"
