#!/usr/bin/env bash
# Sets up, builds and starts Glykovalin in the data folder run/ beside the
# sources, with the delivered files and a demo month.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYKO_BENCH=OFF
cmake --build build
mkdir -p run
build/glyko_makeassets "$PWD/run" --demo
cp -r build/scripts run/
cp build/glykovalin build/glykovalin-cli run/
cd run && exec ./glykovalin
