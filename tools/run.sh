#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillon with the given
# arguments (none: an empty document, as --new).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/setup.sh"
build="${QUILLON_BUILD_DIR:-$root/build}"
if [ $# -eq 0 ]; then
  set -- --new
fi
exec "$build/app/ui/quillon2" "$@"
