#!/usr/bin/env bash
# Sets up and builds Glykovalin (Release, in build-release/), prepares the
# demo folder run/ beside the sources with the delivered files and a demo
# month, and starts the program there. Without a display it says so and how
# to start the program, and that glykovalin-cli works without one.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
[ -f build-release/CMakeCache.txt ] ||
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build-release --target glykovalin glykovalin-cli assets
mkdir -p run
build-release/glyko_makeassets "$PWD/run" --demo
cp -r build-release/scripts run/
cp build-release/glykovalin build-release/glykovalin-cli run/
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  month="Glykovalin-Daten/$(date +%Y)/MM$(date +%m%Y).tab"
  cat <<MELDUNG

Glykovalin ist gebaut und der Demo-Ordner run/ ist bereit.
Dieser Rechner hat aber keinen Bildschirm (DISPLAY und WAYLAND_DISPLAY sind
nicht gesetzt), darum wird das Programm hier nicht gestartet.

So starten Sie es an einem Rechner mit Bildschirm (oder über ssh -X):
  cd $PWD/run && ./glykovalin

Ohne Bildschirm arbeitet glykovalin-cli im selben Ordner, zum Beispiel:
  cd $PWD/run
  ./glykovalin-cli graph $month monat.png
  ./glykovalin-cli table $month
  ./glykovalin-cli --help
MELDUNG
  exit 0
fi
cd run && exec ./glykovalin
