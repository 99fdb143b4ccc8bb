#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace varnek
{

class SpeechWorker;

// The system's speech service behind one small interface: speech-dispatcher
// through libspeechd (German by language), or Qt TextToSpeech where the
// program is built without libspeechd.
//
// Texts are queued and each is read whole, in order: the next text goes to
// the service when the service reports the previous one ended. A text is
// handed over sentence by sentence, so that pause() can cut it and resume()
// go on from the sentence that was cut, without the service's own pause.
// stop() clears the queue and cancels what this program said; nothing ever
// touches the speech of other clients of the service, and destroying the
// engine while silent stops nothing.
//
// The engine lives on a thread of its own, which connects at start: the
// first text does not wait for the connection, and the windows never wait
// for a stuck service. When the service dies the engine notices within a
// quarter second and reconnects every half second; a text that could not
// be spoken is spoken once the service is back, if it was handed to say()
// no more than 60 seconds before (else it is dropped). When no service can
// be reached at start, texts count as spoken at once, unheard.
class SpeechEngine : public QObject
{
    Q_OBJECT
  public:
    explicit SpeechEngine(QObject *parent = nullptr);
    ~SpeechEngine() override;

    // Starts the engine if that has not been done yet; true while it is
    // connected to the speech service.
    bool available();
    // Whether the engine has been started (for tests of mute mode).
    bool started() const { return thread_ != nullptr; }

    // Queues text; returns its number, as the signals below report it. A
    // replaceable text (a hint) cuts or drops every replaceable text before
    // it, never another one.
    quint64 say(const QString &text, bool ersetzbar = false);
    void stop();
    void pause();
    void resume();

    static constexpr int hoechstesAlterMs = 60000;
    static constexpr int wiederverbindenMs = 500;
    static constexpr int lebenszeichenMs = 250;

  Q_SIGNALS:
    // The text started to be heard (unheard when no service could be reached).
    void begonnen(quint64 nummer);
    // The text was read whole.
    void beendet(quint64 nummer);
    // The text was cut after it had started (stop, too old after a failure).
    void abgebrochen(quint64 nummer);
    // The text was dropped before it started.
    void verworfen(quint64 nummer);

  private:
    void start();
    template <typename F> void post(F f);

    QThread *thread_ = nullptr;
    SpeechWorker *worker_ = nullptr;
    // Shared with the worker, which may outlive this object when the speech
    // service hangs.
    struct Shared {
        std::atomic<int> state{0}; // 0 starting, 1 connected, 2 not connected
        std::atomic<quint64> nummer{0};
    };
    std::shared_ptr<Shared> shared_;
};

} // namespace varnek
