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

void SpeechComponent::press(const QString &button)
{
    if (button == QLatin1String("user1")) {
        const QString text = readAloud(QStringLiteral("K1.txt"));
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
    return sprechbarerText(text);
}

QString SpeechComponent::lastText() const
{
    return d->last;
}

} // namespace varnek
