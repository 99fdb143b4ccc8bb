// Address book with 10 000 records: search for the last record, delete the
// first one. Prints the median of several runs in milliseconds.
//
//   bench_adressbuch [runs]

#include "addressbook/AdressBuch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace varnek;
using Feld = AdressDatensatz::Feld;

namespace
{

constexpr int kSaetze = 10000;

AdressDatensatz satz(int i)
{
    AdressDatensatz s;
    s.setText(Feld::Nummer, QStringLiteral("V-%1").arg(i));
    s.setText(Feld::Komentar, QString::fromUtf8("Kontakt Nummer %1 Müller").arg(i));
    s.setText(Feld::Webadresse, QStringLiteral("www.kontakt%1.de").arg(i));
    s.setText(Feld::Bildpfad, QStringLiteral("C:\\bilder\\%1.jpg").arg(i));
    return s;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 11;

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    {
        QByteArray alles;
        alles.reserve(qsizetype(kSaetze) * AdressBuch::Satzlaenge);
        for (int i = 1; i <= kSaetze; ++i)
            alles += satz(i).bytes();
        QFile f(dir.filePath(AdressBuch::DateiName));
        if (!f.open(QIODevice::WriteOnly) || f.write(alles) != alles.size())
            return 1;
    }

    AdressBuch buch(dir.path());
    if (!buch.oeffnen())
        return 1;

    const QString gesucht = satz(kSaetze).text(Feld::Komentar).toLower();
    std::vector<double> suchen;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const auto treffer = buch.satzSuchen(SuchFeld::Komentar, gesucht);
        suchen.push_back(t.nsecsElapsed() / 1e6);
        if (treffer != kSaetze) {
            std::fprintf(stderr, "search found the wrong record\n");
            return 1;
        }
    }

    std::vector<double> loeschen;
    for (int r = 0; r < runs; ++r) {
        buch.setAktuellerSatz(1);
        QElapsedTimer t;
        t.start();
        const Ergebnis ok = buch.satzLoeschen();
        loeschen.push_back(t.nsecsElapsed() / 1e6);
        if (!ok) {
            std::fprintf(stderr, "delete failed: %s\n", qPrintable(ok.grund()));
            return 1;
        }
        // Back to 10 000 records for the next run (not timed).
        if (!buch.satzSchreiben(buch.anzahlSaetze() + 1, satz(kSaetze + r + 1)) || !buch.oeffnen())
            return 1;
    }

    std::printf("records: %d, runs: %d\n", kSaetze, runs);
    std::printf("search last record:  median %.2f ms (min %.2f)\n", median(suchen),
                *std::min_element(suchen.begin(), suchen.end()));
    std::printf("delete first record: median %.2f ms (min %.2f)\n", median(loeschen),
                *std::min_element(loeschen.begin(), loeschen.end()));
    return 0;
}
