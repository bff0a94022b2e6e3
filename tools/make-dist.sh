#!/usr/bin/env bash
# Packs the release archive dist/Saltor-<version>.zip from the Windows tree: the folder Saltor/
# with Saltor.exe, its help Saltor.chm, the same help as pages for a browser in Saltor-aide/, and
# LISEZMOI.txt (UTF-8 with a byte-order mark and CRLF line ends, so that every Notepad shows it
# right). `make dist` builds the tree first.
#   tools/make-dist.sh [WINDOWS_BUILD_TREE]   (default build/win)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-$root/build/win}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
if [[ -z $version ]]; then
    echo "make-dist: no project version in $tree/CMakeCache.txt" >&2
    exit 1
fi
for f in Saltor.exe Saltor.chm Saltor-aide/index.htm; do
    if [[ ! -s $tree/app/$f ]]; then
        echo "make-dist: $tree/app/$f is missing (is chmcmd installed?)" >&2
        exit 1
    fi
done

stage=$tree/dist-stage
rm -rf "$stage"
mkdir -p "$stage/Saltor" "$root/dist"
cp "$tree/app/Saltor.exe" "$tree/app/Saltor.chm" "$stage/Saltor/"
cp -r "$tree/app/Saltor-aide" "$stage/Saltor/"
{ printf '\xef\xbb\xbf'; sed 's/\r\{0,1\}$/\r/' "$root/help/LISEZMOI.txt"; } >"$stage/Saltor/LISEZMOI.txt"

zipfile=$root/dist/Saltor-$version.zip
rm -f "$zipfile"
(cd "$stage" && zip -q -X -9 -r "$zipfile" Saltor)
rm -rf "$stage"
echo "make-dist: $zipfile"
unzip -l "$zipfile"
