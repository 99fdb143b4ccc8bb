#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

class QPrinter;

namespace varnek::eintragdruck
{

// What goes on the page: the photo as the picture box shows it and the
// texts of the fields as they stand (edits not yet saved included).
struct Eintrag {
    QPixmap bild;    // empty: no picture
    QSize bildTwips; // size of the picture box
    QString label5;  // "V-Nr:"
    QString nummer;
    QString komentar;
    QString webadresse;
};

// Draws the entry on the printer's current page: the picture at the top
// left, 20 twips down, in the picture box's own size (the part of the
// picture the box shows); then, from the top, ten empty lines, "V-Nr:" and
// the number, the comment, an empty line, the web address, two empty lines.
// A line wider than the page goes on in the next line.
// Font 13 pt, bold, with kerning and a transparent background, no extra
// letter spacing.
// False when the page could not be started.
bool zeichne(QPrinter &printer, const Eintrag &eintrag);

enum class Druck { Gedruckt, KeinDrucker, Fehlgeschlagen };

// Prints the entry as one document on the default printer, or into the PDF
// file set below.
Druck drucke(const Eintrag &eintrag);

// Tests and scripted runs: print into this PDF file instead of the default
// printer; empty to use the default printer again.
void setAusgabeDatei(const QString &pdf);

} // namespace varnek::eintragdruck
