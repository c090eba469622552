#!/usr/bin/env bash
# Takes the screenshots of docs/ from the real program in a real X server
# (Xvfb): the main window as it starts, and with its "База" menu open.
#   scripts/screenshots.sh [path/to/vestorin]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vestorin_install_missing xvfb xauth imagemagick xdotool

program=${1:-}
if [ -z "$program" ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESTORIN_BUILD_TESTS=OFF -DVESTORIN_BUILD_BENCH=OFF >/dev/null
    cmake --build build -j"$(vestorin_jobs)" --target vestorin
    program=./build/src/app/vestorin
fi
program=$(realpath "$program")
docs=$PWD/docs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime" "$work/start"

cat > "$work/shoot.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
cd "$work/start"
XDG_RUNTIME_DIR="$work/runtime" "$program" &
pid=\$!
sleep 3
import -window root "$docs/main_window.png"
xdotool mousemove 24 8 click 1
sleep 1
import -window root "$docs/main_window_menu.png"
kill \$pid
wait \$pid 2>/dev/null || true
INNER
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 1280x800x24" "$work/shoot.sh"
echo "docs/main_window.png docs/main_window_menu.png"
