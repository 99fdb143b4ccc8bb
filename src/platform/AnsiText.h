#pragma once

#include "platform/Ergebnis.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Text files shared with the user and with peers on Windows: single-byte
// Windows-1252, every line ended by CR LF.
namespace varnek::ansi
{

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// Every line followed by CR LF, encoded. No lines gives an empty file.
QByteArray joinLines(const QStringList &lines);
// Splits on CR LF, lone CR or lone LF (as line input does); a final line
// ending adds no empty line.
QStringList splitLines(const QString &text);

// True when the file exists and is marked read-only for its owner: such a
// file is never written, also not by a user the system lets write anyway
// (the administrator).
bool schreibgeschuetzt(const QString &path);

// Writes the file whole (schreiber::GanzeDatei): the target is replaced by
// the complete new file or left untouched. A failure carries the German
// reason, e.g. "Datenträger voll".
Ergebnis writeFile(const QString &path, const QByteArray &bytes);
Ergebnis writeLines(const QString &path, const QStringList &lines);

// nullopt when the file does not exist or cannot be read.
std::optional<QByteArray> readFile(const QString &path);
std::optional<QStringList> readLines(const QString &path);

} // namespace varnek::ansi
