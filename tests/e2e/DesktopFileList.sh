#!/usr/bin/env bash
# End to end: the real desktop program on a virtual display, read and driven through the
# accessibility bus as a screen reader would. Open Dir adds a folder with its subfolders,
# the refused file is listed in Skip Files, and the list shows the tracks.
# usage (under xvfb-run): DesktopFileList.sh WAVSMITH
set -euo pipefail
wavsmith=$1
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# A session bus of its own, which starts the accessibility bus when the program asks for
# it; Qt then exposes its windows there.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 dbus-run-session -- \
    /usr/bin/python3 "$here/DesktopFileList.py" "$wavsmith" "$work"
