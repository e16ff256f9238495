#!/usr/bin/env bash
# Installs a build tree into a scratch prefix and uses it the way a user would.
#
#   consumer_test.sh CMAKE BUILD_DIR SOURCE_DIR WORK_DIR CXX SANITIZE(ON|OFF)
#
# 1. cmake --install into WORK_DIR/prefix; the kit and every widget module
#    with sources is installed with a versioned SONAME, the installed headers
#    include only installed headers and compile, and the package files hold
#    no absolute path.
# 2. examples/consumer is configured with find_package(Tessera) against the
#    prefix, built and run offscreen with every installed module path; the
#    README's snippets are built and run, and its first program is built.
#    With the Designer package part, a form compiled by uic is built and run,
#    and the installed plugin must resolve its libraries from the prefix.
# 3. The same main.cpp is built with pkg-config alone and run again.
set -euo pipefail
cmake=$1 build=$2 source=$3 work=$4 cxx=$5 sanitize=${6:-OFF}

fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix

step "install $build into $prefix"
"$cmake" --install "$build" --prefix "$prefix" > "$work/install.log"

libdir=$(find "$prefix" -name tessera.pc -path '*/pkgconfig/*' -printf '%h\n' | head -n1)
[ -n "$libdir" ] || fail "no tessera.pc installed"
libdir=$(dirname "$libdir")
includedir=$prefix/include

step "libraries and SONAMEs"
modules=()
for cpp in "$source"/kit/core/registry.cpp "$source"/material/*/*.cpp; do
    [ -e "$cpp" ] || continue
    # A widget module is a source pair; other sources (field_frame.cpp) belong to one.
    [ -e "${cpp%.cpp}.h" ] || continue
    name=libtessera_$(basename "$cpp" .cpp)
    [ "$name" = libtessera_registry ] && name=libtessera_kit
    installed=$(ls "$libdir/$name".so.*.*.* 2>/dev/null | head -n1)
    [ -n "$installed" ] || fail "$name is built but not installed"
    soname=$(objdump -p "$installed" | awk '/SONAME/ {print $2}')
    [[ $soname =~ ^$name\.so\.[0-9]+$ ]] || fail "$installed has SONAME '$soname'"
    [ -e "$libdir/$soname" ] || fail "$libdir/$soname (the SONAME link) is missing"
    [ -e "$libdir/$name.so" ] || fail "$libdir/$name.so (the development link) is missing"
    echo "$name: $soname"
done
for header in "$includedir"/tessera/material/*/*.h; do
    [ -e "$header" ] || continue
    case $header in *_export.h) continue ;; esac
    name=$(basename "$header" .h)
    group=$(basename "$(dirname "$header")")
    [ -e "$libdir/libtessera_$name.so" ] || fail "header $header has no library"
    modules+=("tessera.material.$group.$name")
done
echo "modules: ${modules[*]:-none}"

step "no absolute path of the prefix in the package files"
if grep -rl -- "$prefix" "$libdir/cmake" "$libdir/pkgconfig"; then
    fail "the files above name the install prefix; the package would not be relocatable"
fi

export PKG_CONFIG_PATH=$libdir/pkgconfig
pcflags=$(pkg-config --cflags tessera)

step "installed headers are complete"
# Every <tessera/...> that an installed header includes is installed too, and
# all headers compile together with nothing but the pkg-config flags.
all=$work/all_headers.cpp
: > "$all"
count=0
while IFS= read -r header; do
    rel=${header#"$includedir"/}
    while IFS= read -r included; do
        [ -e "$includedir/$included" ] || fail "<$rel> includes <$included>, which is not installed"
    done < <(sed -n 's|^[[:space:]]*#[[:space:]]*include[[:space:]]*<\(tessera/[^>]*\)>.*|\1|p' "$header")
    echo "#include <$rel>" >> "$all"
    count=$((count + 1))
done < <(find "$includedir/tessera" -name '*.h' | sort)
# shellcheck disable=SC2086
"$cxx" -fsyntax-only $pcflags "$all" || fail "the installed headers do not compile with the pkg-config flags"
echo "$count headers"

flags=()
if [ "$sanitize" = ON ]; then
    flags=(-fsanitize=address,undefined -fno-omit-frame-pointer)
fi

# build_against_prefix EXAMPLE BUILD_DIR: configures examples/EXAMPLE with
# find_package(Tessera) against the prefix and builds it in BUILD_DIR.
build_against_prefix() {
    "$cmake" -S "$source/examples/$1" -B "$2" -G Ninja \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS="${flags[*]:-}" -DCMAKE_EXE_LINKER_FLAGS="${flags[*]:-}" > "$2.configure.log" \
        || { cat "$2.configure.log"; fail "configuring examples/$1 against $prefix"; }
    "$cmake" --build "$2" || fail "building examples/$1"
}

step "find_package(Tessera) build of examples/consumer"
build_against_prefix consumer "$work/cmake"
step "run (find_package build)"
"$work/cmake/consumer" "$source/examples/themes/ocean.json" "${modules[@]}" || fail "the consumer built with find_package reported failures"

if [ -x "$work/cmake/snippets" ]; then
    step "run the README's snippets (from the source folder, as the README's commands are)"
    (cd "$source" && "$work/cmake/snippets") || fail "a README snippet did not do what the README says"
fi
if [ -e "$libdir/libtessera_busy_trigger.so" ]; then
    step "the README's first program (examples/hello) builds against the prefix"
    build_against_prefix hello "$work/hello"
fi

step "run the Designer form (uic against the installed headers)"
[ -x "$work/cmake/form" ] || fail "examples/consumer/form.ui was not built"
"$work/cmake/form" || fail "the form built with uic did not get its widgets and properties"
plugin=$(find "$prefix" -name 'libtessera_designer_plugin.so' | head -n1)
if [ -n "$plugin" ]; then
    step "the installed Designer plugin finds its libraries"
    case $plugin in "$libdir"/qt6/plugins/designer/*) ;; *) fail "plugin installed at $plugin" ;; esac
    if ldd "$plugin" | grep 'not found'; then
        fail "$plugin has unresolved libraries"
    fi
fi

step "pkg-config build of examples/consumer/main.cpp"
CXX=$cxx CXXFLAGS="${flags[*]:-}" LDFLAGS="${flags[*]:-}" \
    "$source/examples/consumer/pkgconfig-build.sh" "$work/consumer-pc" || fail "building with pkg-config"
step "run (pkg-config build)"
"$work/consumer-pc" "${modules[@]}" || fail "the consumer built with pkg-config reported failures"

step "the package moves with its prefix"
mv "$prefix" "$work/moved"
moved_libdir=${libdir/#$prefix/$work/moved}
[ "$(PKG_CONFIG_PATH=$moved_libdir/pkgconfig pkg-config --variable=libdir tessera | xargs realpath)" \
    = "$(realpath "$moved_libdir")" ] || fail "tessera.pc does not follow its prefix"
mv "$work/moved" "$prefix"
echo "PASSED"
