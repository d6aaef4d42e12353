#!/usr/bin/env bash
# Runs installed copies of the program (their self-driving form) against the
# simulator as an ordinary user, and checks that the user's data lands in the
# user's data folder and survives an update:
#  1. a prefix the user cannot write: the starter template, the instructions
#     page, the login and the pages all go to $XDG_DATA_HOME/velmora, the
#     skin engine is loaded from the prefix's lib/velmora and never copied,
#     and nothing in the prefix changes;
#  2. the user's own prefix ~/.local, whose share/velmora is also the data
#     folder: installing again over it keeps the user's template and pages.
#   installed_run_test.sh BUILD_DIR MARKETSIM
set -euo pipefail
build=$1
marketsim=$2
fail() { echo "installed_run_test: $*" >&2; exit 1; }

work=$(mktemp -d /tmp/velmora-installed-XXXXXX)
sim=""
keep=1
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    if [ "$keep" = 1 ]; then echo "kept $work for a look" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

# As root every folder is writable; the runs then go as an unprivileged user.
as_user=()
user=$work/user
mkdir -p "$user/home/.local" "$user/data" "$user/config" "$user/cache" "$user/runtime"
chmod 700 "$user/runtime"
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$work"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi

install_into() {
    cmake --install "$build" --prefix "$1" >/dev/null
    cmake --install "$build" --prefix "$1" --component autodrive >/dev/null
    [ -x "$1/bin/velmora" ] || fail "velmora was not installed into $1"
}

"$marketsim" --port 0 >"$work/marketsim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do
    grep -q 'listening on' "$work/marketsim.log" && break
    sleep 0.1
done
address=$(sed -n 's/^marketsim listening on //p' "$work/marketsim.log" | head -n 1)
[ -n "$address" ] || fail "the simulator did not start"

# drive PREFIX DATA_HOME KEYWORDS: one driven run; its report in $work/driver.out.
drive() {
    [ "$(id -u)" -eq 0 ] && chown -R 65534:65534 "$user"
    local status=0
    (cd / && env -i PATH=/usr/bin:/bin HOME="$user/home" XDG_DATA_HOME="$2" \
        XDG_CONFIG_HOME="$user/config" XDG_CACHE_HOME="$user/cache" \
        XDG_RUNTIME_DIR="$user/runtime" QT_QPA_PLATFORM=offscreen \
        QTWEBENGINE_DISABLE_SANDBOX=1 http_proxy="http://$address" HTTP_PROXY="http://$address" \
        "${as_user[@]}" "$1/bin/velmora_autodrive" --keywords "$3" --count 2 \
        >"$work/driver.out" 2>"$work/driver.err") || status=$?
    [ "$status" -eq 0 ] || { tail -n 20 "$work/driver.err" >&2; fail "the run of $1 failed ($status)"; }
}

# expect_pages DATA_FOLDER KEYWORD...: each keyword's page reported and written there.
expect_pages() {
    local folder=$1/单页生成/模板/高贵大气
    shift
    for keyword in "$@"; do
        grep -qxF "page: $folder/$keyword.htm" "$work/driver.out" ||
            fail "no page for $keyword in $folder"
        grep -q "$(printf %s "$keyword" | iconv -f UTF-8 -t GBK)" "$folder/$keyword.htm" ||
            fail "the page for $keyword does not name it"
    done
}

# 1. A prefix the user cannot write.
prefix=$work/prefix
install_into "$prefix"
chmod -R a-w "$prefix"
touch "$work/installed"
data=$user/data/velmora
drive "$prefix" "$user/data" 手机,连衣裙
expect_pages "$data" 手机 连衣裙
for file in 模板文件.htm 效果预览.htm; do
    cmp -s "$data/单页生成/模板/高贵大气/$file" "$prefix/share/velmora/starter-template/高贵大气/$file" ||
        fail "the seeded $file differs from the installed starter template"
done
# The run attaches a skin, so it found the engine; a copy would be in $data.
[ -s "$prefix/lib/velmora/SkinH_EL.dll" ] || fail "the skin engine is not in $prefix/lib/velmora"
[ ! -e "$data/SkinH_EL.dll" ] || fail "the run copied the skin engine into $data"
[ -d "$data/browser" ] || fail "no browser profile in $data"
grep -qxF "help: file://$data/单页生成/使用说明.htm" "$work/driver.out" ||
    fail "the help browser does not show the local instructions page"
[ -s "$data/单页生成/使用说明.htm" ] || fail "no instructions page in $data"
changed=$(find "$prefix" -newer "$work/installed")
[ -z "$changed" ] || fail "the run changed the installed tree: $changed"

# 2. The user's own prefix, where share/velmora is the data folder as well.
local_prefix=$user/home/.local
install_into "$local_prefix"
data=$local_prefix/share/velmora
drive "$local_prefix" "$local_prefix/share" 电脑
expect_pages "$data" 电脑
[ ! -e "$data/SkinH_EL.dll" ] || fail "the run copied the skin engine into $data"
template=$data/单页生成/模板/高贵大气/模板文件.htm
printf '<!-- mine -->' >>"$template"
cp "$template" "$work/template.mine"
cp "$data/单页生成/模板/高贵大气/电脑.htm" "$work/page.mine"
install_into "$local_prefix"
cmp -s "$template" "$work/template.mine" || fail "installing again changed the user's template"
cmp -s "$data/单页生成/模板/高贵大气/电脑.htm" "$work/page.mine" ||
    fail "installing again changed the user's page"
[ ! -e "$local_prefix/bin/单页生成" ] || fail "the program wrote beside itself in an installed tree"

keep=0
echo "installed_run_test: both installed copies kept templates, pages and login per user"
