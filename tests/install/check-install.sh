#!/bin/sh
# What the build installs and packages, checked as a distribution would check it.
#   check-install.sh tree BUILD SOURCE APP_ID   cmake --install into a scratch DESTDIR: the file
#       list, the menu entry and metainfo through their validators, the manual pages through groff
#   check-install.sh deb BUILD SOURCE APP_ID    cpack -G DEB: the package's files and Depends
# Exits 77 (skipped) when a tool the check needs is missing; ./scripts/bootstrap test installs them.
set -eu
mode=$1 build=$2 source=$3 id=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null 2>&1 || { echo "skipped: $1 is not installed"; exit 77; }; }

# Every file the install must hold, under the prefix /usr; the manual pages and completions
# are there once their sources are.
expected() {
    printf '%s\n' usr/bin/lumirune usr/bin/lumirune-convert "usr/share/applications/$id.desktop" \
        "usr/share/metainfo/$id.metainfo.xml" "usr/share/icons/hicolor/scalable/apps/$id.svg" \
        "usr/share/icons/hicolor/48x48/apps/$id.png" "usr/share/icons/hicolor/256x256/apps/$id.png"
    for file in "$source"/man/*.1; do [ -e "$file" ] && echo "usr/share/man/man1/${file##*/}"; done
    for file in "$source"/completions/bash/*; do
        [ -e "$file" ] && echo "usr/share/bash-completion/completions/${file##*/}"
    done
    for file in "$source"/completions/zsh/_*; do [ -e "$file" ] && echo "usr/share/zsh/vendor-completions/${file##*/}"; done
    for file in "$source"/completions/fish/*.fish; do
        [ -e "$file" ] && echo "usr/share/fish/vendor_completions.d/${file##*/}"
    done
    true
}

compare() { # $1: what the list is of; stdin: the list found
    sort >"$work/found"
    expected | sort >"$work/expected"
    diff -u "$work/expected" "$work/found" || fail "$1 differs from the expected files (- missing, + unexpected)"
}

case $mode in
tree)
    root=$work/root
    DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
    (cd "$root" && find . -type f -o -type l | sed 's|^\./||') | compare "the install tree"
    # No library search path of our own, so none can name the current folder.
    for program in "$build"/src/app/lumirune "$build"/src/cli/lumirune-convert "$root"/usr/bin/lumirune*; do
        ! readelf -d "$program" | grep -qE 'R(UN)?PATH' || fail "${program#"$work"/} carries a library search path"
    done

    # The software centre lists the version the program reports.
    reported=$("$root/usr/bin/lumirune" --version)
    listed=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root/usr/share/metainfo/$id.metainfo.xml" | head -n 1)
    [ "$reported" = "lumirune $listed" ] || fail "lumirune --version says '$reported', the newest release is '$listed'"
    grep -q "^Icon=$id\$" "$root/usr/share/applications/$id.desktop" || fail "the menu entry names another icon"

    for page in "$root"/usr/share/man/man1/*.1; do
        [ -e "$page" ] || continue
        warnings=$(groff -man -ww -z "$page" 2>&1) || fail "groff cannot read ${page##*/}"
        [ -z "$warnings" ] || fail "${page##*/}: $warnings"
    done
    need desktop-file-validate
    desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
    need appstreamcli
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
    ;;
deb)
    need dpkg-shlibdeps
    need file # dpkg-shlibdeps finds the programs through it
    cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack -G DEB"; }
    set -- "$work"/lumirune_*.deb
    [ -e "$1" ] || fail "no lumirune_*.deb made"
    dpkg-deb -c "$1" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | compare "the package"
    depends=$(dpkg-deb -f "$1" Depends)
    echo "Depends: $depends"
    for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-image-formats-plugins; do
        echo "$depends" | grep -q "\\b$library\\b" || fail "Depends lacks $library"
    done
    ;;
*) fail "unknown mode $mode" ;;
esac
