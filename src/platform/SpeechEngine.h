#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace varnek
{

class SpeechWorker;

// The system's speech synthesiser behind one small interface. The engine is
// created by the first call of available() or say(), not at construction:
// the speech component asks for it at start-up unless it is muted, so the
// first message is not delayed by the engine's start. It prefers a German
// voice: a de_DE locale, else any German locale, else the engine's default.
// An engine that fails, or stops speaking because the speech service went
// away, is made anew for the next text.
//
// The engine lives on a thread of its own: connecting to the system's speech
// service can take seconds, or hang for good when the service is stuck, and
// the windows must not wait for it. Calls are carried out in order; a text
// still waiting when a newer text or a stop arrives is dropped. When no
// engine can be created, or it reports an error, it is silently unavailable
// and every call does nothing.
class SpeechEngine : public QObject
{
    Q_OBJECT
  public:
    explicit SpeechEngine(QObject *parent = nullptr);
    ~SpeechEngine() override;

    // Starts creating the engine if that has not been tried yet; true once
    // the engine is ready to speak.
    bool available();
    // Whether creating the engine has been started (for tests of mute mode).
    bool started() const { return thread_ != nullptr; }

    // Speaks text, cutting off whatever is being spoken.
    void say(const QString &text);
    void stop();
    void pause();
    void resume();

  private:
    void start();
    template <typename F> void post(F f);

    QThread *thread_ = nullptr;
    SpeechWorker *worker_ = nullptr;
    // Shared with the worker, which may outlive this object when the speech
    // service hangs.
    struct Shared {
        std::atomic<int> state{0};      // 0 starting, 1 ready, 2 unavailable
        std::atomic<quint64> latest{0}; // number of the newest say or stop
    };
    std::shared_ptr<Shared> shared_;
};

} // namespace varnek
