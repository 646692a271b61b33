#!/usr/bin/env bash
# Installs the built program into a temporary prefix and checks that everything the desktop
# needs is there and valid. Argument: the build folder.
set -euo pipefail
build=${1:?build folder}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for file in bin/kurvatur bin/kurvatur-calc \
    share/applications/de.kurvatur.Kurvatur.desktop \
    share/icons/hicolor/scalable/apps/kurvatur.svg \
    share/metainfo/de.kurvatur.Kurvatur.metainfo.xml \
    share/kurvatur/Beispiele.txt; do
    if [ ! -s "$prefix/$file" ]; then
        echo "missing after install: $file"
        status=1
    fi
done
for program in kurvatur kurvatur-calc; do
    [ -x "$prefix/bin/$program" ] || { echo "not executable: bin/$program"; status=1; }
done

desktop=$prefix/share/applications/de.kurvatur.Kurvatur.desktop
if [ -f "$desktop" ]; then
    grep -q '^Name\[de\]=' "$desktop" || { echo "desktop file: no German name"; status=1; }
    grep -q '^Comment\[de\]=' "$desktop" || { echo "desktop file: no German comment"; status=1; }
    grep -q '^Categories=.*Education;.*Math;' "$desktop" || { echo "desktop file: categories"; status=1; }
    # The entry names the program and the icon that were installed.
    grep -q '^Exec=kurvatur$' "$desktop" || { echo "desktop file: Exec"; status=1; }
    grep -q '^Icon=kurvatur$' "$desktop" || { echo "desktop file: Icon"; status=1; }
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$desktop" || status=1
    fi
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --explain "$prefix/share/metainfo/de.kurvatur.Kurvatur.metainfo.xml" \
        >/dev/null || { echo "metainfo invalid"; status=1; }
fi

# The installed program runs.
"$prefix/bin/kurvatur" --version | grep -q '^Kurvatur 2' || { echo "installed kurvatur does not run"; status=1; }

[ $status -eq 0 ] && echo "Install: every file in place and valid."
exit $status
