#!/usr/bin/python3
"""A desktop notification service for tests, run on a private session bus
(dbus-run-session). It owns org.freedesktop.Notifications, answers Notify
with a fresh id and appends every call as one JSON line to the log file.

    dbus-run-session -- /usr/bin/python3 benachrichtigungen.py LOG [--markup]

Prints "READY <bus address>" once the name is owned; ends when its standard
input closes.
"""
import json
import os
import sys
import threading

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"


class Dienst(dbus.service.Object):
    def __init__(self, bus, log, markup):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.markup = markup
        self.naechste = 1

    @dbus.service.method(NAME, in_signature="", out_signature="as")
    def GetCapabilities(self):
        return ["body", "body-markup"] if self.markup else ["body"]

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, ersetzt, symbol, titel, text, aktionen, hinweise, ablauf):
        nummer = self.naechste
        self.naechste += 1
        eintrag = {
            "app": str(app), "replaces": int(ersetzt), "icon": str(symbol),
            "summary": str(titel), "body": str(text),
            "actions": [str(a) for a in aktionen],
            "hints": {str(k): str(v) for k, v in hinweise.items()},
            "timeout": int(ablauf), "id": nummer,
        }
        with open(self.log, "a", encoding="utf-8") as f:
            f.write(json.dumps(eintrag, ensure_ascii=False) + "\n")
        return dbus.UInt32(nummer)

    @dbus.service.method(NAME, in_signature="u", out_signature="")
    def CloseNotification(self, nummer):
        pass

    @dbus.service.method(NAME, in_signature="", out_signature="ssss")
    def GetServerInformation(self):
        return ("Testdienst", "varnek", "1", "1.2")


def main():
    log = sys.argv[1]
    markup = "--markup" in sys.argv[2:]
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    dienst = Dienst(bus, log, markup)
    schleife = GLib.MainLoop()

    def warte_auf_ende():
        sys.stdin.read()
        GLib.idle_add(schleife.quit)

    threading.Thread(target=warte_auf_ende, daemon=True).start()
    print("READY " + os.environ["DBUS_SESSION_BUS_ADDRESS"], flush=True)
    schleife.run()
    del name, dienst


if __name__ == "__main__":
    main()
