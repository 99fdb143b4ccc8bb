#include "support/Pfade.h"

namespace varnek::test
{

QString quellPfad(const QString &relativ)
{
    return QStringLiteral(VARNEK_SOURCE_DIR "/") + relativ;
}

QString varnekProgramm()
{
    return QStringLiteral(VARNEK_BINARY);
}

} // namespace varnek::test
