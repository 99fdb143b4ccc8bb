#include "addressbook/ui/EintragDruck.h"

#include "platform/ui/Twips.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace varnek::eintragdruck
{

namespace
{

QString &ausgabe()
{
    static QString datei;
    return datei;
}

// Twips (1/1440 inch) in the printer's device units.
qreal aufGeraet(const QPrinter &printer, int twips, bool senkrecht)
{
    const int dpi = senkrecht ? printer.logicalDpiY() : printer.logicalDpiX();
    return twips * qreal(dpi) / 1440.0;
}

} // namespace

void setAusgabeDatei(const QString &pdf)
{
    ausgabe() = pdf;
}

bool zeichne(QPrinter &printer, const Eintrag &e)
{
    QPainter p(&printer);
    if (!p.isActive())
        return false;
    QFont schrift = p.font();
    schrift.setPointSizeF(13);
    schrift.setBold(true);
    schrift.setKerning(true);
    schrift.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    p.setFont(schrift);
    p.setBackgroundMode(Qt::TransparentMode);

    // The picture does not move the print position.
    if (!e.bild.isNull() && e.bildTwips.isValid()) {
        // The box shows the picture unscaled from its top-left corner, at
        // 15 twips a pixel; the same part goes on paper in the same size.
        const QRect quelle = QRect(0, 0, twips(e.bildTwips.width()), twips(e.bildTwips.height()))
                                 .intersected(e.bild.rect());
        const QRectF ziel(0, aufGeraet(printer, 20, true),
                          aufGeraet(printer, inTwips(quelle.width()), false),
                          aufGeraet(printer, inTwips(quelle.height()), true));
        p.drawPixmap(ziel, e.bild, QRectF(quelle));
    }

    const QFontMetricsF fm(schrift, &printer);
    const qreal breite = printer.width();
    qreal y = 0;
    // A line too long for the page goes on below rather than off the paper.
    const int art = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;
    const auto zeile = [&](const QString &text) {
        qreal hoehe = fm.lineSpacing();
        if (!text.isEmpty()) {
            const QRectF platz(0, y, breite, 100 * fm.lineSpacing());
            QRectF belegt;
            p.drawText(platz, art, text, &belegt);
            hoehe = std::max(hoehe, belegt.height());
        }
        y += hoehe;
    };
    for (int i = 0; i < 10; ++i)
        zeile(QString());
    zeile(e.label5 + QLatin1Char(' ') + e.nummer);
    zeile(e.komentar);
    zeile(QString());
    zeile(e.webadresse);
    zeile(QString());
    zeile(QString());
    return p.end();
}

Druck drucke(const Eintrag &eintrag)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!ausgabe().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(ausgabe());
    } else {
        const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
        if (standard.isNull())
            return Druck::KeinDrucker;
        printer.setPrinterName(standard.printerName());
    }
    printer.setDocName(QStringLiteral("Adressen"));
    // Narrow margins, so that a number of 61 digits still fits on the line.
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    if (!printer.isValid())
        return Druck::KeinDrucker;
    return zeichne(printer, eintrag) ? Druck::Gedruckt : Druck::Fehlgeschlagen;
}

} // namespace varnek::eintragdruck
