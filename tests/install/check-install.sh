#!/bin/sh
# What the build installs and packages, checked as a distribution would check it.
#   check-install.sh tree BUILD SOURCE APP_ID   cmake --install into a scratch DESTDIR: the file
#       list, the menu entry and metainfo through their validators, the manual pages through
#       mandoc and groff
#   check-install.sh deb BUILD SOURCE APP_ID    cpack -G DEB: each package's files, Depends and
#       lintian, and that the converter's package pulls in no Qt
# Exits 77 (skipped) when a tool the check needs is missing; ./scripts/bootstrap test installs them.
set -eu
mode=$1 build=$2 source=$3 id=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null 2>&1 || { echo "skipped: $1 is not installed"; exit 77; }; }

# Every file a package must hold, under the prefix /usr: convert, window, or both.
expected() {
    case $1 in
    convert | both)
        printf '%s\n' usr/bin/lumirune-convert usr/share/man/man1/lumirune-convert.1.gz \
            usr/share/bash-completion/completions/lumirune-convert usr/share/zsh/vendor-completions/_lumirune-convert \
            usr/share/fish/vendor_completions.d/lumirune-convert.fish usr/share/doc/lumirune-convert/copyright \
            usr/share/doc/lumirune-convert/changelog.gz
        ;;
    esac
    case $1 in
    window | both)
        printf '%s\n' usr/bin/lumirune "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
            "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/48x48/apps/$id.png" \
            "usr/share/icons/hicolor/256x256/apps/$id.png" usr/share/man/man1/lumirune.1.gz \
            usr/share/doc/lumirune/copyright usr/share/doc/lumirune/changelog.gz
        ;;
    esac
}

compare() { # $1: what the list is of, $2: which files it must hold; stdin: the list found
    sort >"$work/found"
    expected "$2" | sort >"$work/expected"
    diff -u "$work/expected" "$work/found" || fail "$1 differs from the expected files (- missing, + unexpected)"
}

case $mode in
tree)
    root=$work/root
    DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
    (cd "$root" && find . -type f -o -type l | sed 's|^\./||') | compare "the install tree" both
    # zsh finds what is installed elsewhere among the prefix's site functions.
    DESTDIR=$work/local cmake --install "$build" --prefix /usr/local >/dev/null
    [ -f "$work/local/usr/local/share/zsh/site-functions/_lumirune-convert" ] ||
        fail "the zsh completion of a /usr/local install is not in site-functions"
    # No library search path of our own, so none can name the current folder.
    for program in "$build"/src/app/lumirune "$build"/src/cli/lumirune-convert "$root"/usr/bin/lumirune*; do
        ! readelf -d "$program" | grep -qE 'R(UN)?PATH' || fail "${program#"$work"/} carries a library search path"
    done

    # The software centre and the changelog list the version the program reports.
    reported=$("$root/usr/bin/lumirune" --version)
    listed=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root/usr/share/metainfo/$id.metainfo.xml" | head -n 1)
    [ "$reported" = "lumirune $listed" ] || fail "lumirune --version says '$reported', the newest release is '$listed'"
    logged=$(zcat "$root/usr/share/doc/lumirune/changelog.gz" | sed -n '1s/^lumirune (\([^)]*\)).*/\1/p')
    [ "$reported" = "lumirune $logged" ] || fail "lumirune --version says '$reported', the changelog '$logged'"
    grep -q "^Icon=$id\$" "$root/usr/share/applications/$id.desktop" || fail "the menu entry names another icon"

    need mandoc
    for page in "$root"/usr/share/man/man1/*.1.gz; do
        # Named as installed: mandoc checks the section against the name's suffix.
        unpacked=$work/man/$(basename "$page" .gz)
        mkdir -p "$work/man" && zcat "$page" >"$unpacked"
        warnings=$(groff -man -ww -z "$unpacked" 2>&1) || fail "groff cannot read ${page##*/}"
        [ -z "$warnings" ] || fail "${page##*/}: $warnings"
        mandoc -Tlint "$unpacked" || fail "mandoc -Tlint finds the above in ${page##*/}"
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
    for package in convert:lumirune-convert window:lumirune; do
        set -- "$work/${package#*:}"_*.deb
        [ -e "$1" ] || fail "no ${package#*:}_*.deb made"
        dpkg-deb -c "$1" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | compare "${1##*/}" "${package%%:*}"
        dpkg-deb -f "$1" Depends | tr -d ' ' | tr ',|' '\n\n' | sed 's/(.*//' >"$work/${package%%:*}.depends"
    done
    for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-image-formats-plugins; do
        grep -qx "$library" "$work/window.depends" || fail "lumirune's Depends lacks $library"
    done
    # Installing the converter alone pulls in nothing of Qt, however deep.
    grep -qx libc6 "$work/convert.depends" || fail "lumirune-convert's Depends lacks libc6"
    # shellcheck disable=SC2046
    apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
        --no-enhances $(cat "$work/convert.depends") | grep -v '^ ' | sort -u >"$work/pulled"
    ! grep -i 'qt' "$work/pulled" || fail "installing lumirune-convert pulls in the packages above"

    need lintian
    # Infos are told in the README's packaging notes; an error or warning fails.
    lintian --allow-root "$work"/*.deb >"$work/lintian.log" 2>&1 ||
        grep -qE '^[EW]:' "$work/lintian.log" || { cat "$work/lintian.log"; fail "lintian did not run"; }
    ! grep -E '^[EW]:' "$work/lintian.log" || fail "lintian"
    ;;
*) fail "unknown mode $mode" ;;
esac
