"""Walks the accessible tree of the running varnek through AT-SPI.

Run by zugaenglichkeit.sh on a private X display and session bus. Opens each
window by its keys as a user does (xdotool), and checks in each:
- every control that can take the focus has a name with letters in it
  (its caption without "&", or a name taken from its hint) and no "&";
- every enabled control on screen is reached by Tab;
- a message box comes up as an alert that names its text.
Prints "ok: ..." per step and "FAIL: ..." for each fault; exit 1 on a fault.
"""

import os
import re
import subprocess
import sys
import time

import pyatspi

FEHLER = []

# Roles of controls a user works; their children (list items, the editor
# inside a combo box, scroll bars) are parts of them.
STEUERELEMENTE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_PAGE_TAB_LIST, pyatspi.ROLE_LIST_BOX,
}
TEILE_VON = {pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_MENU_BAR, pyatspi.ROLE_MENU,
             pyatspi.ROLE_POPUP_MENU, pyatspi.ROLE_SCROLL_BAR}


def fehler(text):
    FEHLER.append(text)
    print("FAIL: " + text, flush=True)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=False, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def taste(*keys):
    xdo("key", "--delay", "80", *keys)
    time.sleep(0.4)


def warte(bedingung, sekunden=10.0):
    ende = time.time() + sekunden
    while time.time() < ende:
        try:
            wert = bedingung()
        except Exception:  # the tree changes while it is read
            wert = None
        if wert:
            return wert
        time.sleep(0.2)
    return None


def programm():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name == "varnek":
            return a
    return None


def fenster(titel):
    """The top-level window of the program whose title matches."""
    app = programm()
    if app is None:
        return None
    for i in range(app.childCount):
        f = app.getChildAtIndex(i)
        if f is not None and re.search(titel, f.name or "") and \
                f.getState().contains(pyatspi.STATE_SHOWING):
            return f
    return None


def steuerelemente(obj, teil=False):
    """The controls in the tree below obj (not their parts)."""
    gefunden = []
    for i in range(obj.childCount):
        k = obj.getChildAtIndex(i)
        if k is None:
            continue
        rolle = k.getRole()
        if rolle in STEUERELEMENTE and not teil:
            gefunden.append(k)
        gefunden += steuerelemente(k, teil or rolle in TEILE_VON or rolle in STEUERELEMENTE)
    return gefunden


def pfad(obj):
    teile = []
    while obj is not None and obj.getRole() != pyatspi.ROLE_APPLICATION:
        teile.append("%s %r" % (obj.getRoleName(), obj.name))
        obj = obj.parent
    return " < ".join(teile[:3])


def zustand(obj, *states):
    s = obj.getState()
    return all(s.contains(x) for x in states)


def beschriftet(k):
    """The text of the labels that name k (its labelled-by relation)."""
    texte = []
    for r in k.getRelationSet():
        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(r.getNTargets()):
                texte.append(r.getTarget(i).name or "")
    return " ".join(texte)


def pruefe_namen(titel, f):
    alle = [k for k in steuerelemente(f) if zustand(k, pyatspi.STATE_FOCUSABLE)]
    ohne = 0
    for k in alle:
        name = k.name or ""
        if k.getRole() == pyatspi.ROLE_COMBO_BOX:
            # Qt on Linux gives a combo box its current text as its name; a
            # screen reader names it by its label or its description.
            name = (beschriftet(k) + " " + (k.description or "")).strip()
        if not re.search(r"\w", name) or re.search(r"(^|[^&])&([^&]|$)", name):
            fehler("%s: control without a proper name: %s" % (titel, pfad(k)))
            ohne += 1
    print("ok: %s: %d controls, %d named" % (titel, len(alle), len(alle) - ohne), flush=True)
    return alle


def fokussiert(kandidaten):
    for k in kandidaten:
        try:
            if zustand(k, pyatspi.STATE_FOCUSED):
                return k
        except Exception:
            pass
    return None


def rechteck(obj):
    e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def im_fenster(k, f):
    """Seen in the window: what the window's size cuts off is not."""
    x, y, b, h = rechteck(k)
    fx, fy, fb, fh = rechteck(f)
    mx, my = x + b // 2, y + h // 2
    return b > 0 and h > 0 and fx <= mx < fx + fb and fy <= my < fy + fh


def fokus(titel):
    """Brings the window to the front with the keyboard in it, as a click would."""
    w = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", titel],
                       capture_output=True, text=True).stdout.split()
    if not w:
        return False
    if os.environ.get("VARNEK_WM"):
        xdo("windowactivate", "--sync", w[-1])
    else:
        xdo("windowraise", w[-1])
        xdo("windowfocus", "--sync", w[-1])
    time.sleep(0.4)
    return True


def pruefe_tab(titel, f, alle):
    ziele = [k for k in alle
             if zustand(k, pyatspi.STATE_ENABLED, pyatspi.STATE_SHOWING, pyatspi.STATE_VISIBLE)
             and im_fenster(k, f)]
    if not fokus(titel):
        fehler("%s: cannot focus the window" % titel)
    erreicht = set()
    for _ in range(len(ziele) + 4):
        xdo("key", "Tab")
        time.sleep(0.25)
        k = fokussiert(ziele)
        if k is None:
            continue
        erreicht.add(ziele.index(k))
        if k.getRole() == pyatspi.ROLE_RADIO_BUTTON:
            # A group of option buttons is one Tab stop; the arrow keys go
            # through its buttons, as on every desktop.
            gruppe = [o for o in ziele
                      if o.getRole() == pyatspi.ROLE_RADIO_BUTTON and o.parent == k.parent]
            for pfeil in ["Down"] * len(gruppe) + ["Up"] * len(gruppe):
                xdo("key", pfeil)
                time.sleep(0.15)
                r = fokussiert(ziele)
                if r is None or r.getRole() != pyatspi.ROLE_RADIO_BUTTON:
                    break
                erreicht.add(ziele.index(r))
                if all(ziele.index(o) in erreicht for o in gruppe):
                    break
    for i, k in enumerate(ziele):
        if i not in erreicht:
            fehler("%s: Tab never reaches %s" % (titel, pfad(k)))
    print("ok: %s: Tab reaches %d of %d enabled controls on screen"
          % (titel, len(erreicht), len(ziele)), flush=True)


# Controls whose description must be their hint text, by window and name.
BESCHREIBUNGEN = {
    "Achtung ein Gast hat geklingelt": {
        "lade": "Lade-Klingelbuch!",
        "OK": "OK Fenster zu!",
        "Klingeln bis Antwort": "Klingeln bis Antwort: alle 10 Sekunden",
        "Klingel Intervall Ein": "Klingel Intervall ein und aus!",
    },
    "Varnek-5-VX": {
        "Kontakt": "Kontakt herstellen!",
        "Play": "Play:",
        "Sende-Textfeld:": "Textfeld mit Enter wird ihr Text",
    },
    "^Eintr|^Adressen": {">> Nächster": "Nächster-Eintrag"},
    "^Hilfe-Fenster$": {
        "Den Hilfetext automatisch vorlesen lassen": "Den Hilfetext automatisch vorlesen"},
}


def pruefe_beschreibungen(titel, alle):
    erwartet = BESCHREIBUNGEN.get(titel, {})
    gesehen = {}
    for k in alle:
        gesehen.setdefault(k.name or "", k.description or "")
    for name, anfang in erwartet.items():
        if name not in gesehen:
            fehler("%s: no control named %r (names: %r)" % (titel, name, sorted(gesehen)))
        elif not gesehen[name].startswith(anfang):
            fehler("%s: %r is described as %r, not by its hint %r"
                   % (titel, name, gesehen[name], anfang))
    beschrieben = sum(1 for k in alle if k.description)
    print("ok: %s: %d of %d controls described" % (titel, beschrieben, len(alle)), flush=True)


def pruefe_fenster(titel, oeffnen=None, tab=True):
    if oeffnen:
        oeffnen()
    f = warte(lambda: fenster(titel))
    if f is None:
        fehler("window %r did not come up" % titel)
        return None
    time.sleep(0.5)
    alle = pruefe_namen(titel, f)
    pruefe_beschreibungen(titel, alle)
    if tab:
        pruefe_tab(titel, f, alle)
    return f


def schliessen(titel):
    fokus(titel)
    taste("Escape")
    if not warte(lambda: fenster(titel) is None, 5):
        fehler("window %r did not close on Esc" % titel)


def pruefe_meldung(oeffnen, text):
    """A message box comes up as an alert with its text."""
    oeffnen()

    def alarm():
        app = programm()
        for i in range(app.childCount):
            f = app.getChildAtIndex(i)
            if f is not None and f.getRole() == pyatspi.ROLE_ALERT and \
                    zustand(f, pyatspi.STATE_SHOWING):
                return f
        return None

    box = warte(alarm)
    if box is None:
        fehler("no alert for the message box %r" % text)
        return
    texte = [box.name or "", box.description or ""]
    for i in range(box.childCount):
        k = box.getChildAtIndex(i)
        if k is not None:
            texte.append(k.name or "")
    if not any(text in t for t in texte):
        fehler("the alert does not name %r: %r" % (text, texte))
    pruefe_namen("message box", box)
    taste("Return")
    if not warte(lambda: alarm() is None, 5):
        fehler("message box did not close on Enter")
    print("ok: message box %r is an alert" % text, flush=True)


def main():
    if not warte(programm, 30):
        fehler("varnek does not show on the accessibility bus")
        return 1
    haupt = "Varnek-5-VX"

    def zum_hauptfenster():
        fokus(haupt)

    zum_hauptfenster()
    pruefe_fenster(haupt)

    def oeffne(*keys):
        def f():
            zum_hauptfenster()
            taste(*keys)
        return f

    for titel, keys in (("^Hilfe-Fenster$", ("F1",)),
                        ("Achtung ein Gast hat geklingelt", ("F12",)),
                        ("^Bildschirm-Fotoapparat$", ("F7",)),
                        ("^Eintr|^Adressen", ("alt+d", "Right", "Right", "Right", "Right",
                                              "Right", "Right", "Return"))):
        if pruefe_fenster(titel, oeffne(*keys)) is not None:
            schliessen(titel)

    # The contact window at full width shows its photo column; enlarged
    # further, the remote browser below.
    zum_hauptfenster()
    taste("F11")
    pruefe_fenster(haupt)
    taste("F11")
    w = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", haupt],
                       capture_output=True, text=True).stdout.split()
    if w:
        xdo("windowsize", "--sync", w[-1], "1270", "1000")
        time.sleep(0.8)
        pruefe_fenster(haupt)

    pruefe_meldung(oeffne("ctrl+m", "a", "Return"),
                   "Sie haben keine Empfänger Adresse angegeben!")
    return 1 if FEHLER else 0


if __name__ == "__main__":
    sys.exit(main())
