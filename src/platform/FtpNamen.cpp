#include "platform/FtpNamen.h"

namespace varnek
{

QString ftpText(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += b < 0x80 ? QChar(b) : QChar(char16_t(0xDC00 + b));
    }
    return text;
}

QByteArray ftpBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    qsizetype lauf = 0; // start of the run not yet converted
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool einzeln =
            c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !text[i - 1].isHighSurrogate());
        if (!einzeln)
            continue;
        out += QStringView(text).sliced(lauf, i - lauf).toUtf8();
        out += char(c - 0xDC00);
        lauf = i + 1;
    }
    out += QStringView(text).sliced(lauf).toUtf8();
    return out;
}

} // namespace varnek
