#include "platform/Autostart.h"

#include "platform/AnsiText.h"
#include "platform/Schreiber.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace varnek::autostart
{

namespace
{
QString ordner()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString basis = !xdg.isEmpty() && QDir::isAbsolutePath(xdg)
                              ? xdg
                              : QDir::homePath() + QStringLiteral("/.config");
    return basis + QStringLiteral("/autostart");
}
} // namespace

QString eintragPfad()
{
    return ordner() + QStringLiteral("/varnek.desktop");
}

QString execArgument(const QString &argument)
{
    static const QString reserviert = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quoten = argument.isEmpty();
    QString innen;
    for (const QChar c : argument) {
        if (reserviert.contains(c))
            quoten = true;
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            innen += u'\\';
        if (c == u'%')
            innen += u'%';
        innen += c;
    }
    if (!quoten)
        return innen; // nothing to escape but a doubled '%'
    return u'"' + innen + u'"';
}

QString execZeile(const QStringList &argumente)
{
    QStringList teile;
    for (const QString &a : argumente)
        teile << execArgument(a);
    QString zeile;
    for (const QChar c : teile.join(u' ')) {
        switch (c.unicode()) {
        case '\\':
            zeile += QStringLiteral("\\\\");
            break;
        case '\n':
            zeile += QStringLiteral("\\n");
            break;
        case '\t':
            zeile += QStringLiteral("\\t");
            break;
        case '\r':
            zeile += QStringLiteral("\\r");
            break;
        default:
            zeile += c;
        }
    }
    return zeile;
}

QByteArray eintrag(const QStringList &argumente)
{
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Varnek Kontakt\n"
                                        "Comment=Die Kontakt-Adresse lesen und vorlesen lassen\n"
                                        "Exec=%1\n"
                                        "Icon=varnek\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execZeile(argumente));
    return text.toUtf8();
}

bool vorhanden()
{
    return QFileInfo::exists(eintragPfad());
}

Ergebnis schreibe(const QStringList &argumente)
{
    std::error_code fehler;
    std::filesystem::create_directories(QFile::encodeName(ordner()).toStdString(), fehler);
    if (fehler)
        return Ergebnis::fehler(schreiber::grund(fehler.value()), fehler.value());
    return ansi::writeFile(eintragPfad(), eintrag(argumente));
}

Ergebnis entferne()
{
    const QByteArray pfad = QFile::encodeName(eintragPfad());
    if (std::remove(pfad.constData()) != 0 && errno != ENOENT) {
        const int nummer = errno;
        return Ergebnis::fehler(schreiber::grund(nummer), nummer);
    }
    return {};
}

} // namespace varnek::autostart
