"""The real wavsmith on a virtual display: its file list holds a folder of WAV files,
"Get info from FreeDB" looks them up on a loopback CDDB server, the album is selected in
the FreeDB editor, the file list then names the tracks after it, and Start encodes them
into MP3 files with those names and tags. Every control is found by its accessible name,
as a screen reader finds it."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

TITLES = ["Opening Theme", "Second Movement", "Grand Finale"]


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        try:
            found = probe()
        except Exception:  # the tree changes under our feet while windows come and go
            found = None
        # An accessible object without children counts as false: test for None.
        if found is not None and found is not False:
            return found
        time.sleep(0.2)
    raise Failure("timed out waiting for " + what)


def find(node, predicate, depth=0):
    if node is None or depth > 40:
        return None
    if predicate(node):
        return node
    for child in node:
        found = find(child, predicate, depth + 1)
        if found is not None:
            return found
    return None


def named(role, name):
    return lambda node: node.getRoleName() == role and node.name == name


def cell_texts(table):
    return [child.name for child in table if child.getRoleName() == "table cell"]


def act(node, names):
    """Runs the first of the node's actions whose name is given. An action that opens a
    modal window answers only once that window closes, so the answer is not waited for."""
    action = node.queryAction()
    for index in range(action.nActions):
        if action.getName(index) in names:
            pyatspi.setTimeout(800, 15000)
            try:
                action.doAction(index)
            except Exception:
                pass
            finally:
                pyatspi.setTimeout(25000, 15000)
            return
    raise Failure("no action %s on %s" % (names, node.name))


def press(node):
    act(node, ("Press", "press", "click"))


def is_enabled(node):
    return node.getState().contains(pyatspi.STATE_ENABLED)


def find_program():
    desktop = pyatspi.Registry.getDesktop(0)
    # Nothing here runs the event loop that would tell the cache of a new application.
    desktop.clearCache()
    return find(desktop, lambda node: node.getRoleName() == "application" and
                node.name == "Wavsmith")


def start(program, env):
    """Starts the program; a start that finds no display (a virtual display that is still
    coming up on a busy machine) is tried again."""
    for attempt in range(3):
        app = subprocess.Popen([program], env=env)
        try:
            app.wait(timeout=3)
        except subprocess.TimeoutExpired:
            return app
        time.sleep(1 + attempt)
    raise Failure("the program does not start: %d" % app.returncode)


def id3v1(path):
    with open(path, "rb") as f:
        f.seek(-128, os.SEEK_END)
        tag = f.read(128)
    if tag[:3] != b"TAG":
        raise Failure("no ID3v1 tag in " + path)
    field = lambda start, end: tag[start:end].rstrip(b"\0 ").decode("latin-1")
    return field(3, 33), field(33, 63), field(63, 93)


def check_encoded(wavsmith, folder):
    """Start encodes the list; the encoding window closes by itself when it is done."""
    press(find(wavsmith, named("push button", "Start")))
    mp3s = lambda: sorted(name for name in os.listdir(folder) if name.endswith(".mp3"))
    wait_for("three MP3 files", lambda: len(mp3s()) == 3 and
             find(wavsmith, named("dialog", "Encoding")) is None, timeout=60)
    for name, title in zip(mp3s(), TITLES):
        if title not in name:
            raise Failure("%s is not named after %s" % (name, title))
        tag = id3v1(os.path.join(folder, name))
        if tag != (title, "E2E Artist", "E2E Album"):
            raise Failure("the tag of %s reads %r" % (name, tag))


def run(fixture_path, program, home):
    fixture = subprocess.Popen([fixture_path, home], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, text=True)
    app = None
    try:
        ready = fixture.stdout.readline().split()
        if len(ready) != 2 or ready[0] != "READY":
            raise Failure("the fixture did not start: %r" % ready)
        disc_id = ready[1]
        os.mkdir(os.path.join(home, "mp3"))
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=runtime, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_QPA_PLATFORM="xcb")
        app = start(program, env)
        wavsmith = wait_for("the program", find_program)
        files = wait_for("the file list", lambda: find(wavsmith, named("tree", "File List")))
        wait_for("three WAV files", lambda: "track3.wav" in cell_texts(files))

        press(wait_for("the FreeDB button", lambda: find(wavsmith, named("push button", "FreeDB"))))
        editor = wait_for("the editor", lambda: find(wavsmith, named("dialog", "FreeDB Editor")))
        status = find(editor, lambda node: node.getRoleName() == "label" and
                      node.description == "Status")
        wait_for("the lookup", lambda: status.name.startswith("Done."))
        if status.name != "Done. 2 album(s) found, 2 retrieved.":
            raise Failure("lookup ended with: " + status.name)

        albums = find(editor, named("tree", "Albums")).queryTable()
        rows = [albums.getAccessibleAt(row, 0).name for row in range(albums.nRows)]
        albums.addRowSelection(rows.index("E2E Album"))
        select = find(editor, named("push button", "Select"))
        wait_for("Select to be enabled", lambda: is_enabled(select))
        tracks = find(editor, named("tree", "Tracks"))
        wait_for("the album's tracks", lambda: TITLES[2] in cell_texts(tracks))
        press(select)
        wait_for("the editor to close",
                 lambda: find(wavsmith, named("dialog", "FreeDB Editor")) is None)

        shown = wait_for("the titles in the file list",
                         lambda: all(t in cell_texts(files) for t in TITLES) and cell_texts(files))
        for title in TITLES:
            if not any(title in text and text.endswith(".mp3") for text in shown):
                raise Failure("no MP3 name holds " + title + ": %s" % shown)

        check_encoded(wavsmith, os.path.join(home, "mp3"))

        press(find(wavsmith, named("push button", "Exit")))
        if app.wait(timeout=30) != 0:
            raise Failure("the program ended with %d" % app.returncode)
        with open(os.path.join(home, ".config", "Orvandel", "CDPLAYER.INI"), encoding="utf-8") as f:
            cache = f.read()
        section = cache[cache.find("[%s]" % disc_id):]
        for line in ["title=E2E Album", "artist=E2E Artist", "0=Opening Theme", "2=Grand Finale"]:
            if line not in section:
                raise Failure("the selected album is not cached: %r missing" % line)
        print("the album was found, selected, applied, encoded and cached")
        return 0
    finally:
        if app is not None and app.poll() is None:
            app.kill()
            app.wait()
        fixture.stdin.close()
        fixture.wait()


def main():
    fixture_path, program = sys.argv[1:3]
    home = tempfile.mkdtemp(prefix="wavsmith-e2e-")
    try:
        return run(fixture_path, program, home)
    except Failure as failure:
        print("FAILED:", failure)
        return 1
    finally:
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
