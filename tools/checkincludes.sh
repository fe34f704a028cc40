#!/usr/bin/env bash
# Refuses includes that climb out of a folder ("../"): a source reaches
# another folder only through the include root of a library it links, so the
# build can check the direction of every dependency.
set -euo pipefail
cd "$(dirname "$0")/.."
hits=$(grep -rn --include='*.cpp' --include='*.h' -E '#[[:space:]]*include[[:space:]]*"\.\./' \
  --exclude-dir='build*' --exclude-dir=node_modules . || true)
if [ -n "$hits" ]; then
  echo "Includes mit \"../\" umgehen die Schichtung der Bibliotheken:"
  echo "$hits"
  exit 1
fi
