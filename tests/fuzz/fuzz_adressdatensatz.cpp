// Records of "Adress.PRE" as they come from disk: any bytes, any length.

#include "FuzzCheck.h"

#include "addressbook/AdressDatensatz.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace varnek;

namespace
{

constexpr AdressDatensatz::Feld kFelder[] = {
    AdressDatensatz::Feld::Nummer,     AdressDatensatz::Feld::Komentar,
    AdressDatensatz::Feld::Reserve1,   AdressDatensatz::Feld::Reserve2,
    AdressDatensatz::Feld::Reserve3,   AdressDatensatz::Feld::Reserve4,
    AdressDatensatz::Feld::Reserve5,   AdressDatensatz::Feld::Reserve6,
    AdressDatensatz::Feld::Reserve7,   AdressDatensatz::Feld::Reserve8,
    AdressDatensatz::Feld::Webadresse, AdressDatensatz::Feld::Bildpfad,
};

void checkRecord(const QByteArray &bytes)
{
    const AdressDatensatz satz = AdressDatensatz::fromBytes(bytes);
    FUZZ_CHECK(satz.bytes().size() == AdressDatensatz::Satzlaenge);
    // What was read is kept byte for byte; a short record is filled with blanks.
    const qsizetype n = std::min<qsizetype>(bytes.size(), AdressDatensatz::Satzlaenge);
    FUZZ_CHECK(satz.bytes().first(n) == bytes.first(n));
    for (qsizetype i = n; i < AdressDatensatz::Satzlaenge; ++i)
        FUZZ_CHECK(satz.bytes().at(i) == ' ');

    for (const AdressDatensatz::Feld feld : kFelder) {
        const QString shown = satz.text(feld);
        const QByteArray raw = satz.raw(feld);
        FUZZ_CHECK(raw.size() == AdressDatensatz::breite(feld));
        FUZZ_CHECK(shown.size() <= AdressDatensatz::breite(feld));
        FUZZ_CHECK(shown == AdressDatensatz::shownText(raw.constData(), int(raw.size())));

        // Storing the shown text again shows the same text, and touches no
        // other field.
        AdressDatensatz kopie = satz;
        kopie.setText(feld, shown);
        FUZZ_CHECK(kopie.bytes().size() == AdressDatensatz::Satzlaenge);
        if (!shown.contains(QChar(QChar::ReplacementCharacter)))
            FUZZ_CHECK(kopie.text(feld) == shown);
        for (const AdressDatensatz::Feld andere : kFelder) {
            if (andere != feld)
                FUZZ_CHECK(kopie.raw(andere) == satz.raw(andere));
        }
        kopie.setRaw(feld, raw);
        FUZZ_CHECK(kopie == satz);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The file in records, the last one possibly cut short.
    for (qsizetype pos = 0; pos < bytes.size() || pos == 0; pos += AdressDatensatz::Satzlaenge)
        checkRecord(bytes.mid(pos, AdressDatensatz::Satzlaenge));
    // Text typed by a user: any characters, any length.
    AdressDatensatz satz;
    const QString text = QString::fromUtf8(bytes);
    for (const AdressDatensatz::Feld feld : kFelder) {
        satz.setText(feld, text);
        FUZZ_CHECK(satz.bytes().size() == AdressDatensatz::Satzlaenge);
        FUZZ_CHECK(satz.text(feld).size() <= AdressDatensatz::breite(feld));
    }
    return 0;
}
