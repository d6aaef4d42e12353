#!/usr/bin/env bash
# Builds the Debian package and checks with dpkg-deb that it holds the
# programs, the menu entry, its icons, the AppStream file, the man pages and
# the starter template, leaves the self-driving program out, and declares the
# libraries and the font the program needs at run time.
#   package_test.sh BUILD_DIR [--with-batch]
set -euo pipefail
build=$1
with_batch=${2:-}
fail() { echo "package_test: $*" >&2; exit 1; }

rm -rf "$build/packages"
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
deb=$(ls "$build"/packages/velmora_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "cpack made no .deb in $build/packages"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
expected=(
    ./usr/bin/velmora
    ./usr/lib/velmora/SkinH_EL.dll
    ./usr/share/applications/local.velmora.Velmora.desktop
    ./usr/share/metainfo/local.velmora.Velmora.metainfo.xml
    ./usr/share/man/man1/velmora.1
    ./usr/share/velmora/starter-template/高贵大气/模板文件.htm
    ./usr/share/velmora/starter-template/高贵大气/效果预览.htm
)
for size in 16 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/velmora.png")
done
[ "$with_batch" = --with-batch ] &&
    expected+=(./usr/bin/velmora-batch ./usr/share/man/man1/velmora-batch.1)
for file in "${expected[@]}"; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
if grep -q velmora_autodrive <<<"$contents"; then fail "the package holds the self-driving program"; fi

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6webenginewidgets6 libcurl4 libpsl5 fonts-wqy-microhei; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
echo "package_test: $(basename "$deb") holds ${#expected[@]} checked files; Depends: $depends"
