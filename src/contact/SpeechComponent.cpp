#include "contact/SpeechComponent.h"

#include "contact/TextProzeduren.h"
#include "platform/AnsiText.h"
#include "platform/SpeechEngine.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace varnek
{

struct SpeechComponent::Impl {
    QString folder;
    QString transcript;
    QString last; // the last received message read aloud ("user1")
    bool muted = false;
    SpeechEngine engine;
    // Texts with the engine, by number, until they end.
    struct Wartend {
        QString text;
        bool begonnen = false;
        bool hinweis = false;
    };
    QHash<quint64, Wartend> wartend;
    qint64 zeilenEnde = -1; // transcript size after the last started text's line
};

SpeechComponent::SpeechComponent(const QString &programFolder, QObject *parent)
    : QObject(parent), d(std::make_unique<Impl>())
{
    d->folder = programFolder;
    connect(&d->engine, &SpeechEngine::begonnen, this, &SpeechComponent::beginnt);
    connect(&d->engine, &SpeechEngine::beendet, this, [this](quint64 n) { endet(n, nullptr); });
    connect(&d->engine, &SpeechEngine::abgebrochen, this,
            [this](quint64 n) { endet(n, " [abgebrochen]"); });
    connect(&d->engine, &SpeechEngine::verworfen, this,
            [this](quint64 n) { endet(n, " [verworfen]"); });
}

SpeechComponent::~SpeechComponent()
{
    // What the program ends in the middle of is cut, what waits is dropped.
    QList<quint64> nummern = d->wartend.keys();
    std::sort(nummern.begin(), nummern.end());
    for (quint64 n : nummern)
        endet(n, d->wartend.value(n).begonnen ? " [abgebrochen]" : " [verworfen]");
}

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

bool SpeechComponent::speaking() const
{
    return !d->wartend.isEmpty();
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
        readAloud(QStringLiteral("Hilfe.txt"), true);
    } else if (button == QLatin1String("Stop"))
        d->engine.stop();
    else if (button == QLatin1String("Pause"))
        d->engine.pause();
    else if (button == QLatin1String("Weiter"))
        d->engine.resume();
    else if (button == QLatin1String("Nochmal"))
        speak(d->last);
}

QString SpeechComponent::readAloud(const QString &fileName, bool hinweis)
{
    const auto bytes = ansi::readFile(d->folder + QLatin1Char('/') + fileName);
    if (!bytes)
        return QString();
    const QString text = speakable(ansi::decode(*bytes));
    speak(text, hinweis);
    return text;
}

void SpeechComponent::speak(const QString &text, bool hinweis)
{
    if (text.isEmpty())
        return;
    if (!d->muted) {
        d->wartend.insert(d->engine.say(text, hinweis), Impl::Wartend{text, false, hinweis});
        return;
    }
    Q_EMIT spoken(text);
    protokolliere(text, nullptr);
    if (!hinweis)
        Q_EMIT gehoert(text);
}

void SpeechComponent::beginnt(quint64 nummer)
{
    auto it = d->wartend.find(nummer);
    if (it == d->wartend.end() || it->begonnen)
        return;
    it->begonnen = true;
    const QString text = it->text;
    Q_EMIT spoken(text);
    protokolliere(text, nullptr);
}

// A started text that is cut gets the mark on its own line, which is the
// last one as long as nothing else was written since.
void SpeechComponent::endet(quint64 nummer, const char *vermerk)
{
    const auto it = d->wartend.constFind(nummer);
    if (it == d->wartend.cend())
        return;
    const Impl::Wartend w = *it;
    d->wartend.erase(it);
    if (!vermerk && w.begonnen && !w.hinweis)
        Q_EMIT gehoert(w.text);
    if (!vermerk || d->transcript.isEmpty())
        return;
    if (w.begonnen) {
        QFile log(d->transcript);
        if (d->zeilenEnde > 0 && log.size() == d->zeilenEnde && log.open(QIODevice::ReadWrite) &&
            log.resize(d->zeilenEnde - 1) && log.seek(d->zeilenEnde - 1)) {
            log.write(vermerk);
            log.write("\n");
            d->zeilenEnde = -1;
            return;
        }
    }
    protokolliere(w.text, vermerk);
}

void SpeechComponent::protokolliere(const QString &text, const char *vermerk)
{
    if (d->transcript.isEmpty())
        return;
    QFile log(d->transcript);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        log.write(text.toUtf8());
        if (vermerk)
            log.write(vermerk);
        log.write("\n");
        log.flush();
        d->zeilenEnde = vermerk ? -1 : log.size();
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
