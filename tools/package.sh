#!/usr/bin/env bash
# Builds the Debian package from the Release build (build-release/, or the
# folder given) and checks it: the files a user needs and the declared Debian
# dependencies. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target glykovalin glykovalin-cli assets manpages >/dev/null
rm -f "$build"/package/glykovalin_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/package/glykovalin_*.deb)
failed=0
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6printsupport6 zlib1g qt6-qpa-plugins qt6-translations-l10n \
           fonts-liberation2; do
  [[ ", $depends," == *", $dep"[\ ,]* ]] || { echo "$deb: Depends ohne $dep: $depends"; failed=1; }
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/glykovalin ./usr/bin/glykovalin-cli ./usr/share/glykovalin/glykoval.ini \
         ./usr/share/glykovalin/Glykovalin-Hilfe.htm ./usr/share/glykovalin/scripts/Chart.min.js \
         ./usr/share/applications/de.glykovalin.Glykovalin.desktop \
         ./usr/share/metainfo/de.glykovalin.Glykovalin.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/de.glykovalin.Glykovalin.svg \
         ./usr/share/icons/hicolor/48x48/apps/de.glykovalin.Glykovalin.png \
         ./usr/share/man/man1/glykovalin-cli.1.gz; do
  grep -qxF "$f" <<<"$contents" || { echo "$deb: $f fehlt im Paket"; failed=1; }
done
[ $failed -eq 0 ] || exit 1
echo "$deb"
