#!/usr/bin/env bash
# Installs the built tree into a temporary prefix and uses it the way a host does: builds a small
# host against the installed package with find_package and with pkg-config and runs both, runs
# every installed tool, runs the component from a read-only installation, and builds the Debian
# package. Arguments: BUILD_DIR SOURCE_DIR_OF_THIS_TEST. Prints the failing step and exits 1.
set -euo pipefail
build=$1
here=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAILED: $*"; exit 1; }
step() { echo "-- $*"; }

step "install"
cmake --install "$build" --prefix "$prefix" >/dev/null
library=$(echo "$prefix"/lib/libzelscript.so.1.*)
[ -f "$library" ] || fail "no versioned library under lib/"
dynamic=$(readelf -d "$library")
grep -q 'SONAME.*\[libzelscript\.so\.1\]' <<<"$dynamic" || fail "SONAME is not libzelscript.so.1"
[ "$(readlink "$prefix/lib/libzelscript.so")" = libzelscript.so.1 ] || fail "no libzelscript.so link"
for file in include/zel/ZelScriptEditor.h share/zelscript/ZelWebServiceConfig.xml share/zelscript/data/DefaultScript.xml \
            share/zelscript/data/en.lng share/doc/zelscript/README.md share/doc/zelscript/copyright; do
    [ -f "$prefix/$file" ] || fail "$file not installed"
done
sample=$prefix/share/zelscript/data/samples/VBScriptActivity.xml

step "a host built with find_package"
cmake -S "$here/host" -B "$work/cmake-host" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-host" >/dev/null
# Outputs are read whole before matching: grep -q leaving early would break the writer's pipe.
data=$("$work/cmake-host/installed-host" "$sample") || fail "find_package host"
grep -q 'Function CheckCredit()' <<<"$data" || fail "find_package host lost the script: $data"

step "a host built with pkg-config"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
[ "$(pkg-config --modversion zelscript)" = 1.0 ] || fail "pkg-config version"
# shellcheck disable=SC2046
c++ -std=c++20 -o "$work/pc-host" "$here/host/host.cpp" $(pkg-config --cflags zelscript) \
    -DZEL_LIBRARY="\"$(pkg-config --variable=library zelscript)\"" \
    -DZEL_PATH_DATA="\"$(pkg-config --variable=pathdata zelscript)\"" $(pkg-config --libs zelscript)
data=$("$work/pc-host" "$sample") || fail "pkg-config host"
grep -q 'Function CheckCredit()' <<<"$data" || fail "pkg-config host lost the script: $data"

step "every installed tool answers --version and --help, and refuses a wrong argument with 2"
for tool in "$prefix"/bin/*; do
    name=$(basename "$tool")
    [ "$("$tool" --version)" = "$name 1.0 (Zel Script Editor)" ] || fail "$name --version"
    help=$("$tool" --help) || fail "$name --help"
    [[ $help == "usage: $name "* ]] || fail "$name --help: $help"
    status=0
    "$tool" --no-such-option >/dev/null 2>&1 || status=$?
    [ "$status" = 2 ] || fail "$name exits $status on a wrong argument"
done

step "the installed tools check a script and generate one from the installed templates"
printf 'x = "never closed\n' >"$work/broken.vbs"
checked=$("$prefix/bin/zel-check" "$work/broken.vbs" || true)
grep -q 'broken.vbs:1:5: error 1033' <<<"$checked" || fail "zel-check did not find the unterminated string: $checked"
# Started through PATH from another folder, as a user runs it.
script=$(cd "$work" && PATH=$prefix/bin:$PATH zel-gen prefix/share/zelscript/data/samples/CalculatorDefinition.xml) ||
    fail "zel-gen"
grep -q 'WsOperationCall("Add"' <<<"$script" || fail "zel-gen did not use the installed templates: $script"

step "a read-only installation keeps its log and settings per user"
chmod -R a-w "$prefix"
chmod 755 "$work"
mkdir -m 777 "$work/state" "$work/config"
as_user=()
# Root writes anywhere; the run drops to an unprivileged user so the folder is read-only for it.
[ "$(id -u)" = 0 ] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
XDG_STATE_HOME=$work/state "${as_user[@]}" "$work/pc-host" "$sample" --bad-data >/dev/null || fail "bad data run"
grep -q -- '-- ERROR --' "$work/state/zelscript/libzelscript.Log" || fail "no log under the state folder"
[ ! -e "$prefix/lib/libzelscript.Log" ] || fail "the log was written into the read-only installation"
XDG_CONFIG_HOME=$work/config "${as_user[@]}" "$prefix/bin/zel-uddi" use http://registry.example/inquiry ||
    fail "zel-uddi could not save its settings"
own=$(cat "$work/config/zelscript/UddiSettings.xml")
grep -q 'http://127.0.0.1:8089/uddi/inquiry' <<<"$own" || fail "the user's settings were not seeded: $own"
grep -q 'http://registry.example/inquiry' <<<"$own" || fail "the user's settings lack the new registry: $own"
grep -q 'registry.example' "$prefix/share/zelscript/UddiSettings.xml" && fail "the installed settings were changed"
chmod -R u+w "$prefix"

step "the Debian package installs under /usr only"
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack"
deb=$(echo "$work"/deb/zelscript_1.0*.deb)
outside=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '^\./usr/' | grep -v '^\./$' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
depends=$(dpkg-deb --field "$deb" Depends)
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks Qt: $depends"
echo "install test passed"
