#!/usr/bin/env bash
# Builds the Debian package and proves it as a technician's machine would take it: clean
# by lintian (no error, no warning), unpacked into a clean folder, accepted by apt with the
# dependencies it names, its desktop entry valid and pointing at an installed program and
# icon, every program with its manual page and every library of its programs found,
# tc8-cli free of Qt's window libraries, tc8-sim and tc8-cli answering --help, and the
# configurator, started by the entry's command, still running after a few seconds (on Qt's
# offscreen platform, as there is no display).
#   scripts/check-package.sh [BUILD_DIR]     (default: build-ci, the folder of scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-ci}"
scripts/deps.sh --extra desktop-file-utils dpkg-dev file lintian
[ -f "$build/CPackConfig.cmake" ] || { echo "$build is not a configured build folder" >&2; exit 1; }
# tc8-package-docs: the compressed manual pages and changelog, which cpack only copies.
cmake --build "$build" --target tc8-configurator tc8-sim tc8-cli tc8-package-docs
rm -f "$build"/tc8-configurator_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(realpath "$build"/tc8-configurator_*.deb)
echo "Package: $deb"

fail() { echo "check-package: $*" >&2; exit 1; }

root=$(mktemp -d)
trap 'rm -rf "$root" "$root.lintian"' EXIT

# Debian's own judgement of the package: file layout, changelog, copyright, manual pages,
# description, binaries. Informational tags (I:) do not fail it; errors and warnings do.
lintian --fail-on error,warning "$deb" >"$root.lintian" 2>&1 ||
    { cat "$root.lintian" >&2; fail "lintian finds errors or warnings in the package"; }
dpkg-deb -x "$deb" "$root"

# apt resolves the package's dependencies (a simulation: nothing is installed).
apt-get install --simulate --no-install-recommends "$deb" >"$root.apt" 2>&1 ||
    { cat "$root.apt" >&2; rm -f "$root.apt"; fail "apt does not accept the package"; }
rm -f "$root.apt"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6charts6 libjpeg62-turbo qt6-qpa-plugins qt6-translations-l10n \
    libqt6sql6-sqlite libqt6sql6-psql; do
    [[ "$depends" == *"$needed"* ]] || fail "Depends lacks $needed: $depends"
done

entry="$root/usr/share/applications/tc8-configurator.desktop"
desktop-file-validate "$entry"
grep -qx 'Name=Konfigurator TC-8' "$entry" || fail "the entry's Name is not Polish"
command=$(sed -n 's/^Exec=//p' "$entry")
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -x "$root/usr/bin/$command" ] || fail "the entry starts $command, which is not installed"
for size in 16x16 32x32 48x48 256x256; do
    [ -f "$root/usr/share/icons/hicolor/$size/apps/$icon.png" ] || fail "no $size icon $icon"
done

for program in tc8-configurator tc8-sim tc8-cli; do
    [ -x "$root/usr/bin/$program" ] || fail "$program is not installed"
    # man-db reads the page as installed; its warnings (a broken macro, a character it cannot
    # show) go to stderr and fail the check.
    page="$root/usr/share/man/man1/$program.1.gz"
    [ -f "$page" ] || fail "$program has no manual page"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the manual page of $program: $warnings"
    if ldd "$root/usr/bin/$program" | grep 'not found'; then
        fail "$program links libraries that are not there"
    fi
done

# tc8-cli runs on servers and in cron jobs with no display: it paints its report with Qt
# Gui on the offscreen platform, but must not pull in the window's widgets, which is what
# its layer check in the build keeps it from doing in source.
if ldd "$root/usr/bin/tc8-cli" | grep -E 'libQt6(Widgets|Charts|PrintSupport)'; then
    fail "tc8-cli links Qt's window libraries"
fi

PATH="$root/usr/bin:$PATH" tc8-sim --help | grep -q -- '--port N' || fail "tc8-sim --help"
PATH="$root/usr/bin:$PATH" tc8-cli --help >/dev/null </dev/null || fail "tc8-cli --help"

status=0
PATH="$root/usr/bin:$PATH" QT_QPA_PLATFORM=offscreen timeout 5 $command || status=$?
[ "$status" -eq 124 ] || fail "the configurator ended by itself (exit status $status)"
echo "check-package: $(basename "$deb") installs and starts"
