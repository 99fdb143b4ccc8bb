// The speakable filter on any text: what is read aloud holds no control
// characters and no line breaks, is made of the text's own words in their
// order, and never leaves out a word that no "#" frames.

#include "FuzzCheck.h"

#include "contact/TextProzeduren.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace varnek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QString gehoert = sprechbarerText(text);
    FUZZ_CHECK(gehoert == gehoert.simplified());
    for (const QChar c : gehoert)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.category() != QChar::Other_Control);

    // The words heard are a subsequence of the words of the cleaned text.
    const QStringList alle =
        ohneSteuerzeichen(text).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList gehoerte = gehoert.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qsizetype k = 0;
    for (const QString &w : gehoerte) {
        while (k < alle.size() && alle.at(k) != w)
            ++k;
        FUZZ_CHECK(k < alle.size());
        ++k;
    }
    // Without a "#" nothing is left out.
    if (!text.contains(QLatin1Char('#')))
        FUZZ_CHECK(gehoerte == alle);
    return 0;
}
