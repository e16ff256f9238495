#!/bin/sh
# Builds the consumer from main.cpp with nothing but the flags pkg-config gives
# for tessera (set PKG_CONFIG_PATH to PREFIX/lib/pkgconfig for a private prefix).
#
#   examples/consumer/pkgconfig-build.sh [OUTPUT]
set -eu
here=$(dirname "$0")
libdir=$(pkg-config --variable=libdir tessera)
${CXX:-g++} ${CXXFLAGS:-} -o "${1:-consumer}" "$here/main.cpp" \
    $(pkg-config --cflags --libs tessera) -Wl,-rpath,"$libdir" ${LDFLAGS:-}
