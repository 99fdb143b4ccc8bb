#include "platform/ui/BildDatei.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnek::bild
{

namespace
{

QImage lies(QIODevice *geraet, const QSize &hoechstens)
{
    QImageReader::setAllocationLimit(kMaxMegabytes);
    QImageReader leser(geraet);
    const QSize groesse = leser.size();
    if (hoechstens.isValid() && groesse.isValid() &&
        (groesse.width() > hoechstens.width() || groesse.height() > hoechstens.height()))
        leser.setScaledSize(groesse.scaled(hoechstens, Qt::KeepAspectRatio));
    return leser.read();
}

} // namespace

QImage ladeDaten(const QByteArray &daten, const QSize &hoechstens)
{
    QBuffer puffer;
    puffer.setData(daten);
    puffer.open(QIODevice::ReadOnly);
    return lies(&puffer, hoechstens);
}

QImage ladeDatei(const QString &pfad, const QSize &hoechstens)
{
    if (pfad.isEmpty() || !QFileInfo(pfad).isFile())
        return QImage();
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QImage();
    struct stat st {
    };
    // The path may have been swapped for something else since the check.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return QImage();
    }
    QFile datei;
    if (!datei.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QImage();
    }
    return lies(&datei, hoechstens);
}

Lader::Lader(QObject *parent) : QObject(parent), arbeiter_(new QObject)
{
    thread_.setObjectName(QStringLiteral("Bilder"));
    arbeiter_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, arbeiter_, &QObject::deleteLater);
    thread_.start();
}

Lader::~Lader()
{
    verwerfen();
    thread_.quit();
    thread_.wait();
}

void Lader::ladeDatei(const QString &pfad, const QSize &hoechstens, Fertig fertig)
{
    lade([pfad, hoechstens] { return bild::ladeDatei(pfad, hoechstens); }, std::move(fertig));
}

void Lader::ladeDaten(const QByteArray &daten, const QSize &hoechstens, Fertig fertig)
{
    lade([daten, hoechstens] { return bild::ladeDaten(daten, hoechstens); }, std::move(fertig));
}

void Lader::lade(std::function<QImage()> decodieren, Fertig fertig)
{
    const quint64 nummer = ++neueste_;
    QMetaObject::invokeMethod(
        arbeiter_, [this, nummer, decodieren = std::move(decodieren), fertig = std::move(fertig)] {
            if (nummer != neueste_)
                return; // superseded before it began
            QImage bild = decodieren();
            // Queued to the loader: the destructor waits for this thread, and
            // events posted to a deleted object are dropped with it.
            QMetaObject::invokeMethod(
                this,
                [this, nummer, bild = std::move(bild), fertig] {
                    if (nummer == neueste_)
                        fertig(bild);
                },
                Qt::QueuedConnection);
        });
}

} // namespace varnek::bild
