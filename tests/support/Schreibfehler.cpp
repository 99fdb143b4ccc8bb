#include "support/Schreibfehler.h"

#include "platform/Schreiber.h"

#include <QFile>

#include <sys/mount.h>

namespace varnek::test
{

SchreibProbe::SchreibProbe(int fehlerNummer, qint64 nachBytes)
{
    schreiber::probe::setze(fehlerNummer, nachBytes);
}

SchreibProbe::~SchreibProbe()
{
    schreiber::probe::aus();
}

KleinesDateisystem::KleinesDateisystem(qint64 groesse)
{
    const QByteArray optionen = "size=" + QByteArray::number(groesse);
    gemountet_ = dir_.isValid() && ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(),
                                           "tmpfs", 0, optionen.constData()) == 0;
}

KleinesDateisystem::~KleinesDateisystem()
{
    if (gemountet_)
        ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
}

void KleinesDateisystem::fuellen()
{
    QFile f(datei(QStringLiteral(".fueller")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (f.write(block) == block.size()) {
    }
    // The last partial block: byte by byte to the end.
    while (f.write("x", 1) == 1) {
    }
}

void KleinesDateisystem::leeren()
{
    QFile::remove(datei(QStringLiteral(".fueller")));
}

bool KleinesDateisystem::schreibschutz(bool an)
{
    const unsigned long flags = MS_REMOUNT | (an ? MS_RDONLY : 0);
    return gemountet_ && ::mount("tmpfs", QFile::encodeName(dir_.path()).constData(), "tmpfs",
                                 flags, nullptr) == 0;
}

} // namespace varnek::test
