#include "platform/Schreiber.h"

#include "platform/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <limits>
#include <mutex>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnek::schreiber
{

namespace
{

struct Probe {
    std::mutex mutex;
    bool an = false;
    int nummer = 0;
    qint64 rest = 0;
};

Probe &probeZustand()
{
    static Probe p;
    return p;
}

// How many of `laenge` bytes the next write may take; -1 (with errno set)
// when it must fail now.
qint64 erlaubt(qint64 laenge)
{
    Probe &p = probeZustand();
    std::lock_guard lock(p.mutex);
    if (!p.an)
        return laenge;
    if (p.rest <= 0) {
        errno = p.nummer;
        return -1;
    }
    const qint64 n = std::min(laenge, p.rest);
    p.rest -= n;
    return n;
}

// fsync through the probe: a full disk also refuses the flush.
int sync(int fd)
{
    if (erlaubt(1) < 0)
        return errno;
    {
        Probe &p = probeZustand();
        std::lock_guard lock(p.mutex);
        if (p.an)
            ++p.rest; // the byte asked for above was no byte written
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Writes everything, going on after short writes and signals.
int schreibeAlles(int fd, qint64 pos, const char *daten, qint64 laenge)
{
    while (laenge > 0) {
        const qint64 n = erlaubt(laenge);
        if (n < 0)
            return errno;
        const ssize_t r =
            pos < 0 ? ::write(fd, daten, size_t(n)) : ::pwrite(fd, daten, size_t(n), pos);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (r == 0)
            return EIO;
        daten += r;
        laenge -= r;
        if (pos >= 0)
            pos += r;
    }
    return 0;
}

} // namespace

QString grund(int nummer, bool dateiGeschuetzt)
{
    switch (nummer) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QString::fromUtf8("Datenträger voll");
    case EROFS:
        return QString::fromUtf8("Ordner schreibgeschützt");
    case EACCES:
    case EPERM:
        return dateiGeschuetzt ? QString::fromUtf8("Datei schreibgeschützt")
                               : QString::fromUtf8("Ordner schreibgeschützt");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Ordner nicht gefunden");
    case EISDIR:
        return QStringLiteral("Ein Ordner hat diesen Namen");
    case ENAMETOOLONG:
        return QStringLiteral("Dateiname zu lang");
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return QString::fromUtf8("Zu viele offene Dateien");
    case EIO:
        return QStringLiteral("Lese- oder Schreibfehler des Datenträgers");
    default:
        return QStringLiteral("Schreibfehler (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(nummer)));
    }
}

QString meldung(const QString &dateiName, const QString &grund)
{
    const QString anzeige = QLatin1Char('[') + dateiName + QStringLiteral("]!");
    if (grund == QString::fromUtf8("Datei schreibgeschützt"))
        return QStringLiteral("Achtung : Schreibschutz entfernen ") + anzeige;
    return QStringLiteral("Achtung : ") + grund + QLatin1Char(' ') + anzeige;
}

GanzeDatei::GanzeDatei(QString pfad) : pfad_(std::move(pfad)) {}

GanzeDatei::~GanzeDatei()
{
    verwerfen();
}

Ergebnis GanzeDatei::scheitern(int nummer, bool dateiGeschuetzt)
{
    verwerfen();
    return Ergebnis::fehler(grund(nummer, dateiGeschuetzt), nummer);
}

Ergebnis GanzeDatei::oeffnen()
{
    verwerfen();
    const QFileInfo info(pfad_);
    if (info.isDir())
        return scheitern(EISDIR);
    // A file the user marked read-only is never replaced, also not by a
    // user the system lets write anyway.
    const QByteArray ziel = QFile::encodeName(pfad_);
    if (ansi::schreibgeschuetzt(pfad_))
        return scheitern(EACCES, true);
    if (info.exists() && ::access(ziel.constData(), W_OK) != 0)
        return scheitern(errno, errno != EROFS);
    for (int versuch = 0; versuch < 100; ++versuch) {
        tmp_ = ziel + '.' + QByteArray::number(qint64(::getpid())) + '.' +
               QByteArray::number(versuch) + ".tmp";
        fd_ = ::open(tmp_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0)
            break;
        if (errno != EEXIST) {
            const int e = errno;
            tmp_.clear();
            return scheitern(e);
        }
    }
    if (fd_ < 0) {
        tmp_.clear();
        return scheitern(EEXIST);
    }
    // The new file keeps the permissions of the one it replaces.
    if (struct stat st; ::stat(ziel.constData(), &st) == 0)
        ::fchmod(fd_, st.st_mode & 07777);
    return {};
}

Ergebnis GanzeDatei::nurFuerBesitzer()
{
    if (fd_ < 0)
        return scheitern(EBADF);
    if (::fchmod(fd_, S_IRUSR | S_IWUSR) != 0)
        return scheitern(errno);
    return {};
}

Ergebnis GanzeDatei::schreiben(const char *daten, qint64 laenge)
{
    if (fd_ < 0)
        return scheitern(EBADF);
    if (const int e = schreibeAlles(fd_, -1, daten, laenge))
        return scheitern(e);
    return {};
}

Ergebnis GanzeDatei::abschliessen()
{
    if (fd_ < 0)
        return scheitern(EBADF);
    // The flush can fail on its own (delayed allocation): a file is only
    // renamed into place when its bytes are on the disk.
    if (const int e = sync(fd_))
        return scheitern(e);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int e = errno;
        ::unlink(tmp_.constData());
        tmp_.clear();
        return scheitern(e);
    }
    if (::rename(tmp_.constData(), QFile::encodeName(pfad_).constData()) != 0) {
        const int e = errno;
        ::unlink(tmp_.constData());
        tmp_.clear();
        return scheitern(e);
    }
    tmp_.clear();
    // Make the rename itself durable.
    const QByteArray ordner = QFile::encodeName(QFileInfo(pfad_).absolutePath());
    const int dfd = ::open(ordner.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

void GanzeDatei::verwerfen()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tmp_.isEmpty()) {
        ::unlink(tmp_.constData());
        tmp_.clear();
    }
}

Ergebnis schreibeAn(int fd, qint64 pos, const char *daten, qint64 laenge)
{
    if (const int e = schreibeAlles(fd, pos, daten, laenge))
        return Ergebnis::fehler(grund(e), e);
    return {};
}

Ergebnis sichern(int fd)
{
    if (const int e = sync(fd))
        return Ergebnis::fehler(grund(e), e);
    return {};
}

namespace probe
{

void setze(int nummer, qint64 nachBytes)
{
    Probe &p = probeZustand();
    std::lock_guard lock(p.mutex);
    p.an = true;
    p.nummer = nummer;
    p.rest = nachBytes;
}

void aus()
{
    Probe &p = probeZustand();
    std::lock_guard lock(p.mutex);
    p.an = false;
}

} // namespace probe

int entferneReste(const QString &ordner, const std::function<bool(const QString &name)> &eigen)
{
    // The exact names GanzeDatei::oeffnen() gives its temporary files.
    static const QRegularExpression muster(
        QStringLiteral("^(.+)\\.([1-9][0-9]{0,9})\\.([0-9]{1,3})\\.tmp$"));
    int entfernt = 0;
    const QDir dir(ordner);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch m = muster.match(name);
        if (!m.hasMatch() || !eigen(m.captured(1)))
            continue;
        bool ok = false;
        const qint64 pid = m.captured(2).toLongLong(&ok);
        if (!ok || pid > std::numeric_limits<pid_t>::max() || pid == ::getpid())
            continue;
        // EPERM: the process lives under another user; only ESRCH says it is gone.
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        if (::unlink(QFile::encodeName(dir.filePath(name)).constData()) == 0)
            ++entfernt;
    }
    return entfernt;
}

} // namespace varnek::schreiber
