#include "platform/SpeechEngine.h"

#include <QLocale>
#include <QTextToSpeech>

namespace varnek {

SpeechEngine::SpeechEngine(QObject *parent) : QObject(parent) {}

SpeechEngine::~SpeechEngine() = default;

bool SpeechEngine::ensure()
{
    if (tried_)
        return usable();
    tried_ = true;
    if (QTextToSpeech::availableEngines().isEmpty())
        return false;
    tts_ = new QTextToSpeech(this);
    if (tts_->state() == QTextToSpeech::Error) {
        delete tts_;
        tts_ = nullptr;
        return false;
    }
    chooseGermanLocale();
    return usable();
}

void SpeechEngine::chooseGermanLocale()
{
    const QList<QLocale> locales = tts_->availableLocales();
    const QLocale *german = nullptr;
    for (const QLocale &l : locales) {
        if (l.language() != QLocale::German)
            continue;
        if (l.territory() == QLocale::Germany) {
            german = &l;
            break;
        }
        if (!german)
            german = &l;
    }
    if (german)
        tts_->setLocale(*german);
}

bool SpeechEngine::usable() const
{
    return tts_ && tts_->state() != QTextToSpeech::Error;
}

bool SpeechEngine::available()
{
    return ensure();
}

void SpeechEngine::say(const QString &text)
{
    if (ensure())
        tts_->say(text);
}

// Stop, pause and resume never start the engine: with nothing said yet
// there is nothing to act on.
void SpeechEngine::stop()
{
    if (usable())
        tts_->stop();
}

void SpeechEngine::pause()
{
    if (usable())
        tts_->pause();
}

void SpeechEngine::resume()
{
    if (usable() && tts_->state() == QTextToSpeech::Paused)
        tts_->resume();
}

} // namespace varnek
