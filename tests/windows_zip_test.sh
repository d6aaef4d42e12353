#!/usr/bin/env bash
# Writes the Windows zip twice and checks that the bytes agree, that it holds
# exactly the program folder (the build's .exe and starter template, names
# flagged UTF-8), that the README is UTF-8 with a byte-order mark, CR LF
# only and in both languages, and that the unpacked program starts.
#   windows_zip_test.sh SOURCE_DIR BUILD_DIR [EMULATOR...]
set -euo pipefail
source_dir=$1
build=$2
shift 2
fail() { echo "windows_zip_test: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 2023-11-14 22:13:20 UTC: every entry carries it.
export SOURCE_DATE_EPOCH=1700000000
"$source_dir/scripts/windows-zip" "$build" "$work" >/dev/null
mkdir "$work/again"
"$source_dir/scripts/windows-zip" "$build" "$work/again" >/dev/null
zip=$(ls "$work"/velmora-batch-*-windows-x86_64.zip)
top=$(basename "$zip" .zip)
cmp -s "$zip" "$work/again/$top.zip" || fail "two runs wrote different zips"

template=单页生成/模板/高贵大气
expected=$(printf '%s\n' "$top/" "$top/README.txt" "$top/velmora-batch.exe" "$top/单页生成/" \
    "$top/单页生成/模板/" "$top/$template/" "$top/$template/效果预览.htm" "$top/$template/模板文件.htm" |
    sed 's/$/ 2023-11-14 22:13/' | LC_ALL=C sort)
listed=$(python3 -c 'import sys, zipfile
for i in zipfile.ZipFile(sys.argv[1]).infolist():
    utf8 = i.filename.isascii() or i.flag_bits & 0x800
    print(i.filename if utf8 else "not flagged UTF-8: " + i.filename,
          "%04d-%02d-%02d %02d:%02d" % i.date_time[:5])' "$zip" | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds $(diff <(echo "$expected") <(echo "$listed"))"

(cd "$work" && unzip -q "$zip")
for file in velmora-batch.exe "$template/模板文件.htm" "$template/效果预览.htm"; do
    cmp -s "$work/$top/$file" "$build/app/$file" || fail "$file is not the build's"
done
readme=$work/$top/README.txt
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README.txt has no byte-order mark"
if grep -qv $'\r$' "$readme"; then fail "README.txt has a line without CR LF"; fi
iconv -f UTF-8 -t UTF-8 "$readme" >/dev/null || fail "README.txt is not UTF-8"
for text in "velmora-batch --configure" "schtasks /Create" "任务计划程序" "Task Scheduler" \
    '%APPDATA%\velmora\velmora.conf'; do
    grep -qF "$text" "$readme" || fail "README.txt does not mention $text"
done

# The unpacked folder is a program that starts (under wine when cross-built).
version=$("$@" "$work/$top/velmora-batch.exe" --version | tr -d '\r')
[ "$version" = "velmora-batch $(sed 's/^velmora-batch-\(.*\)-windows-x86_64$/\1/' <<<"$top")" ] ||
    fail "the unpacked program says \"$version\""
