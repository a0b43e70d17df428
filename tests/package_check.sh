#!/usr/bin/env bash
# The Debian package as a user gets it: built, checked by lintian, installed into a scratch
# root, used from there, and purged again without a trace.
#
#   package_check.sh BUILD_DIR
#
# Needs root for dpkg; exits 77 (skipped) without it.
set -euo pipefail
build=$(cd "$1" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "package check: needs root for dpkg --root, skipped"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The programs run here read and write nothing of the real user's.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_DATA_HOME=$scratch/home/.local/share
export XDG_STATE_HOME=$scratch/home/.local/state XDG_CACHE_HOME=$scratch/home/.cache
mkdir -p "$HOME"
bad=0
fail() { echo "package check: $*" >&2; bad=1; }

cmake --build "$build" --target package >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log"; echo "package check: the package target failed" >&2; exit 1; }
version=$(sed -nE 's/^CPACK_PACKAGE_VERSION:STRING=//p; s/^CMAKE_PROJECT_VERSION:STATIC=//p' \
  "$build/CMakeCache.txt" | head -n 1)
deb=$build/nmaker_${version}-1_amd64.deb
[ -f "$deb" ] || { echo "package check: no $deb" >&2; exit 1; }

# lintian says nothing but the overridden and the informational.
lintian --fail-on error,warning --pedantic "$deb" 2>&1 | grep -v 'running with root privileges' \
  || true
lintian --fail-on error,warning --pedantic "$deb" >/dev/null 2>&1 || fail "lintian reports the above"

# One version everywhere: the package, its changelog, the metainfo and the program.
changelog_version=$(zcat <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/nmaker/changelog.Debian.gz) \
  | sed -nE '1s/^nmaker \(([^)]*)\).*/\1/p')
[ "$changelog_version" = "$version-1" ] || fail "the changelog's last entry is $changelog_version, the package $version-1"

root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
: >"$root/var/lib/dpkg/status"
# The dependencies are the host's, not the scratch root's; every file goes in, whatever the
# host's dpkg leaves out (a slim image drops manual pages and /usr/share/doc).
dpkg --root="$root" --log=/dev/null --force-depends --path-include="/*" -i "$deb" >"$scratch/dpkg.log" 2>&1 \
  || { cat "$scratch/dpkg.log"; echo "package check: dpkg -i failed" >&2; exit 1; }

for path in usr/bin/nmaker usr/bin/nmaker-cli usr/lib/nmaker/nmaker usr/lib/nmaker/nmaker-cli \
  usr/lib/nmaker/NMAKER_INDEX.htm usr/lib/nmaker/NMAKER_INDEX_en.htm usr/share/man/man1/nmaker.1.gz usr/share/man/man1/nmaker-cli.1.gz \
  usr/share/doc/nmaker/copyright usr/share/doc/nmaker/changelog.Debian.gz \
  usr/share/applications/io.github.nmaker.nmaker.desktop \
  usr/share/metainfo/io.github.nmaker.nmaker.metainfo.xml \
  usr/share/icons/hicolor/256x256/apps/io.github.nmaker.nmaker.png \
  usr/share/icons/hicolor/scalable/apps/io.github.nmaker.nmaker.svg; do
  [ -e "$root/$path" ] || fail "not installed: /$path"
done
# dpkg's list of what it installed is what is there.
while IFS= read -r path; do
  [ -e "$root$path" ] || [ -L "$root$path" ] || fail "dpkg lists /$path, which is not there"
done < <(dpkg --root="$root" -L nmaker)
for link in nmaker nmaker-cli; do
  target=$(readlink "$root/usr/bin/$link")
  [ "$target" = "../lib/nmaker/$link" ] || fail "/usr/bin/$link points to $target, not relatively"
done

said=$("$root/usr/bin/nmaker-cli" --version) || fail "nmaker-cli --version failed"
[ "$said" = "NMaker $version" ] || fail "nmaker-cli --version said '$said'"
said=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/nmaker" --version) || fail "nmaker --version failed"
[ "$said" = "NMaker $version" ] || fail "nmaker --version said '$said'"

for page in nmaker nmaker-cli; do
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$root/usr/share/man/man1/$page.1.gz" 2>&1 >"$scratch/$page.txt") \
    || fail "man -l $page.1.gz failed"
  [ -z "$warnings" ] || fail "man -l $page.1.gz warns: $warnings"
  grep -q "NMaker $version" "$scratch/$page.txt" || fail "$page.1 does not render with its version"
done
appstreamcli validate --no-net --pedantic --explain \
  "$root/usr/share/metainfo/io.github.nmaker.nmaker.metainfo.xml" >"$scratch/appstream.log" 2>&1 \
  || { cat "$scratch/appstream.log"; fail "appstreamcli validate failed"; }
desktop-file-validate "$root/usr/share/applications/io.github.nmaker.nmaker.desktop" \
  || fail "desktop-file-validate failed"

dpkg --root="$root" --log=/dev/null --purge nmaker >"$scratch/purge.log" 2>&1 \
  || { cat "$scratch/purge.log"; fail "dpkg --purge failed"; }
left=$(cd "$root" && find . -mindepth 1 -not -path './var' -not -path './var/lib' -not -path './var/lib/dpkg' \
  -not -path './var/lib/dpkg/*')
[ -z "$left" ] || fail "purge left: $(echo "$left" | tr '\n' ' ')"

[ $bad = 0 ] && echo "package check: $(basename "$deb") is lintian clean, installs, runs and purges without a trace"
exit $bad
