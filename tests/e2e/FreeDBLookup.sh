#!/bin/sh
# The FreeDB end-to-end run on a virtual X display with a session bus of its own, so that
# the program's accessibility tree can be reached. Skipped (77) when a tool is missing.
fixture=$1
program=$2
for tool in xvfb-run dbus-run-session /usr/bin/python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "missing python3-pyatspi"; exit 77; }
# Other runs may be looking for a free display at the same moment: start from one of
# our own.
exec xvfb-run -a -n $(($$ % 500 + 100)) -s "-screen 0 1280x900x24" dbus-run-session -- \
    /usr/bin/python3 "$(dirname "$0")/FreeDBLookup.py" "$fixture" "$program"
