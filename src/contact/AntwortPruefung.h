#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>

// Whether an HTTP answer to the poll of a message file is a message: a pure
// decision on what arrived (status, header lines, body), without a toolkit.
namespace varnek
{

using KopfZeilen = QList<QPair<QByteArray, QByteArray>>;

enum class AntwortArt {
    Nachricht,      // a whole 2xx answer in plain text: read it
    Ungueltig,      // 3xx/4xx, a refused redirect, an HTML page, a compressed
                    // or binary body: "Adresse ist nicht gültig!"
    Fehlgeschlagen, // no whole answer, an interim 1xx handed back as final, a
                    // 5xx: nothing changes
    Unveraendert,   // 304: nothing changes, nothing is read again
};

struct HttpAntwort {
    bool vollstaendig = false; // a whole answer arrived
    int status = 0;
    KopfZeilen kopf; // header lines as sent, names in any case
    QByteArray body;
    bool umleitungAbgelehnt = false; // a redirect that was not followed
};

AntwortArt beurteileAntwort(const HttpAntwort &antwort);

// The value of the first header line of that name (any case), or a null array.
QByteArray kopfWert(const KopfZeilen &kopf, const QByteArray &name);

// Whether an answer is an HTML page: Content-Type text/html, or a body that
// begins (after blanks and a UTF-8 byte order mark) with "<!DOCTYPE html" or
// "<html", any case.
bool istHtml(const QByteArray &contentType, const QByteArray &body);

// Whether the body is coded for transfer (Content-Encoding other than
// identity: gzip, deflate, br ...), so its bytes are not the text.
bool istKomprimiert(const QByteArray &contentEncoding);

// An HTTP date ("Wed, 09 Dec 2026 11:03:22 GMT") in UTC; invalid when the
// text is none.
QDateTime httpDatum(const QByteArray &text);

// The validators of a message answer to send with the next poll (ETag and
// Last-Modified as sent, empty when none). They are kept only when the
// answer's Date is at least one second past its Last-Modified: a server
// whose validators count whole seconds (as nginx's do) would otherwise
// answer 304 to a file replaced twice within one second.
struct Validatoren {
    QByteArray etag;
    QByteArray lastModified;
};
Validatoren verlaesslicheValidatoren(const KopfZeilen &kopf);

} // namespace varnek
