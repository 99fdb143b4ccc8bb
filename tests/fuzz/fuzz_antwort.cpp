// The decision "answer -> message or not" on any status, header lines and
// body. The input is one answer: a first line with the status (a number),
// header lines "Name: value" up to an empty line, then the body; a first
// byte with its low bit set marks the answer as cut short.

#include "FuzzCheck.h"

#include "contact/AntwortPruefung.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace varnek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    HttpAntwort antwort;
    antwort.vollstaendig = (data[0] & 1) == 0;
    antwort.umleitungAbgelehnt = (data[0] & 2) != 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    qsizetype ende = bytes.indexOf("\n\n");
    const QByteArray kopf = ende < 0 ? bytes : bytes.left(ende);
    antwort.body = ende < 0 ? QByteArray() : bytes.mid(ende + 2);
    const QList<QByteArray> zeilen = kopf.split('\n');
    antwort.status = zeilen.value(0).trimmed().toInt();
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const qsizetype doppelpunkt = zeilen.at(i).indexOf(':');
        if (doppelpunkt > 0)
            antwort.kopf.append(
                {zeilen.at(i).left(doppelpunkt), zeilen.at(i).mid(doppelpunkt + 1).trimmed()});
    }

    const AntwortArt art = beurteileAntwort(antwort);
    const int s = antwort.status;
    if (art == AntwortArt::Nachricht) {
        // Only a whole 2xx answer in plain text is read aloud.
        FUZZ_CHECK(antwort.vollstaendig && s >= 200 && s < 300 && !antwort.umleitungAbgelehnt);
        FUZZ_CHECK(!antwort.body.contains('\0'));
        FUZZ_CHECK(!istHtml(kopfWert(antwort.kopf, "Content-Type"), antwort.body));
        FUZZ_CHECK(!istKomprimiert(kopfWert(antwort.kopf, "content-encoding")));
    }
    if (!antwort.vollstaendig || s < 200 || s >= 500)
        FUZZ_CHECK(art == AntwortArt::Fehlgeschlagen);
    FUZZ_CHECK((art == AntwortArt::Unveraendert) == (antwort.vollstaendig && s == 304));
    return 0;
}
