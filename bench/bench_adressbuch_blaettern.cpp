// Address book window with 10 000 records: page on through 1 000 records
// with "Nächster" (each step saves the shown record, then reads and shows
// the next). Prints the time per step in milliseconds.
//
//   QT_QPA_PLATFORM=offscreen bench_adressbuch_blaettern [runs]

#include "addressbook/AdressBuch.h"
#include "addressbook/ui/frmAdressen.h"
#include "app/Programm.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDir>
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
constexpr int kSchritte = 1000;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    dialogs::setTestMode(true);
    desktop::setTestMode(true);

    QTemporaryDir dir;
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))
        return 1;
    {
        QByteArray alles;
        alles.reserve(qsizetype(kSaetze) * AdressBuch::Satzlaenge);
        for (int i = 1; i <= kSaetze; ++i) {
            AdressDatensatz s;
            s.setText(Feld::Nummer, QStringLiteral("V-%1").arg(i));
            s.setText(Feld::Komentar, QString::fromUtf8("Kontakt Nummer %1 Müller").arg(i));
            s.setText(Feld::Webadresse, QStringLiteral("www.kontakt%1.de").arg(i));
            s.setText(Feld::Bildpfad, QStringLiteral("bilder/%1.bmp").arg(i));
            alles += s.bytes();
        }
        QFile f(AdressBuch::DateiName);
        if (!f.open(QIODevice::WriteOnly) || f.write(alles) != alles.size())
            return 1;
    }

    Einstellungen e;
    e.programmOrdner = dir.path();
    e.stumm = true;
    Programm programm(e);

    std::vector<double> proSchritt;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer offen;
        offen.start();
        frmAdressen *a = programm.adressen();
        a->zeigen();
        const double oeffnen = offen.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < kSchritte; ++i)
            a->naechsterEintrag();
        proSchritt.push_back(t.nsecsElapsed() / 1e6 / kSchritte);
        if (a->buch().aktuellerSatz() != kSchritte + 1 || !dialogs::shown().isEmpty()) {
            std::fprintf(stderr, "paging went wrong\n");
            return 1;
        }
        std::printf("run %d: open %.1f ms, %.3f ms per step\n", r + 1, oeffnen, proSchritt.back());
        a->schliesseBuch();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("records: %d, steps: %d, runs: %d\n", kSaetze, kSchritte, runs);
    std::printf("next with save: median %.3f ms per step (min %.3f)\n", median(proSchritt),
                *std::min_element(proSchritt.begin(), proSchritt.end()));
    return 0;
}
