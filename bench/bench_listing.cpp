// Remote listing timings.
//
// (1) Parsing plus filtering, sorting and list lines of a 10 000-entry
//     listing, as Unix LIST text and as MLSD text, without any server.
// (2) The same directory fetched from the local server: the raw transfer
//     alone (FtpSitzung::list) and the whole listing (transfer + parse + sort).
//
// Run: bench_listing [entries] [runs] [offline]
//      (BENCH_ACTIVE=1 in the environment: active instead of passive FTP)

#include "contact_extras/RemoteListing.h"
#include "platform/FtpSitzung.h"
#include "support/LocalServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

using namespace varnek;

namespace
{

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double cpuNowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Wall-clock milliseconds of f; *cpu (if given) receives the CPU time this
// process spent, which a busy machine inflates far less than wall time.
double timeMs(const std::function<void()> &f, double *cpu = nullptr)
{
    const double c0 = cpuNowMs();
    QElapsedTimer t;
    t.start();
    f();
    const double wall = double(t.nsecsElapsed()) / 1e6;
    if (cpu)
        *cpu = cpuNowMs() - c0;
    return wall;
}

// Deterministic, varied names: mixed case, blanks, umlauts, some repeated
// when lower-cased, one in eight a directory.
QString entryName(int i)
{
    static const char *const stems[] = {"Gast",   "foto", "Bericht", "notes",
                                        "README", "Kaco", "backup",  "Übersicht"};
    static const char *const exts[] = {".txt", ".bmp", ".TXT", ".log", "", ".tar.gz"};
    const unsigned h = unsigned(i) * 2654435761u;
    QString name = QString::fromUtf8(stems[h % 8]);
    if (h % 3 == 0)
        name += QLatin1Char(' ');
    name += QString::number((h >> 8) % 100000);
    name += QLatin1String(exts[(h >> 4) % 6]);
    return name;
}

template <typename... Args> QByteArray format(const char *fmt, Args... args)
{
    char buf[256];
    const int n = std::snprintf(buf, sizeof buf, fmt, args...);
    return QByteArray(buf, std::clamp(n, 0, int(sizeof buf) - 1));
}

bool isDirIndex(int i)
{
    return (unsigned(i) * 2246822519u) % 8 == 0;
}

QByteArray makeUnixList(int count)
{
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QByteArray out = "total " + QByteArray::number(count * 4) + "\r\n";
    for (int i = 0; i < count; ++i) {
        const bool dir = isDirIndex(i);
        const char *mode = dir ? "drwxr-xr-x" : "-rw-r--r--";
        const qint64 size = dir ? 4096 : (qint64(i) * 7919) % 100000000;
        const QByteArray when =
            i % 2 ? format("%s %2d %02d:%02d", months[i % 12], 1 + i % 28, i % 24, i % 60)
                  : format("%s %2d  %d", months[i % 12], 1 + i % 28, 2000 + i % 24);
        out += format("%s %3d %-8s %-8s %12lld ", mode, dir ? 2 : 1, "varnekdb", "ftp", size);
        out += when + ' ' + entryName(i).toUtf8() + "\r\n";
    }
    return out;
}

QByteArray makeMlsd(int count)
{
    QByteArray out = "type=cdir;perm=flcdmpe;modify=20240301101010; "
                     ".\r\ntype=pdir;perm=flcdmpe;modify=20240301101010; ..\r\n";
    for (int i = 0; i < count; ++i) {
        const bool dir = isDirIndex(i);
        out += format("type=%s;size=%lld;modify=%04d%02d%02d%02d%02d%02d;perm=%s; ",
                      dir ? "dir" : "file", dir ? 4096LL : (qint64(i) * 7919) % 100000000,
                      2000 + i % 24, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60,
                      dir ? "flcdmpe" : "adfrw");
        out += entryName(i).toUtf8() + "\r\n";
    }
    return out;
}

// Parse, filter, sort, list lines: everything after the bytes have arrived.
QStringList process(FtpSitzung::ListingFormat format, const QByteArray &text, const QDateTime &now)
{
    RemoteEntries entries = ListeVerzeichnis(parseListing(format, text, now), QStringLiteral("*"));
    return SortiereVerzeichnis(entries);
}

void benchOffline(int count, int runs)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct {
        const char *label;
        FtpSitzung::ListingFormat format;
        QByteArray text;
    } cases[] = {{"Unix LIST", FtpSitzung::ListingFormat::List, makeUnixList(count)},
                 {"MLSD", FtpSitzung::ListingFormat::Mlsd, makeMlsd(count)}};
    std::printf("(1) parse + filter + sort + list lines, %d entries, median of %d runs\n", count,
                runs);
    for (const auto &c : cases) {
        std::vector<double> total, parse, totalCpu, parseCpu;
        qsizetype lines = 0;
        for (int r = 0; r < runs; ++r) {
            double cpu = 0;
            parse.push_back(timeMs([&] { (void)parseListing(c.format, c.text, now); }, &cpu));
            parseCpu.push_back(cpu);
            total.push_back(timeMs([&] { lines = process(c.format, c.text, now).size(); }, &cpu));
            totalCpu.push_back(cpu);
        }
        std::printf("    %-9s %7.1f KiB, %lld lines: parse alone %6.2f ms (cpu %6.2f), "
                    "whole %6.2f ms (cpu %6.2f, fastest %6.2f)\n",
                    c.label, double(c.text.size()) / 1024, static_cast<long long>(lines),
                    median(parse), median(parseCpu), median(total), median(totalCpu),
                    *std::min_element(total.begin(), total.end()));
    }
}

void benchServer(int count, int runs)
{
    std::printf("(2) local server, folder of %d files, median of %d runs\n", count, runs);
    test::LocalServer server;
    if (!server.running()) {
        std::printf("    local server did not start; skipped\n");
        return;
    }
    const QString folder = server.root() + QStringLiteral("/listing");
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QString name = QStringLiteral("file%1_").arg(i, 5, 10, QLatin1Char('0')) + entryName(i);
        QFile f(folder + QLatin1Char('/') + name);
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(i % 64, 'x'));
    }

    FtpSitzung client;
    FtpSitzung::Optionen options;
    options.host = QStringLiteral("127.0.0.1");
    options.port = server.ftpPort();
    options.user = QStringLiteral("varnekdb");
    options.password = QStringLiteral("Wald2619");
    options.passive = !qEnvironmentVariableIsSet("BENCH_ACTIVE");
    if (!client.verbinde(options) || !client.wechsleVerzeichnis(QStringLiteral("/listing"))) {
        std::printf("    FTP connect/cd failed: %s\n", qPrintable(client.letzteAntwort()));
        return;
    }

    // Each run fetches the listing once and processes what arrived, so the
    // transfer and our share are measured on the same bytes.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::vector<double> transfer, ours, whole, oursCpu;
    qsizetype bytes = 0, lines = 0;
    const char *format = "?";
    (void)client.liste(); // warm-up
    for (int r = 0; r < runs; ++r) {
        std::optional<FtpSitzung::Liste> l;
        const double t = timeMs([&] { l = client.liste(); });
        if (!l) {
            std::printf("    list failed: %s\n", qPrintable(client.letzteAntwort()));
            return;
        }
        double cpu = 0;
        const double p = timeMs([&] { lines = process(l->format, l->text, now).size(); }, &cpu);
        format = l->format == FtpSitzung::ListingFormat::Mlsd ? "MLSD" : "LIST";
        bytes = l->text.size();
        transfer.push_back(t);
        ours.push_back(p);
        oursCpu.push_back(cpu);
        whole.push_back(t + p);
    }
    client.schliesse();
    std::printf("    %s mode, format %s, %.1f KiB, %lld list lines\n",
                options.passive ? "passive" : "active", format, double(bytes) / 1024,
                static_cast<long long>(lines));
    std::printf("    transfer alone (FtpSitzung::list):       %8.2f ms\n", median(transfer));
    std::printf("    parse + filter + sort + lines:           %8.2f ms (cpu %.2f)\n", median(ours),
                median(oursCpu));
    std::printf(
        "    whole listing:                           %8.2f ms (target: transfer + 20 ms)\n",
        median(whole));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;
    benchOffline(count, runs);
    if (argc > 3 && QByteArray(argv[3]) == "offline")
        return 0;
    benchServer(count, runs);
    return 0;
}
