#pragma once

#include <QString>
#include <QStringList>

// Small services shared by the windows that need no window toolkit.
namespace varnek
{

// Exact-match search in a list: the whole item must equal the text, letters
// compared without regard to case. The index of the first such item, or -1.
int FindeListenEintrag(const QStringList &liste, const QString &text);

// True when a text received from a peer may be handed to the desktop as an
// address to open: one http, https or mailto address and nothing else (no
// paths, "file:" addresses, commands or program names).
bool istOeffenbareAdresse(const QString &text);

// A "mailto:" address without its attach and attachment parameters (any
// case, also percent-encoded), which would have a mail program attach a file
// of ours; the other parameters stay as they were. Any other text is
// returned unchanged.
QString ohneMailAnhang(const QString &adresse);

// A control character: C0 (below blank), DEL or C1.
inline bool istSteuerzeichen(QChar c)
{
    return c.category() == QChar::Other_Control;
}

// Text for one status line (a server reply, a step's answer): NUL dropped,
// every other control character a blank, trimmed.
QString bereinigeStatus(const QString &text);

// A host as a URL writes it: an IPv6 address (it has a ':') in brackets.
QString hostFuerUrl(const QString &host);

// Finds a file that is shipped with the program (the description page, the
// icon): beside the program, in the installed share folder, or, for a run
// from the build tree, in the source tree's data folder. "" when not found.
QString findeMitgelieferteDatei(const QString &name);

} // namespace varnek
