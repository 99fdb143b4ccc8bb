#include "platform/Dienste.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace varnek
{

int FindeListenEintrag(const QStringList &liste, const QString &text)
{
    for (qsizetype i = 0; i < liste.size(); ++i)
        if (liste.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

bool istOeffenbareAdresse(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (c.isSpace() || istSteuerzeichen(c))
            return false;
    const QUrl url(t, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString schema = url.scheme().toLower();
    if (schema == QLatin1String("http") || schema == QLatin1String("https"))
        return !url.host().isEmpty();
    if (schema == QLatin1String("mailto"))
        return !url.path().isEmpty() && url.host().isEmpty();
    return false;
}

QString bereinigeStatus(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() == 0)
            continue;
        out += istSteuerzeichen(c) ? QChar(u' ') : c;
    }
    return out.trimmed();
}

QString hostFuerUrl(const QString &host)
{
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        return QLatin1Char('[') + host + QLatin1Char(']');
    return host;
}

QString ohneMailAnhang(const QString &adresse)
{
    const QString t = adresse.trimmed();
    if (!t.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive))
        return adresse;
    const qsizetype frage = t.indexOf(QLatin1Char('?'));
    if (frage < 0)
        return adresse;
    QStringList behalten;
    for (const QString &teil :
         t.mid(frage + 1).split(QRegularExpression(QStringLiteral("[&;]")), Qt::SkipEmptyParts)) {
        const QString name =
            QUrl::fromPercentEncoding(teil.section(QLatin1Char('='), 0, 0).toUtf8()).trimmed();
        if (name.compare(QLatin1String("attach"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("attachment"), Qt::CaseInsensitive) == 0)
            continue;
        behalten << teil;
    }
    const QString ohne = t.left(frage);
    return behalten.isEmpty() ? ohne : ohne + QLatin1Char('?') + behalten.join(QLatin1Char('&'));
}

QString findeMitgelieferteDatei(const QString &name)
{
    QStringList orte;
    if (QCoreApplication::instance()) {
        const QString bin = QCoreApplication::applicationDirPath();
        orte << bin << bin + QStringLiteral("/../share/varnek");
    }
#ifdef VARNEK_DATA_DIR
    orte << QStringLiteral(VARNEK_DATA_DIR);
#endif
#ifdef VARNEK_SOURCE_DIR
    orte << QStringLiteral(VARNEK_SOURCE_DIR "/data");
#endif
    for (const QString &ort : orte) {
        const QFileInfo f(QDir(ort).filePath(name));
        if (f.isFile())
            return QDir::cleanPath(f.absoluteFilePath());
    }
    return QString();
}

} // namespace varnek
