"""Drives the real wavsmith through its accessible names: see DesktopFileList.sh."""
import math
import os
import struct
import subprocess
import sys
import time

import pyatspi

wavsmith, work = sys.argv[1], sys.argv[2]


def fail(text):
    print("FAILED: " + text, file=sys.stderr)
    sys.exit(1)


def write_wave(path, seconds):
    frames = int(8000 * seconds)
    data = b"".join(struct.pack("<h", int(3000 * math.sin(i / 9))) for i in range(frames))
    head = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVEfmt "
    head += struct.pack("<IHHIIHH", 16, 1, 1, 8000, 16000, 2, 16) + b"data"
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as file:
        file.write(head + struct.pack("<I", len(data)) + data)


def wait_for(what, find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail(what)


def descendant(root, role, name):
    """The first accessible below `root` with this role and name, or None."""
    pending = [root]
    while pending:
        node = pending.pop(0)
        try:
            if node.getRoleName() == role and node.name == name:
                return node
            pending.extend(c for c in node if c is not None)
        except Exception:  # a window may go while it is walked
            continue
    return None


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    # Nothing here runs the event loop that would tell the cache of a new application.
    desktop.clearCache()
    for app in desktop:
        if app is not None and app.name == "Wavsmith":
            return app
    return None


def window(role, name):
    app = application()
    return app and next((w for w in app if w.getRoleName() == role and w.name == name), None)


def press(root, role, name):
    """Presses a control that opens no modal window: the bus waits for the action's end."""
    control = wait_for(f"no {role} {name!r}", lambda: descendant(root, role, name))
    control.queryAction().doAction(0)


def rows(table_node):
    table = table_node.queryTable()
    return [[table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
            for r in range(table.nRows)]


def keys(window_name, *names):
    """Types keys into a window, for what opens a modal window."""
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                            f"^{window_name}$"], capture_output=True, text=True, timeout=20)
    subprocess.run(["xdotool", "windowfocus", "--sync", found.stdout.split()[0]], check=True)
    for name in names:
        subprocess.run(["xdotool", "key", name], check=True)
        time.sleep(0.7)


write_wave(f"{work}/album/01 Intro.wav", 2)
write_wave(f"{work}/album/02 Road.wav", 1)
write_wave(f"{work}/album/Disc 2/03 Finale.wav", 3)
with open(f"{work}/album/notes.wav", "wb") as broken:
    broken.write(b"RIFF\x10\x00\x00\x00WAVEjunk")
os.makedirs(f"{work}/start")
os.makedirs(f"{work}/config/Orvandel")
profile = f"{work}/config/Orvandel/Wavsmith.ini"
with open(profile, "w") as ini:
    ini.write(f"[settings_main]\nInputDir={work}/start/\nOutputDir={work}/out/\n")

program = subprocess.Popen([wavsmith])
try:
    subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Wavsmith 1.65$"],
                   capture_output=True, timeout=30)
    main = wait_for("the main window did not appear", lambda: window("frame", "Wavsmith 1.65"))
    file_list = wait_for("no list named File List", lambda: descendant(main, "tree", "File List"))
    if rows(file_list):
        fail("the list of the empty source folder is not empty")

    keys("Wavsmith 1.65", "Insert")
    browser = wait_for("Open Dir opened no folder browser",
                       lambda: window("dialog", "Open Source Directory"))
    # From the source folder up to the work folder and down to its first subfolder.
    keys("Open Source Directory", "Left", "Right")
    folders = descendant(browser, "tree", "Select a directory where WAV files for converting "
                                          "are stored:")
    # The selected row's cells, the folder's name first.
    chosen = [c.name for c in folders if c.getState().contains(pyatspi.STATE_SELECTED)][:1]
    if chosen != ["album"]:
        fail(f"the keys chose {chosen}")
    press(browser, "check box", "Include subfolders")
    keys("Open Source Directory", "Return")

    skipped = wait_for("no Skip Files window for the refused file",
                       lambda: window("dialog", "Skip Files"))
    refused = rows(descendant(skipped, "table", "Skip Files"))
    if len(refused) != 1 or refused[0][1] != f"{work}/album/notes.wav" or not refused[0][2]:
        fail(f"Skip Files lists {refused}")
    keys("Skip Files", "Return")

    listed = wait_for("the list stayed empty", lambda: rows(file_list))
    expected = [["01 Intro.wav", "1", "0:02.00"], ["02 Road.wav", "2", "0:01.00"],
                ["03 Finale.wav", "3", "0:03.00"]]
    if [row[:3] for row in listed] != expected:
        fail(f"the list shows {listed}")
    if listed[2][8] != f"{work}/album/Disc 2/":
        fail(f"the subfolder's track lists the folder {listed[2][8]!r}")
    if not descendant(main, "label", "Play time: 00:06"):
        fail("the status bar does not total the play time")

    keys("Wavsmith 1.65", "alt+F4")
    program.wait(timeout=20)
finally:
    if program.poll() is None:
        program.kill()

with open(profile) as ini:
    written = ini.read()
for line in (f"InputDir={work}/album/", "OpenDirSubfolders=1", "ColumnOrderArray=123456789"):
    if line not in written:
        fail(f"the profile lacks {line}:\n{written}")
print("Open Dir added the folder with its subfolder; the list and Skip Files read as expected")
