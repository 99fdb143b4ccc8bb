// The reader of the Windows-1252 text files shared with peers: decoding and
// splitting into lines, and writing the lines back.

#include "FuzzCheck.h"

#include "platform/AnsiText.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace varnek;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = ansi::decode(bytes);
    // One character per byte: Windows-1252 is a single-byte code.
    FUZZ_CHECK(text.size() == bytes.size());
    const QStringList lines = ansi::splitLines(text);
    for (const QString &line : lines) {
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')));
        FUZZ_CHECK(!line.contains(QLatin1Char('\n')));
    }
    // Written back with CR LF and read again, the lines are the same.
    const QByteArray file = ansi::joinLines(lines);
    FUZZ_CHECK(file.isEmpty() || file.endsWith("\r\n"));
    FUZZ_CHECK(ansi::splitLines(ansi::decode(file)) == lines);
    // Every byte survives decoding and encoding.
    FUZZ_CHECK(ansi::encode(text) == bytes);
    return 0;
}
