#!/bin/sh
# Every text of the window is translated in every language shipped: lupdate gathers the texts
# afresh into a copy of each translation, in which none may be left unfinished or missing.
#   check-complete.sh LUPDATE SOURCE
set -eu
lupdate=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source"/translations/*.ts "$work"/
cd "$source/src"
"$lupdate" -silent -no-obsolete -locations none app mainwindow picture options platform widgets -ts "$work"/*.ts
if grep -B1 'type="unfinished"' "$work"/*.ts; then
    echo "FAIL: the texts above have no translation; run: cmake --build build --target update_translations" >&2
    exit 1
fi
