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

} // namespace varnek::bild
