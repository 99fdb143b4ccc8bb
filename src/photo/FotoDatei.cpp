#include "photo/FotoDatei.h"

#include "platform/AnsiText.h"

namespace varnek::foto
{

int &speichermodus()
{
    static int modus = Fragen;
    return modus;
}

QString vorschlag(const QDateTime &zeit)
{
    return zeit.toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".bmp");
}

QString datei(int modus, const QString &programmOrdner)
{
    switch (modus) {
    case GastBild:
        return programmOrdner + QStringLiteral("/Gast.bmp");
    case FotoBild:
        return programmOrdner + QStringLiteral("/Foto.bmp");
    default:
        return QString();
    }
}

bool schreibe(const QString &pfad, const QByteArray &bmp, QString *fehler)
{
    if (bmp.isEmpty()) {
        if (fehler)
            *fehler = QStringLiteral("no picture");
        return false;
    }
    return ansi::writeFile(pfad, bmp, fehler);
}

} // namespace varnek::foto
