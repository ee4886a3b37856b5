#!/usr/bin/env bash
# Installs citara with `cmake --install` into a scratch folder, builds its Debian package with
# CPack, unpacks it with dpkg-deb (never installing it on this machine), runs the unpacked program
# and checks the package with lintian.
# Usage: tests/package/deb_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/citara-deb-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# cmake --install: the program, its manual page and the README in the usual places.
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
for file in bin/citara share/man/man1/citara.1.gz share/doc/citara/README.md share/doc/citara/copyright; do
  [[ -f $scratch/prefix/$file ]] || fail "cmake --install put no $file"
done
# Each text is read whole before it is searched: `grep -q` stops at its match, and the writer
# it leaves behind would fail the pipe (pipefail) when it writes on.
manual=$(zcat "$scratch/prefix/share/man/man1/citara.1.gz")
grep -q "^\.TH CITARA 1 .*Citara $version" <<<"$manual" || fail "the manual page does not name version $version"

# The package.
(cd "$build" && cpack -G DEB -B "$scratch/cpack" >/dev/null)
deb=$scratch/cpack/citara_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "cpack wrote no $(basename "$deb") ($(ls "$scratch/cpack"))"
[[ $(dpkg-deb -f "$deb" Package) == citara ]] || fail "Package: $(dpkg-deb -f "$deb" Package)"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "Version: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends) description=$(dpkg-deb -f "$deb" Description)
[[ $depends == *libc6* ]] || fail "Depends: $depends"
[[ $description == *"MLA and APA"* ]] || fail "no description"

dpkg-deb -x "$deb" "$scratch/root"
for file in usr/bin/citara usr/share/man/man1/citara.1.gz usr/share/doc/citara/README.md \
            usr/share/doc/citara/copyright usr/share/doc/citara/changelog.gz; do
  [[ -f $scratch/root/$file ]] || fail "the package holds no /$file"
done
[[ $("$scratch/root/usr/bin/citara" --version) == "citara $version" ]] || fail "the unpacked citara --version"
printf 'Title:=a tale\r\nPlace of Printing:=Boston\r\nPublishing Company:=Harbor Books\r\nYear:=2001\r\n' \
  | "$scratch/root/usr/bin/citara" entry --control Book --style mla --format marked >"$scratch/entry"
[[ $(cat "$scratch/entry") == "*A Tale*. Boston: Harbor Books, 2001. " ]] || fail "the unpacked citara's entry: $(cat "$scratch/entry")"

# Debian's own check of the package: no error (warnings and notes are printed for a reader).
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$scratch/lintian" || fail "lintian reported errors"
echo "deb_test: citara_${version} installs, packs, unpacks, runs and passes lintian"
