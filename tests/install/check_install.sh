#!/usr/bin/env bash
# Installs the build tree into a scratch DESTDIR and checks what a user and
# a desktop get: the programs, the versioned engine library, the data files,
# man pages, the menu entry, the AppStream metadata and the icons; then runs
# the installed programs (no display needed for --help and --version; the
# installed sorvel sorts through the installed library).
#
# usage: check_install.sh BUILD_DIR PREFIX LIBDIR DATADIR MANDIR
# Exits 77 (skipped) only when a validator is not installed.
set -euo pipefail

build=$1 prefix=$2 libdir=$3 datadir=$4 mandir=$5
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR=$stage cmake --install "$build" > "$stage.log" 2>&1 || { cat "$stage.log"; exit 1; }
rm -f "$stage.log"
root=$stage$prefix
case $libdir in /*) lib=$stage$libdir ;; *) lib=$root/$libdir ;; esac
case $datadir in /*) share=$stage$datadir ;; *) share=$root/$datadir ;; esac
case $mandir in /*) man=$stage$mandir ;; *) man=$root/$mandir ;; esac

for f in "$root/bin/reelbook" "$root/bin/sorvel"; do
    [[ -x $f ]] || fail "$f missing"
done
for f in "$share/reelbook/Dovelmark3.HLP" "$share/reelbook/UPPER.ALT" \
         "$share/reelbook/sample/Tavlen.Dat" "$man/man1/reelbook.1.gz" "$man/man1/sorvel.1.gz" \
         "$share/icons/hicolor/scalable/apps/reelbook.svg"; do
    [[ -s $f ]] || fail "$f missing"
done
for size in 16 22 24 32 48 64 128 256; do
    [[ -s $share/icons/hicolor/${size}x${size}/apps/reelbook.png ]] || fail "icon ${size}x${size} missing"
done

# The real file carries the SONAME; the unversioned name the catalogue loads
# links to it.
if [[ -f $lib/libsorvel32.so.1 ]]; then
    soname=$(objdump -p "$lib/libsorvel32.so.1" | awk '$1 == "SONAME" {print $2}')
    [[ $soname == libsorvel32.so.1 ]] || fail "SONAME is '$soname'"
    [[ -L $lib/libsorvel32.so ]] || fail "$lib/libsorvel32.so is not a link"
    [[ $(readlink -f "$lib/libsorvel32.so") == $(readlink -f "$lib/libsorvel32.so.1") ]] ||
        fail "libsorvel32.so does not lead to libsorvel32.so.1"
    exports=$(objdump -T "$lib/libsorvel32.so.1" | awk '$2 == "g" && $4 == ".text" {print $NF}' | sort | tr '\n' ' ')
    [[ $exports == *s_1mains* && $exports != *reel* ]] || fail "exports: $exports"
else
    fail "$lib/libsorvel32.so.1 missing"
fi

# The programs start from the install alone.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/reelbook" --version |
    grep -q '^reelbook ' || fail "reelbook --version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/reelbook" --help |
    grep -q 'local/share/reelbook' || fail "reelbook --help"
printf 'b\r\na\r\n' > "$stage/in.txt"
(cd "$stage" && "$root/bin/sorvel" -q in.txt out.txt 'SORT(1,1,C,A)') ||
    fail "installed sorvel"
[[ $(cat "$stage/out.txt" 2>/dev/null) == $'a\r\nb\r' ]] || fail "installed sorvel output"

skipped=0
desktop=("$share"/applications/*.desktop)
metainfo=("$share"/metainfo/*.metainfo.xml)
[[ -f ${desktop[0]} ]] || fail "no desktop file"
[[ -f ${metainfo[0]} ]] || fail "no metainfo file"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "${desktop[@]}" || fail "desktop-file-validate"
else
    echo "desktop-file-validate is not installed" >&2
    skipped=1
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "${metainfo[@]}" || fail "appstreamcli validate"
else
    echo "appstreamcli is not installed" >&2
    skipped=1
fi

if [[ $failures -gt 0 ]]; then exit 1; fi
if [[ $skipped -gt 0 ]]; then exit 77; fi
echo "install layout ok"
