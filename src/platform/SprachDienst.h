#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace varnek
{

// One connection of this program to the system's speech service, used only
// on the speech engine's thread. Texts are handed over one at a time; the
// service reports when each begins, ends or is cancelled. Every call acts on
// this program's own speech only, never on other clients of the service.
class SprachDienst
{
  public:
    enum class Ereignis { Beginn, Ende, Abbruch };
    // Called with the number sprich() returned; may be called on a thread of
    // the service's library.
    using Melder = std::function<void(long long nummer, Ereignis)>;

    virtual ~SprachDienst() = default;

    // Connects; with dienstStarten the service is started when it is not
    // running. False when no connection could be made.
    virtual bool verbinde(bool dienstStarten) = 0;
    // Whether the connection is still alive (false once the service died).
    virtual bool verbunden() = 0;
    // Hands one text over; its number (> 0), or -1 when the connection failed.
    virtual long long sprich(const QString &text) = 0;
    // Cancels what this program handed over.
    virtual void brichAb() = 0;
    virtual void trenne() = 0;

    void setzeMelder(Melder melder) { melder_ = std::move(melder); }

  protected:
    Melder melder_;
};

// The speech service of this platform: speech-dispatcher through libspeechd
// where the program was built with it, else Qt TextToSpeech.
std::unique_ptr<SprachDienst> erzeugeSprachDienst();
std::unique_ptr<SprachDienst> erzeugeQtSprachDienst();

} // namespace varnek
