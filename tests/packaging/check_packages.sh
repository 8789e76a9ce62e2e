#!/usr/bin/env bash
# Packs a build tree with CPack into a temporary folder, unpacks the three packages and checks
# their files, dependencies and versions, the desktop entries, the AppStream metadata and the
# manual pages against the programs' own --help.
# Usage: check_packages.sh BUILD_DIR VERSION
set -euo pipefail
shopt -s nullglob
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Every install rule names its package; a file without one would be left out silently.
cmake --install "$build" --component Unspecified --prefix "$work/stray" >/dev/null
stray=$(find "$work/stray" -type f 2>/dev/null || true)
[ -z "$stray" ] || fail "installed but in no package: $stray"

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }

# package: files it must hold; both programs bring the same kinds of files
program_files() {
    local id=de.korvalin.${1^}
    echo "usr/bin/$1 usr/bin/$1-cli usr/share/applications/$id.desktop
        usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml
        usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/korvalin/help/$1/index.html
        usr/share/doc/$1/copyright usr/share/man/man1/$1.1.gz usr/share/man/man1/$1-cli.1.gz"
}
declare -A files=(
    [quillmark]="$(program_files quillmark) usr/lib/korvalin/libwizard.so
        usr/share/icons/hicolor/128x128/apps/de.korvalin.Quillmark.png"
    [lineprobe]="$(program_files lineprobe)
        usr/share/icons/hicolor/256x256/apps/de.korvalin.Lineprobe.png"
    [fatsim]="usr/bin/fatsim usr/share/man/man1/fatsim.1.gz usr/share/doc/fatsim/copyright")
# package: dependencies it must declare (computed from the binaries, and the run-time ones)
declare -A depends=(
    [quillmark]="libc6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 qt6-qpa-plugins
        qt6-translations-l10n fonts-liberation"
    [lineprobe]="libc6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins qt6-translations-l10n
        fonts-liberation"
    [fatsim]="libc6 libqt6core6")

for pkg in quillmark lineprobe fatsim; do
    deb=$(compgen -G "$work/out/${pkg}_${version}-1_*.deb") || fail "no package $pkg $version"
    root=$work/$pkg
    dpkg-deb -x "$deb" "$root"
    for f in ${files[$pkg]}; do
        [ -f "$root/$f" ] || fail "$pkg lacks $f"
    done
    outside=$(cd "$root" && find . -type f ! -path './usr/*')
    [ -z "$outside" ] || fail "$pkg installs outside /usr: $outside"
    declared=$(dpkg-deb -f "$deb" Depends)
    for d in ${depends[$pkg]}; do
        grep -Eq "(^|, )$d( |,|$)" <<<"$declared" || fail "$pkg does not depend on $d: $declared"
    done
    [ "$pkg" != fatsim ] || ! grep -q libqt6widgets6 <<<"$declared" ||
        fail "fatsim needs no widgets: $declared"

    for exe in "$root"/usr/bin/*; do
        name=$(basename "$exe")
        dynamic=$(readelf -d "$exe")
        ! grep -q "$build" <<<"$dynamic" || fail "$name points into the build tree"
        [ "$("$exe" --version)" = "$name (Korvalin) $version" ] || fail "$name --version"
        "$exe" --help >"$work/help.txt" || fail "$name --help"
        # The manual page names every command and option that --help lists.
        page=$(zcat "$root/usr/share/man/man1/$name.1.gz" | sed 's/\\-/-/g; s/\\f[BIRP]//g')
        words=$(grep -Eo -- "--[a-z0-9-]+|^ *(usage: )?$name [a-z][a-z-]+" "$work/help.txt" |
            sed "s/.*$name //" | sort -u)
        for w in $words; do
            grep -Eq -- "(^|[^a-z0-9-])$w([^a-z0-9-]|$)" <<<"$page" || fail "$name.1 lacks $w"
        done
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l \
            "$root/usr/share/man/man1/$name.1.gz" 2>&1 >"$work/page.txt")
        [ -z "$warnings" ] || fail "man $name: $warnings"
        for section in "EXIT STATUS" EXAMPLE "$version"; do
            grep -q "$section" "$work/page.txt" || fail "$name.1 lacks $section"
        done
    done
    for entry in "$root"/usr/share/applications/*.desktop; do
        desktop-file-validate "$entry" || fail "desktop-file-validate $entry"
    done
    for meta in "$root"/usr/share/metainfo/*.xml; do
        appstreamcli validate --no-net "$meta" >"$work/as.txt" || { cat "$work/as.txt"; fail "$meta"; }
        grep -q "<release version=\"$version\"" "$meta" || fail "$meta lacks release $version"
    done
done
echo "packages of $version checked"
