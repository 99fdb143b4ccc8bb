#!/usr/bin/python3
"""Starts a desktop entry as a desktop does (GIO's launcher reads its Exec
line) and waits until the started program has ended.

    desktop_start.py ENTRY.desktop
"""
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

eintrag = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])
if eintrag is None:
    print("not a desktop entry", file=sys.stderr)
    sys.exit(2)
schleife = GLib.MainLoop()


def gestartet(_info, pid, *_rest):
    GLib.child_watch_add(GLib.PRIORITY_DEFAULT, pid, lambda *_a: schleife.quit())


eintrag.launch_uris_as_manager([], None, GLib.SpawnFlags.DO_NOT_REAP_CHILD, None, None,
                               gestartet, None)
GLib.timeout_add_seconds(10, schleife.quit)
schleife.run()
