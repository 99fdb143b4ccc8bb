#include "platform/SprachDienst.h"

#include <QLocale>
#include <QPointer>
#include <QTextToSpeech>

namespace varnek
{

namespace
{

// Qt TextToSpeech, where the program is built without libspeechd. It speaks
// one text at a time, so its state changes tell begin, end and cancel.
class QtSprachDienst final : public SprachDienst
{
  public:
    ~QtSprachDienst() override { trenne(); }

    bool verbinde(bool) override
    {
        trenne();
        if (QTextToSpeech::availableEngines().isEmpty())
            return false;
        tts_ = new QTextToSpeech;
        if (tts_->state() == QTextToSpeech::Error) {
            trenne();
            return false;
        }
        // The German voice by locale, without asking the engine for all of
        // its voices.
        tts_->setLocale(QLocale(QLocale::German, QLocale::Germany));
        QObject::connect(tts_, &QTextToSpeech::stateChanged, tts_, [this](QTextToSpeech::State s) {
            if (!melder_ || !aktuell_)
                return;
            if (s == QTextToSpeech::Speaking && !begonnen_) {
                begonnen_ = true;
                melder_(aktuell_, Ereignis::Beginn);
            } else if (s == QTextToSpeech::Ready && begonnen_) {
                const long long n = aktuell_;
                aktuell_ = 0;
                melder_(n, abbruch_ ? Ereignis::Abbruch : Ereignis::Ende);
            }
        });
        return true;
    }

    bool verbunden() override { return tts_ && tts_->state() != QTextToSpeech::Error; }

    long long sprich(const QString &text) override
    {
        if (!verbunden())
            return -1;
        aktuell_ = ++nummer_;
        begonnen_ = false;
        abbruch_ = false;
        tts_->say(text);
        return aktuell_;
    }

    void brichAb() override
    {
        if (!verbunden())
            return;
        abbruch_ = true;
        tts_->stop();
    }

    void trenne() override
    {
        delete tts_;
        tts_ = nullptr;
        aktuell_ = 0;
    }

  private:
    QPointer<QTextToSpeech> tts_;
    long long nummer_ = 0;
    long long aktuell_ = 0;
    bool begonnen_ = false;
    bool abbruch_ = false;
};

} // namespace

std::unique_ptr<SprachDienst> erzeugeQtSprachDienst()
{
    return std::make_unique<QtSprachDienst>();
}

} // namespace varnek
