// ZeichenErsetzen and Parsing on any text: the input is split at its first
// two 0xff bytes into text, the text to replace and its replacement.

#include "FuzzCheck.h"

#include "contact/TextProzeduren.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace varnek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> parts = bytes.split('\xff');
    const QString text = QString::fromUtf8(parts.value(0));
    const QString alt = QString::fromUtf8(parts.value(1));
    const QString neu = QString::fromUtf8(parts.value(2));

    const QString ersetzt = ZeichenErsetzen(text, alt, neu);
    if (alt.isEmpty() || !text.contains(alt)) {
        FUZZ_CHECK(ersetzt == text);
    } else {
        // One pass, no overlap: the text is the pieces between the
        // occurrences, joined again by the replacement.
        FUZZ_CHECK(ersetzt == text.split(alt).join(neu));
    }
    FUZZ_CHECK(ZeichenErsetzen(text, alt, alt) == text);
    FUZZ_CHECK(enthaelt(text, alt) == (!alt.isEmpty() && text.contains(alt)));

    const std::optional<QStringList> woerter = Parsing(text);
    const QStringList erwartet = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const bool vorneLeer = text.startsWith(QLatin1Char(' '));
    const qsizetype anzahl = std::max<qsizetype>(1, erwartet.size() + (vorneLeer ? 1 : 0));
    if (anzahl > kMaxWoerter) {
        FUZZ_CHECK(!woerter);
    } else {
        FUZZ_CHECK(woerter);
        FUZZ_CHECK(woerter->size() == anzahl);
        FUZZ_CHECK(woerter->mid(vorneLeer ? 1 : 0).join(QLatin1Char(' ')) ==
                   erwartet.join(QLatin1Char(' ')));
        for (const QString &w : *woerter)
            FUZZ_CHECK(!w.contains(QLatin1Char(' ')));
    }
    return 0;
}
