#!/usr/bin/env bash
# The Windows installer under Wine, as an administrator uses it: a silent install of the package
# of VERSION, controls of both servers created by ProgID from the 64-bit (and, where this machine
# runs 32-bit programs, the 32-bit) script host, the registry entries compared with those regsvr32
# writes, an upgrade in place to a package of a higher version, and an uninstall that leaves no
# file, no registry entry of Citara's and no control that can be created.
# Usage: tests/installer/installer_test.sh X64_BUILD_DIR X86_BUILD_DIR VERSION WINEPREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
x64=$1 x86=$2 version=$3 prefix=$4
scratch=$(mktemp -d "${TMPDIR:-/tmp}/citara-installer-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
wine64() { "$root/scripts/wine-run" --64 "$prefix" "$@"; }
wine32() { "$root/scripts/wine-run" "$prefix" "$@"; }
win() { echo "Z:${1//\//\\}"; }  # a Unix path as Wine's drive Z: sees it
x86_runs=no
[[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1 && x86_runs=yes

# The package of this version and one of a higher version (the next patch number).
IFS=. read -r major minor patch <<<"$version"
higher=$major.$minor.$((patch + 1))
"$root/packaging/windows/make-msi" "$x64" "$x86" "$version" "$scratch/citara-$version.msi"
"$root/packaging/windows/make-msi" "$x64" "$x86" "$higher" "$scratch/citara-$higher.msi"
product_code() { msiinfo export "$1" Property | awk '$1 == "ProductCode" { print $2 }' | tr -d '\r'; }
old_code=$(product_code "$scratch/citara-$version.msi")
new_code=$(product_code "$scratch/citara-$higher.msi")
[[ $old_code != "$new_code" ]] || fail "both packages have the product code $old_code"

drive_c=$prefix/drive_c
files64=("$drive_c/Program Files/Citara/"{Citara.dll,CitaraWeb.dll,citara.exe})
files32=("$drive_c/Program Files (x86)/Citara/"{Citara.dll,CitaraWeb.dll})
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
idls=("$root/server/Citara.idl" "$root/server/CitaraWeb.idl")

# Citara's entries in one view of HKEY_CLASSES_ROOT (64 or 32), paths reduced to file names.
entries() {
  wine64 reg export HKCR "$(win "$scratch/hkcr.reg")" /y "/reg:$1" >/dev/null
  python3 "$here/registry_entries.py" "$scratch/hkcr.reg" "${idls[@]}"
}
msi() {  # msiexec ARGS... with a log, which is shown when it fails
  wine64 msiexec "$@" /qn /l*v "$(win "$scratch/msiexec.log")" </dev/null \
    || { iconv -f utf-16 -t utf-8 "$scratch/msiexec.log" 2>/dev/null | tail -40 >&2 || true; fail "msiexec $*"; }
}
controls() {  # controls all|none: from each script host that this machine runs
  (cd "$here" && wine64 cscript //nologo create_controls.vbs "$1") | tee "$scratch/controls" >&2
  grep -q "all checks passed" "$scratch/controls" || fail "64-bit cscript: controls $1"
  if [[ $x86_runs == yes ]]; then
    (cd "$here" && wine32 cscript //nologo create_controls.vbs "$1") | tee "$scratch/controls" >&2
    grep -q "all checks passed" "$scratch/controls" || fail "32-bit cscript: controls $1"
  fi
}
installed_version() {  # the DisplayVersion of the product code's uninstall entry, or ""
  wine64 reg query "$uninstall_key\\$1" /v DisplayVersion 2>/dev/null | awk '/DisplayVersion/ { print $3 }' | tr -d '\r'
}

[[ -z $(entries 64)$(entries 32) ]] || fail "the prefix holds Citara's registry entries before the install"

echo "== install $version"
msi /i "$(win "$scratch/citara-$version.msi")"
for f in "${files64[@]}" "${files32[@]}"; do [[ -f $f ]] || fail "not installed: $f"; done
[[ $(installed_version "$old_code") == "$version" ]] || fail "no uninstall entry of $version"
[[ $(wine64 'C:\Program Files\Citara\citara.exe' --version | tr -d '\r') == "citara $version" ]] || fail "installed citara.exe --version"
controls all

echo "== the installed entries are regsvr32's (64-bit view)"
# The 64-bit view of HKEY_CLASSES_ROOT shows the 32-bit one under Wow6432Node, and the x86 half
# of the type libraries' keys, which both views share.
own64() { grep -v -e '^wow6432node\\' -e '\\0\\win32' || true; }
entries 64 | own64 >"$scratch/installed64"
entries 32 >"$scratch/installed32"
# Read whole, then searched: `grep -q` stops at its match, which would fail the pipe (pipefail).
hkcr=$(iconv -f utf-16 -t utf-8 "$scratch/hkcr.reg")
grep -qF '"C:\\Program Files (x86)\\Citara\\Citara.dll,1"' <<<"$hkcr" \
  || fail "the 32-bit view does not point to the x86 servers"
msi /x "$(win "$scratch/citara-$version.msi")"
for dll in Citara CitaraWeb; do wine64 regsvr32 /s "$(win "$x64/server/$dll.dll")"; done
entries 64 | own64 >"$scratch/regsvr32"
for dll in Citara CitaraWeb; do wine64 regsvr32 /s /u "$(win "$x64/server/$dll.dll")"; done
diff "$scratch/regsvr32" "$scratch/installed64" >&2 || fail "the installer's entries differ from regsvr32's (< regsvr32, > installer)"
msi /i "$(win "$scratch/citara-$version.msi")"

echo "== upgrade to $higher"
msi /i "$(win "$scratch/citara-$higher.msi")"
[[ -z $(installed_version "$old_code") ]] || fail "the uninstall entry of $version is still there after the upgrade"
[[ $(installed_version "$new_code") == "$higher" ]] || fail "no uninstall entry of $higher"
for f in "${files64[@]}" "${files32[@]}"; do [[ -f $f ]] || fail "missing after the upgrade: $f"; done
[[ $(entries 64 | own64) == "$(cat "$scratch/installed64")" ]] || fail "the upgrade changed the 64-bit entries"
[[ $(entries 32) == "$(cat "$scratch/installed32")" ]] || fail "the upgrade changed the 32-bit entries"
controls all

echo "== uninstall"
msi /x "$(win "$scratch/citara-$higher.msi")"
for dir in "$drive_c/Program Files/Citara" "$drive_c/Program Files (x86)/Citara"; do
  [[ ! -e $dir ]] || fail "left behind: $dir ($(ls "$dir"))"
done
[[ -z $(installed_version "$new_code") ]] || fail "the uninstall entry is left"
left=$(entries 64; entries 32)
[[ -z $left ]] || fail "registry entries left: $left"
controls none
[[ $x86_runs == yes ]] || echo "installer_test: the 32-bit script host skipped: this machine cannot run 32-bit programs"
echo "installer_test: install, upgrade $version -> $higher and uninstall passed"
