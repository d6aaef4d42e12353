#!/usr/bin/env bash
# Builds both Debian packages in one cpack run and checks with dpkg-deb that
# velmora holds the window, its menu entry, icons, AppStream file and skin
# engine, and velmora-batch the batch command and the starter template; that
# man pages and changelogs are compressed and each package has its copyright;
# that neither carries maintainer scripts or the self-driving program, nor
# names a dependency twice; and that lintian finds no error in either.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
fail() { echo "package_test: $*" >&2; exit 1; }

rm -rf "$build/packages"
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null)
window=$(ls "$build"/packages/velmora_*.deb 2>/dev/null | head -n 1)
batch=$(ls "$build"/packages/velmora-batch_*.deb 2>/dev/null | head -n 1)
[ -n "$window" ] && [ -n "$batch" ] || fail "cpack did not make both packages in $build/packages"

# expect_files DEB FILE...: each file is in the package.
expect_files() {
    local deb=$1 contents
    shift
    contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
    for file in "$@"; do
        grep -qxF "$file" <<<"$contents" || fail "$(basename "$deb") lacks $file"
    done
    if grep -q velmora_autodrive <<<"$contents"; then fail "$(basename "$deb") holds the self-driving program"; fi
    if dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -qE '(pre|post)(inst|rm)$'; then
        fail "$(basename "$deb") has maintainer scripts"
    fi
}
# expect_depends DEB PACKAGE...: Depends names each, and nothing twice.
expect_depends() {
    local deb=$1 depends twice
    shift
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in "$@"; do
        grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "$(basename "$deb") Depends lacks $package: $depends"
    done
    twice=$(tr ',' '\n' <<<"$depends" | awk '{print $1}' | sort | uniq -d)
    [ -z "$twice" ] || fail "$(basename "$deb") Depends names $twice twice: $depends"
}

icons=()
for size in 16 24 32 48 64 128 256; do
    icons+=("./usr/share/icons/hicolor/${size}x${size}/apps/velmora.png")
done
expect_files "$window" ./usr/bin/velmora ./usr/lib/velmora/SkinH_EL.dll \
    ./usr/share/applications/local.velmora.Velmora.desktop \
    ./usr/share/metainfo/local.velmora.Velmora.metainfo.xml \
    ./usr/share/man/man1/velmora.1.gz \
    ./usr/share/doc/velmora/copyright ./usr/share/doc/velmora/changelog.gz "${icons[@]}"
expect_files "$batch" ./usr/bin/velmora-batch ./usr/share/man/man1/velmora-batch.1.gz \
    ./usr/share/velmora/starter-template/高贵大气/模板文件.htm \
    ./usr/share/velmora/starter-template/高贵大气/效果预览.htm \
    ./usr/share/doc/velmora-batch/copyright ./usr/share/doc/velmora-batch/changelog.gz
expect_depends "$window" velmora-batch libqt6widgets6 libqt6webenginewidgets6 fonts-wqy-microhei
expect_depends "$batch" libcurl4 libpsl5 libssl3
# A server that only runs cron gets no Qt, no browser engine, no display libraries.
! grep -qiE "qt6|libx11|libgl" <<<"$(dpkg-deb -f "$batch" Depends)" ||
    fail "velmora-batch depends on Qt or the display: $(dpkg-deb -f "$batch" Depends)"

for deb in "$window" "$batch"; do
    lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian finds errors in $(basename "$deb")"
done
echo "package_test: $(basename "$window") and $(basename "$batch") hold their files;" \
    "Depends: $(dpkg-deb -f "$window" Depends) / $(dpkg-deb -f "$batch" Depends)"
