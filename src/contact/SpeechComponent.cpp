#include "contact/SpeechComponent.h"

#include "contact/TextProzeduren.h"
#include "platform/AnsiText.h"
#include "platform/SpeechEngine.h"

#include <QFile>

namespace varnek
{

struct SpeechComponent::Impl {
    QString folder;
    QString transcript;
    QString last; // the last received message read aloud ("user1")
    bool muted = false;
    SpeechEngine engine;
};

SpeechComponent::SpeechComponent(const QString &programFolder, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    d->folder = programFolder;
}

SpeechComponent::~SpeechComponent() = default;

void SpeechComponent::setTranscriptFile(const QString &path)
{
    d->transcript = path;
}

void SpeechComponent::setMuted(bool muted)
{
    d->muted = muted;
    if (muted)
        d->engine.stop();
    else
        d->engine.available(); // the engine starts now, on its own thread
}

bool SpeechComponent::muted() const
{
    return d->muted;
}

bool SpeechComponent::engineStarted() const
{
    return d->engine.started();
}

void SpeechComponent::press(const QString &button, const QString &received)
{
    if (button == QLatin1String("user1")) {
        QString text;
        if (received.isNull()) {
            text = readAloud(QStringLiteral("K1.txt"));
        } else {
            text = speakable(received);
            speak(text);
        }
        if (!text.isEmpty())
            d->last = text;
    } else if (button == QLatin1String("Hilfe")) {
        readAloud(QStringLiteral("Hilfe.txt"));
    } else if (button == QLatin1String("Stop"))
        d->engine.stop();
    else if (button == QLatin1String("Pause"))
        d->engine.pause();
    else if (button == QLatin1String("Weiter"))
        d->engine.resume();
    else if (button == QLatin1String("Nochmal"))
        speak(d->last);
}

QString SpeechComponent::readAloud(const QString &fileName)
{
    const auto bytes = ansi::readFile(d->folder + QLatin1Char('/') + fileName);
    if (!bytes)
        return QString();
    const QString text = speakable(ansi::decode(*bytes));
    speak(text);
    return text;
}

void SpeechComponent::speak(const QString &text)
{
    if (text.isEmpty())
        return;
    if (!d->muted)
        d->engine.say(text);
    Q_EMIT spoken(text);
    if (d->transcript.isEmpty())
        return;
    QFile log(d->transcript);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        log.write(text.toUtf8());
        log.write("\n");
    }
}

QString SpeechComponent::speakable(const QString &text)
{
    const QStringList words =
        ohneSteuerzeichen(text).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QChar hash = QLatin1Char('#');
    QStringList heard;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word.startsWith(hash)) {
            qsizetype end = word.size() >= 2 && word.endsWith(hash) ? i : -1;
            for (qsizetype k = i + 1; end < 0 && k < words.size(); ++k) {
                if (words.at(k).endsWith(hash))
                    end = k;
            }
            if (end >= 0) {
                i = end;
                continue;
            }
        }
        heard << word;
    }
    return heard.join(QLatin1Char(' '));
}

QString SpeechComponent::lastText() const
{
    return d->last;
}

} // namespace varnek
