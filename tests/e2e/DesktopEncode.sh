#!/usr/bin/env bash
# End to end: the real desktop program on a virtual display encodes a folder of WAV files
# when Start is pressed, the encoding window closes by itself, and the MP3 files, tags and
# playlist are those the command line writes with the same settings.
# usage (under xvfb-run): DesktopEncode.sh WAVSMITH WAVSMITH_CLI MAKE_EXAMPLES
set -euo pipefail
wavsmith=$1 cli=$2 make_examples=$3

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

"$make_examples" "$work/wav" >/dev/null
rm -f "$work/wav/Surround Sketch.wav"
mkdir -p "$work/gui" "$work/cli" "$work/config/Orvandel"
export HOME=$work XDG_CONFIG_HOME=$work/config
profile=$work/config/Orvandel/Wavsmith.ini
cat >"$profile" <<INI
[settings_main]
InputDir=$work/wav/
OutputDir=$work/gui/
[settings_mp3]
Bitrate=192
[settings_id3]
Comment=end to end
INI

"$wavsmith" &
pid=$!
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Wavsmith ' | head -n 1) ||
    fail "the main window did not appear"
xdotool windowfocus --sync "$main"
sleep 1
xdotool key ctrl+e
timeout 30 xdotool search --sync --onlyvisible --name '^Encoding$' >/dev/null ||
    ls "$work/gui"/*.mp3 >/dev/null 2>&1 || fail "Start opened no encoding window"
for _ in $(seq 300); do
    xdotool search --onlyvisible --name '^Encoding$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^Encoding$' >/dev/null 2>&1 &&
    fail "the encoding window stayed open"
xdotool windowfocus --sync "$main"
xdotool key alt+F4
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not close"
pid=

"$cli" --profile "$profile" encode "$work/wav/" --out "$work/cli/" --yes --no-progress >/dev/null
count=0
for mp3 in "$work/cli"/*.mp3; do
    name=$(basename "$mp3")
    [ -f "$work/gui/$name" ] || fail "the desktop program wrote no $name"
    cmp -s "$mp3" "$work/gui/$name" || fail "$name differs from the command line's"
    count=$((count + 1))
done
[ "$count" -eq 3 ] || fail "expected 3 MP3 files, the command line wrote $count"
[ "$(ls "$work/gui"/*.mp3 | wc -l)" -eq 3 ] || fail "the desktop program wrote other MP3 files"
playlists=("$work/cli"/*.m3u)
[ -f "${playlists[0]}" ] || fail "the command line wrote no playlist"
gui_playlist=$work/gui/$(basename "${playlists[0]}")
[ -f "$gui_playlist" ] || fail "the desktop program wrote no playlist $(basename "$gui_playlist")"
diff <(sed "s|$work/cli/|DIR/|" "${playlists[0]}") <(sed "s|$work/gui/|DIR/|" "$gui_playlist") ||
    fail "the playlists differ"
echo "3 MP3 files and the playlist as the command line writes them"
