#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what a desktop and a
# user find there: both programs, the delivered files, the desktop entry
# (desktop-file-validate), the AppStream metadata (appstreamcli), the icon and
# the man pages. Exit code 77 when a checking tool is missing.
# Usage: installcheck.sh CMAKE BUILD_DIR APP_ID DELIVERED_FILE...
set -euo pipefail
cmake=$1 build=$2 id=$3
shift 3
for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool fehlt: tools/setup.sh installiert es (desktop-file-utils, appstream)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
failed=0
need() {
  if [ ! -s "$prefix/$1" ]; then
    echo "fehlt nach der Installation: $1"
    failed=1
  fi
}
need bin/glykovalin
need bin/glykovalin-cli
for f in "$@"; do need "share/glykovalin/$f"; done
need "share/applications/$id.desktop"
need "share/metainfo/$id.metainfo.xml"
need "share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 24 32 48 64 128 256; do need "share/icons/hicolor/${size}x$size/apps/$id.png"; done
need share/man/man1/glykovalin.1.gz
need share/man/man1/glykovalin-cli.1.gz
[ -x "$prefix/bin/glykovalin" ] || { echo "bin/glykovalin ist nicht ausführbar"; failed=1; }
desktop-file-validate "$prefix/share/applications/$id.desktop" || failed=1
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || failed=1
appstreamcli validate-tree --no-net "$prefix" >/dev/null || { echo "appstreamcli validate-tree"; failed=1; }
# The installed program and command run from the prefix and speak German.
QT_QPA_PLATFORM=offscreen "$prefix/bin/glykovalin-cli" --help | grep -q "^Aufruf: glykovalin-cli" ||
  { echo "bin/glykovalin-cli --help zeigt nicht seine Hilfe"; failed=1; }

# The first start of the installed program from the desktop (in the home
# folder, without glykoval.ini): it makes ~/Glykovalin with the delivered
# files and writes nothing into the installation.
mkdir -p "$work/home"
before=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)
(cd "$work/home" && HOME="$work/home" QT_QPA_PLATFORM=offscreen exec "$prefix/bin/glykovalin") \
  >"$work/start.log" 2>&1 &
pid=$!
for _ in $(seq 1 150); do
  [ -d "$work/home/Glykovalin/Glykovalin-Daten" ] && break
  sleep 0.2
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if [ ! -d "$work/home/Glykovalin/Glykovalin-Daten" ]; then
  echo "Erster Start: ~/Glykovalin/Glykovalin-Daten wurde nicht angelegt"
  cat "$work/start.log"
  failed=1
fi
for f in "$@"; do
  cmp -s "$prefix/share/glykovalin/$f" "$work/home/Glykovalin/$f" ||
    { echo "Erster Start: $f wurde nicht nach ~/Glykovalin kopiert"; failed=1; }
done
after=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort)
[ "$before" = "$after" ] || { echo "Erster Start: das Programm hat in die Installation geschrieben"; failed=1; }
exit $failed
