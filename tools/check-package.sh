#!/usr/bin/env bash
# Builds the Debian package from a build folder (default ./build, built already), checks
# it with lintian and the desktop files with desktop-file-validate and appstreamcli,
# installs it with apt-get as a user would, runs both installed programs from /usr, and
# removes it again. Needs root or sudo; installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
bash tools/install-deps.sh

echo "-- package"
rm -f "$build"/wavsmith_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/wavsmith_*.deb)
dpkg-deb --field "$deb" Package Version Depends

echo "-- lintian, desktop-file-validate, appstreamcli validate"
lintian --fail-on error,warning "$deb"
desktop-file-validate data/desktop/example.orvandel.Wavsmith.desktop
appstreamcli validate --no-net data/desktop/example.orvandel.Wavsmith.metainfo.xml

work=$(mktemp -d)
cleanup() {
    [ -n "${window_pid:-}" ] && kill "$window_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

echo "-- apt-get install ./$deb"
# A package of the same version left by an earlier run would not be replaced.
if dpkg-query -W wavsmith >/dev/null 2>&1; then
    "${sudo_cmd[@]}" apt-get purge -y -qq wavsmith >/dev/null
fi
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$deb" >/dev/null
[ "$(command -v wavsmith-cli)" = /usr/bin/wavsmith-cli ] && [ "$(command -v wavsmith)" = /usr/bin/wavsmith ]

echo "-- the installed programs, run from /usr with a fresh home"
export HOME=$work/home XDG_CONFIG_HOME=
mkdir -p "$HOME" "$work/wav"
cp "$build"/examples/*.wav "$work/wav/"
# Only the files the program accepts: the example album holds one it refuses.
rm -f "$work/wav/Surround Sketch.wav"
(cd "$work" && /usr/bin/wavsmith-cli encode --out "$work/mp3" --yes --no-progress \
    --artist "The Examples" --album "First Light" wav)
wavs=$(find "$work/wav" -name '*.wav' | wc -l)
mp3s=$(find "$work/mp3" -name '*.mp3' -size +1k | wc -l)
[ "$wavs" -gt 0 ] && [ "$mp3s" -eq "$wavs" ] || { echo "encoded $mp3s of $wavs files"; exit 1; }
/usr/bin/wavsmith-cli --lang German list "$work/wav" | head -n 1 | grep -q Dateiname
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/wavsmith --version
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/wavsmith --help >/dev/null
# The window on a virtual X display with the WAV folder handed over as "Open with" does;
# a missing platform plugin or library would end it at once.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    "/usr/bin/wavsmith '$work/wav' & pid=\$!; sleep 3; kill -0 \$pid && kill \$pid"
echo "window ran"
# The completion offers the options the help lists.
bash -c 'source /usr/share/bash-completion/bash_completion
    COMP_WORDS=(wavsmith-cli --pres); COMP_CWORD=1; COMP_LINE="wavsmith-cli --pres"
    COMP_POINT=${#COMP_LINE}; _completion_loader wavsmith-cli; _wavsmith_cli wavsmith-cli --pres wavsmith-cli
    [ "${COMPREPLY[*]}" = --preset ]'
echo "completion works"

echo "-- apt-get purge wavsmith"
"${sudo_cmd[@]}" apt-get purge -y -qq wavsmith >/dev/null
[ ! -e /usr/bin/wavsmith ] && [ ! -e /usr/lib/wavsmith ] && [ ! -e /usr/share/wavsmith ]
echo "package installed, ran and removed cleanly"
