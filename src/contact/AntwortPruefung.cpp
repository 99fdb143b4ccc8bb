#include "contact/AntwortPruefung.h"

#include <QLocale>

namespace varnek
{

QByteArray kopfWert(const KopfZeilen &kopf, const QByteArray &name)
{
    for (const auto &[schluessel, wert] : kopf) {
        if (schluessel.trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return wert;
    }
    return QByteArray();
}

bool istHtml(const QByteArray &contentType, const QByteArray &body)
{
    const QByteArray art = contentType.split(';').value(0).trimmed().toLower();
    if (art == "text/html")
        return true;
    qsizetype i = 0;
    if (body.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < body.size() && (body.at(i) == ' ' || body.at(i) == '\t' || body.at(i) == '\r' ||
                               body.at(i) == '\n' || body.at(i) == '\f' || body.at(i) == '\v'))
        ++i;
    const QByteArray anfang = body.mid(i, 14).toLower();
    return anfang.startsWith("<!doctype html") || anfang.startsWith("<html");
}

bool istKomprimiert(const QByteArray &contentEncoding)
{
    for (const QByteArray &art : contentEncoding.split(',')) {
        const QByteArray a = art.trimmed();
        if (!a.isEmpty() && a.compare("identity", Qt::CaseInsensitive) != 0)
            return true;
    }
    return false;
}

QDateTime httpDatum(const QByteArray &text)
{
    QDateTime datum = QLocale::c().toDateTime(QString::fromLatin1(text.trimmed()),
                                              QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!datum.isValid())
        return {};
    datum.setTimeSpec(Qt::UTC);
    return datum;
}

Validatoren verlaesslicheValidatoren(const KopfZeilen &kopf)
{
    Validatoren v{kopfWert(kopf, "ETag").trimmed(), kopfWert(kopf, "Last-Modified").trimmed()};
    const QDateTime geaendert = httpDatum(v.lastModified);
    const QDateTime datum = httpDatum(kopfWert(kopf, "Date"));
    if (geaendert.isValid() && datum.isValid() && geaendert.secsTo(datum) < 1)
        return {};
    return v;
}

AntwortArt beurteileAntwort(const HttpAntwort &antwort)
{
    const int status = antwort.status;
    if (!antwort.vollstaendig || status < 200 || status >= 500)
        return AntwortArt::Fehlgeschlagen;
    if (status == 304)
        return AntwortArt::Unveraendert;
    if (antwort.umleitungAbgelehnt || status >= 300)
        return AntwortArt::Ungueltig;
    if (istKomprimiert(kopfWert(antwort.kopf, "Content-Encoding")) ||
        istHtml(kopfWert(antwort.kopf, "Content-Type"), antwort.body) ||
        antwort.body.contains('\0'))
        return AntwortArt::Ungueltig;
    return AntwortArt::Nachricht;
}

} // namespace varnek
