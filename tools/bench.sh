#!/usr/bin/env bash
# Installs what the benchmarks compare against (ImageMagick besides the usual
# set), builds, and runs the benchmarks one after the other. Figures are
# printed; nothing is asserted.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLON_EXTRA_PACKAGES="imagemagick" "$root/tools/setup.sh"
build="${QUILLON_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM=offscreen
for bench in crypto/bench_md5 editor/bench_editor_documents editorui/bench_editor_window \
             intake/bench_intake send/bench_send_phases; do
  echo "== $bench"
  "$build/bench/$bench"
done
echo "== send/bench_send"
cmake --build "$build" --target bench_send
