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

Ergebnis schreibe(const QString &pfad, const QByteArray &bmp)
{
    if (bmp.isEmpty())
        return Ergebnis::fehler(QStringLiteral("no picture"));
    return ansi::writeFile(pfad, bmp);
}

} // namespace varnek::foto
