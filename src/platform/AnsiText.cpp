#include "platform/AnsiText.h"

#include "platform/Schreiber.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace varnek::ansi
{

QByteArray encode(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

QByteArray joinLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += encode(line);
        out += "\r\n";
    }
    return out;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    QString current;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << current;
            current.clear();
            open = false;
            if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current += c;
            open = true;
        }
    }
    if (open)
        lines << current;
    return lines;
}

bool schreibgeschuetzt(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

Ergebnis writeFile(const QString &path, const QByteArray &bytes)
{
    schreiber::GanzeDatei file(path);
    Ergebnis e = file.oeffnen();
    if (e)
        e = file.schreiben(bytes);
    if (e)
        e = file.abschliessen();
    return e;
}

Ergebnis writeLines(const QString &path, const QStringList &lines)
{
    return writeFile(path, joinLines(lines));
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<QStringList> readLines(const QString &path)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    return splitLines(decode(*bytes));
}

} // namespace varnek::ansi
