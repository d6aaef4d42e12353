#!/usr/bin/env bash
# Installs the build into a fresh prefix, makes the prefix read-only and runs
# the installed program (its self-driving form) against the simulator as a
# user who cannot write there: the starter template, the instructions page,
# the skin engine's file and the pages must all land in that user's data
# folder, and nothing in the prefix may change.
#   installed_run_test.sh BUILD_DIR MARKETSIM
set -euo pipefail
build=$1
marketsim=$2
fail() { echo "installed_run_test: $*" >&2; exit 1; }

work=$(mktemp -d /tmp/velmora-installed-XXXXXX)
sim=""
cleanup() {
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    if [ "${keep:-}" = 1 ]; then echo "kept $work for a look" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
keep=1

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake --install "$build" --prefix "$prefix" --component autodrive >/dev/null
[ -x "$prefix/bin/velmora" ] || fail "velmora was not installed"
chmod -R a-w "$prefix"
touch "$work/installed"

# As root every folder is writable; the run then goes as an unprivileged user.
as_user=()
user_home=$work/user
mkdir -p "$user_home/home" "$user_home/data" "$user_home/config" "$user_home/cache" \
    "$user_home/runtime"
chmod 700 "$user_home/runtime"
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$work"
    chown -R 65534:65534 "$user_home"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi

"$marketsim" --port 0 >"$work/marketsim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do
    grep -q 'listening on' "$work/marketsim.log" && break
    sleep 0.1
done
address=$(sed -n 's/^marketsim listening on //p' "$work/marketsim.log" | head -n 1)
[ -n "$address" ] || fail "the simulator did not start"

data=$user_home/data/velmora
status=0
(cd / && env -i PATH=/usr/bin:/bin HOME="$user_home/home" XDG_DATA_HOME="$user_home/data" \
    XDG_CONFIG_HOME="$user_home/config" XDG_CACHE_HOME="$user_home/cache" \
    XDG_RUNTIME_DIR="$user_home/runtime" QT_QPA_PLATFORM=offscreen \
    QTWEBENGINE_DISABLE_SANDBOX=1 http_proxy="http://$address" HTTP_PROXY="http://$address" \
    "${as_user[@]}" "$prefix/bin/velmora_autodrive" --keywords 手机,连衣裙 --count 2 \
    >"$work/driver.out" 2>"$work/driver.err") || status=$?
[ "$status" -eq 0 ] || { tail -n 20 "$work/driver.err" >&2; fail "the installed run failed ($status)"; }

folder=$data/单页生成/模板/高贵大气
for keyword in 手机 连衣裙; do
    grep -qxF "page: $folder/$keyword.htm" "$work/driver.out" || fail "no page for $keyword in $folder"
    grep -q "$(printf %s "$keyword" | iconv -f UTF-8 -t GBK)" "$folder/$keyword.htm" ||
        fail "the page for $keyword does not name it"
done
for file in 模板文件.htm 效果预览.htm; do
    cmp -s "$folder/$file" "$prefix/share/velmora/单页生成/模板/高贵大气/$file" ||
        fail "the seeded $file differs from the installed starter template"
done
[ -s "$data/SkinH_EL.dll" ] || fail "the skin engine's file is not in $data"
[ -d "$data/browser" ] || fail "no browser profile in $data"
grep -qxF "help: file://$data/单页生成/使用说明.htm" "$work/driver.out" ||
    fail "the help browser does not show the local instructions page"
[ -s "$data/单页生成/使用说明.htm" ] || fail "no instructions page in $data"
changed=$(find "$prefix" -newer "$work/installed")
[ -z "$changed" ] || fail "the run changed the installed tree: $changed"
keep=0
echo "installed_run_test: pages, template, instructions and skin engine in $data"
