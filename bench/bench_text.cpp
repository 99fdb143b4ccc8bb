// Text procedures and the speakable filter on 50 000-byte received texts:
// the median time of each on each kind of text.
//
//   bench_text [runs=9]

#include "contact/SpeechComponent.h"
#include "contact/TextProzeduren.h"

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace varnek;

namespace
{

constexpr int kBytes = 50000;

QString wiederholt(const QString &stueck)
{
    QString s;
    while (s.size() < kBytes)
        s += stueck;
    s.truncate(kBytes);
    return s;
}

double medianMs(int runs, const std::function<void()> &arbeit)
{
    std::vector<double> zeiten;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer uhr;
        uhr.start();
        arbeit();
        zeiten.push_back(double(uhr.nsecsElapsed()) / 1e6);
    }
    std::sort(zeiten.begin(), zeiten.end());
    return zeiten[zeiten.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    const struct {
        const char *name;
        QString text;
    } texte[] = {
        {"one word", wiederholt(QStringLiteral("x"))},
        {"\"#a \" words", wiederholt(QStringLiteral("#a "))},
        {"\"# \" words", wiederholt(QStringLiteral("# "))},
        {"\"a \" words", wiederholt(QStringLiteral("a "))},
        {"\"#dingdong# \" words", wiederholt(QStringLiteral("#dingdong# "))},
    };
    std::printf("%-22s %12s %12s %12s %12s\n", "50 000 bytes of", "speakable", "Zeichen-",
                "Parsing", "ohneSteuer-");
    std::printf("%-22s %12s %12s %12s %12s\n", "", "", "Ersetzen", "", "zeichen");
    qsizetype senke = 0;
    for (const auto &t : texte) {
        const double s =
            medianMs(runs, [&] { senke += SpeechComponent::speakable(t.text).size(); });
        const double z = medianMs(runs, [&] {
            senke +=
                ZeichenErsetzen(t.text, QStringLiteral("#dingdong#"), QStringLiteral(".")).size();
        });
        const double p = medianMs(runs, [&] { senke += Parsing(t.text).has_value(); });
        const double o = medianMs(runs, [&] { senke += ohneSteuerzeichen(t.text).size(); });
        std::printf("%-22s %9.3f ms %9.3f ms %9.3f ms %9.3f ms\n", t.name, s, z, p, o);
    }
    return senke > 0 ? 0 : 1;
}
