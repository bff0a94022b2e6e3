#!/bin/sh
# Fails when a source file includes from a folder above its own. Layers from the bottom up:
# winkit, engine, files and settings (side by side), journal, board, app. resources/ holds
# identifiers only and may be included from files, settings, journal, board and app.
cd "$(dirname "$0")/.." || exit 2
allowed() {
    case "$1" in
        winkit) echo "winkit" ;;
        engine) echo "winkit engine" ;;
        files) echo "winkit engine files resources" ;;
        settings) echo "winkit settings resources" ;;
        journal) echo "winkit engine files settings journal resources" ;;
        board) echo "winkit engine settings journal board resources" ;;
        app) echo "winkit engine files settings journal board app resources" ;;
    esac
}
status=0
for folder in winkit engine files settings journal board app; do
    for file in "$folder"/*.cpp "$folder"/*.h; do
        [ -e "$file" ] || continue
        for included in $(sed -n 's/^#include "\([a-z_]*\)\/.*/\1/p' "$file"); do
            case " $(allowed "$folder") " in
                *" $included "*) ;;
                *) echo "$file includes from $included/, above $folder/"; status=1 ;;
            esac
        done
    done
done
exit $status
