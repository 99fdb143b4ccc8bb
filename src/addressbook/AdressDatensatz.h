#pragma once

#include <QByteArray>
#include <QString>

namespace varnek
{

// One address record as it lies in "Adress.PRE": twelve fixed-width text
// fields, 870 bytes, Windows-1252, one byte per character, no separators.
//
// The record keeps its bytes as they are, so fields that are never shown
// (Reserve1..Reserve8) go back to disk byte for byte as they were read.
class AdressDatensatz
{
  public:
    enum class Feld {
        Nummer,     //  60 bytes at   0
        Komentar,   //  60 bytes at  60
        Reserve1,   // 200 bytes at 120
        Reserve2,   //  60 bytes at 320
        Reserve3,   //  60 bytes at 380
        Reserve4,   //  60 bytes at 440
        Reserve5,   //  60 bytes at 500
        Reserve6,   //  60 bytes at 560
        Reserve7,   //  60 bytes at 620
        Reserve8,   //  60 bytes at 680
        Webadresse, //  60 bytes at 740
        Bildpfad,   //  70 bytes at 800
    };
    static constexpr int Satzlaenge = 870;

    static int breite(Feld feld);
    static int versatz(Feld feld);

    // All fields blank.
    AdressDatensatz();

    // Takes a record from disk. Fewer than 870 bytes (a record cut short by
    // the end of the file) are filled up with blanks; more are cut.
    static AdressDatensatz fromBytes(const QByteArray &bytes);
    // Exactly 870 bytes.
    const QByteArray &bytes() const { return bytes_; }

    // Stores a text: left-aligned, padded with blanks, cut to the field's
    // width without warning. Characters outside Windows-1252 become '?'.
    void setText(Feld feld, const QString &text);
    // The shown form: decoded, leading and trailing blanks removed. Zero
    // bytes count as blanks (files written elsewhere may hold them).
    QString text(Feld feld) const;

    // The field's bytes as they are (always its full width).
    QByteArray raw(Feld feld) const;
    // Sets the field's bytes: padded with blanks or cut to its width.
    void setRaw(Feld feld, const QByteArray &bytes);

    // The shown form of a field taken straight from file bytes (for scans
    // that do not want a whole record).
    static QString shownText(const char *bytes, int length);

    friend bool operator==(const AdressDatensatz &a, const AdressDatensatz &b)
    {
        return a.bytes_ == b.bytes_;
    }

  private:
    QByteArray bytes_;
};

} // namespace varnek
