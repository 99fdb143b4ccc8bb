#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The contact window's two text procedures and the presence test built on them.
namespace varnek
{

// Replaces every occurrence of `alt` in `text` by `neu`, left to right and
// without overlap; the inserted `neu` is never searched again, so a
// replacement that contains `alt` ends after one pass. Case-sensitive. An
// empty `alt` returns the text unchanged.
QString ZeichenErsetzen(const QString &text, const QString &alt, const QString &neu);

// Whether `code` occurs in `text` (case-sensitive), the question the callers
// ask with ZeichenErsetzen(text, code, ".") != text. An empty code never
// occurs. Unlike that comparison it also finds the code ".".
bool enthaelt(const QString &text, const QString &code);

// A received text without control characters, as it is shown, spoken and
// written to the transcript: NUL, escape sequences (ESC and what belongs to
// it), DEL and the other C0 and C1 characters are removed. Line breaks (CR LF,
// CR, LF), tabs, vertical tabs and form feeds become one blank each, unless
// zeilenBehalten: then CR, LF and tabs stay as they are.
QString ohneSteuerzeichen(const QString &text, bool zeilenBehalten = false);

// What is read aloud of a received text: without control characters, blanks
// and line breaks made single blanks, and without the words framed by "#": a
// word beginning with "#" is left out up to the next word (itself or one
// after it) ending with "#"; a "#" word with no such end is read. Linear in
// the length of the text.
QString sprechbarerText(const QString &text);

// Most words Parsing accepts.
inline constexpr int kMaxWoerter = 501;

// "Zu viele Befehle!": shown when a text has more than kMaxWoerter words.
QString zuVieleBefehleText();

// Splits a text into words at blanks (" " only; line breaks and every other
// character belong to the words). A run of blanks separates once, a leading
// blank gives an empty first word, a trailing blank adds nothing; an empty
// text gives one empty word. nullopt when the text has more than
// kMaxWoerter words.
std::optional<QStringList> Parsing(const QString &text);

} // namespace varnek
