#!/usr/bin/env bash
# CPack makes a .deb of the build: named larkspan at the project's version,
# holding the installed tree under /usr, depending on the libraries the
# programs link (the Qt 6 runtime with the editor), and its rfa runs.
# Usage: check-deb-package.sh CPACK BUILD_DIR WORK_DIR VERSION WITH_APP(1|0)
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=common.sh
source "${BASH_SOURCE[0]%/*}/common.sh"
cpack=$1 build=$2 work=$3 version=$4 with_app=$5

for tool in dpkg-deb dpkg-shlibdeps; do
  has "$tool" || skip "$tool not found (Debian: dpkg-dev)"
done

rm -rf "$work"
mkdir -p "$work"
"$cpack" --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
debs=("$work"/larkspan_"$version"_*.deb)
[ -f "${debs[0]}" ] || fail "no larkspan_${version}_ARCH.deb in $work: $(ls "$work")"
deb=${debs[0]}
dpkg-deb --info "$deb"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = larkspan ] || fail "the package is called '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "the package has version '$(field Version)'"
depends=$(field Depends)
expected_depends=(libc6 libstdc++6)
# Qt Gui comes with Widgets; it is listed too once the editor calls it itself.
[ "$with_app" = 1 ] && expected_depends+=(libqt6core6 libqt6widgets6)
for package in "${expected_depends[@]}"; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
    fail "Depends lacks $package: $depends"
done

contents=$(dpkg-deb --contents "$deb")
expected_files=(./usr/bin/rfa ./usr/share/mime/packages/"$APP_ID".xml)
[ "$with_app" = 1 ] && expected_files+=(./usr/bin/larkspan
  ./usr/share/applications/"$APP_ID".desktop
  ./usr/share/icons/hicolor/scalable/apps/"$APP_ID".svg)
for file in "${expected_files[@]}"; do
  grep -q " $file\$" <<< "$contents" || fail "the package lacks $file"
done

dpkg-deb --extract "$deb" "$work/root"
shown=$("$work/root/usr/bin/rfa" --version)
[ "$shown" = "rfa $version" ] || fail "the packaged rfa --version says '$shown'"
echo "$(basename "$deb") holds the tree and depends on: $depends"
