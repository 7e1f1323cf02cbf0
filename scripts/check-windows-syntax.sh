#!/usr/bin/env bash
# Compiles every C++ source under src/ and bench/ for Windows, syntax only, so that a mistake in
# a Windows-only branch fails here although no Windows build runs on these machines.
#
#   bash scripts/check-windows-syntax.sh [BUILD_DIR [FILE...]]   (default: build, every file)
#
# The Linux build must have been configured and built first: the flags come from its
# compile_commands.json (each file's own definitions, standard and include folders) and the
# files that moc generates are read from it. The compiler is MinGW-w64's
# x86_64-w64-mingw32-g++-posix (package g++-mingw-w64-x86-64-posix), which defines _WIN32, so
# every #ifdef _WIN32 / Q_OS_WIN branch is compiled and every Linux-only one left out. Qt's Linux
# headers serve: they choose their Windows parts from _WIN32.
#
# Headers: the cross compiler's own folders come first; the host folders the build names (Qt's)
# are added with -idirafter, after them, so a host C or C++ header never stands in for a MinGW
# one. Third-party headers that the build finds in the host's /usr/include, where no folder is
# named, are lent one by one through a folder of links, also -idirafter: the list HOST_HEADERS
# below. A source that includes another library's header that the cross compiler lacks fails
# with "No such file"; add that header (or its folder) to the list. /usr/include itself is never
# added, so a Linux-only header (iconv.h, dlfcn.h, xcb/xcb.h) included outside a Linux branch
# fails the check as it would fail a Windows build.
#
# Runs QUARNEL_CHECK_JOBS compilers at a time (default 2); prints each failing file's messages and
# a closing summary; exits 1 when a file fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
cxx=${QUARNEL_MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
jobs=${QUARNEL_CHECK_JOBS:-2}
HOST_HEADERS=(sqlite3.h sqlite3ext.h xlsxwriter.h xlsxwriter)

if ! command -v "$cxx" >/dev/null; then
  echo "check-windows-syntax: $cxx not found (apt-get install g++-mingw-w64-x86-64-posix)" >&2
  exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
  echo "check-windows-syntax: $build/compile_commands.json not found; configure and build first" >&2
  exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/host-include" "$work/log"
for header in "${HOST_HEADERS[@]}"; do
  if [ -e "/usr/include/$header" ]; then
    ln -s "/usr/include/$header" "$work/host-include/$header"
  fi
done

if [ $# -gt 0 ]; then
  printf '%s\n' "$@" >"$work/files"
else
  find src bench -name '*.cpp' -type f | LC_ALL=C sort >"$work/files"
fi
cmake -DBUILD_DIR="$build" -DSOURCE_DIR="$PWD" -DWORK_DIR="$work" \
  -DHOST_INCLUDE="$work/host-include" -P scripts/windows-syntax-flags.cmake

# One compiler per job; its messages go to a log of its own so that two jobs never mix lines.
cut -f1 "$work/jobs" | xargs -P "$jobs" -I{} sh -c \
  '"$1" @"$2/rsp/$3.rsp" >"$2/log/$3" 2>&1 || echo "$3" >>"$2/failed"' \
  sh "$cxx" "$work" {}

total=$(grep -c . "$work/files" || true)
checked=$(grep -c . "$work/jobs" || true)
failed=0
if [ -f "$work/failed" ]; then
  failed=$(grep -c . "$work/failed")
  for n in $(sort -n "$work/failed"); do
    source=$(awk -F'\t' -v n="$n" '$1 == n { print $2 }' "$work/jobs")
    echo "---- FAILED for Windows: $source"
    cat "$work/log/$n"
  done
fi
while IFS=$'\t' read -r _ source note; do
  if [ -n "${note:-}" ]; then echo "note: $source $note"; fi
done <"$work/jobs"

echo "Windows syntax check ($cxx -fsyntax-only): $total files, $((checked - failed)) passed," \
  "$failed failed, $((total - checked)) without flags"
[ "$failed" -eq 0 ] && [ "$checked" -eq "$total" ]
