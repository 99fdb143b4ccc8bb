#include "platform/SpeechEngine.h"

#include <functional>

#include <QLocale>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>

namespace varnek
{

// Owns the QTextToSpeech on the engine's thread.
class SpeechWorker : public QObject
{
  public:
    ~SpeechWorker() override
    {
        if (usable())
            tts_->stop();
    }

    // Returns whether the engine is usable.
    bool create()
    {
        if (QTextToSpeech::availableEngines().isEmpty())
            return false;
        tts_ = new QTextToSpeech(this);
        connect(tts_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State s) {
            if (s == QTextToSpeech::Speaking)
                gesprochen_ = gesagt_;
        });
        if (tts_->state() == QTextToSpeech::Error) {
            delete tts_;
            tts_ = nullptr;
            return false;
        }
        chooseGermanLocale();
        return usable();
    }

    bool usable() const { return tts_ && tts_->state() != QTextToSpeech::Error; }
    QTextToSpeech *tts() const { return tts_; }

    // Says text. An engine in error is made anew first. When the speech
    // service went away and came back, the old engine still looks ready but
    // says nothing: a text that has not started after a while is said once
    // more by a fresh engine, so the message after the service is back is
    // heard.
    void say(const QString &text, std::function<bool()> nochAktuell)
    {
        if (!usable())
            neu();
        if (!usable())
            return;
        tts_->say(text);
        const quint64 nummer = ++gesagt_;
        QTimer::singleShot(nachfassenMs, this, [this, text, nummer, nochAktuell] {
            if (nummer != gesagt_ || !nochAktuell())
                return;
            if (tts_ && tts_->state() == QTextToSpeech::Speaking)
                return;
            if (tts_ && tts_->state() == QTextToSpeech::Ready && gesprochen_ == nummer)
                return; // spoken and finished already
            neu();
            if (usable())
                tts_->say(text);
        });
    }

    static constexpr int nachfassenMs = 2500;

  private:
    void chooseGermanLocale()
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

    void neu()
    {
        delete tts_;
        tts_ = nullptr;
        create();
    }

    QTextToSpeech *tts_ = nullptr;
    quint64 gesagt_ = 0;     // number of the last text handed to the engine
    quint64 gesprochen_ = 0; // number of the last text the engine began to speak
};

SpeechEngine::SpeechEngine(QObject *parent) : QObject(parent), shared_(std::make_shared<Shared>())
{
}

SpeechEngine::~SpeechEngine()
{
    if (!thread_)
        return;
    // The worker is deleted on its own thread as that thread ends. A thread
    // stuck in the speech service is left behind rather than waited for.
    thread_->quit();
    if (thread_->wait(1000))
        delete thread_;
}

void SpeechEngine::start()
{
    if (thread_)
        return;
    // The speech service's engine starts with a voice of the default locale
    // and fails altogether when there is none. With no language set at all
    // (the C locale) no voice matches, though German voices may well be
    // there: this German program then speaks German.
    if (QLocale().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("Sprachausgabe"));
    worker_ = new SpeechWorker;
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();
    post([shared = shared_](SpeechWorker *w) { shared->state = w->create() ? 1 : 2; });
}

template <typename F> void SpeechEngine::post(F f)
{
    SpeechWorker *worker = worker_;
    QMetaObject::invokeMethod(
        worker, [worker, f] { f(worker); }, Qt::QueuedConnection);
}

bool SpeechEngine::available()
{
    start();
    return shared_->state == 1;
}

void SpeechEngine::say(const QString &text)
{
    start();
    const quint64 number = ++shared_->latest;
    post([shared = shared_, number, text](SpeechWorker *w) {
        if (shared->latest == number)
            w->say(text, [shared, number] { return shared->latest == number; });
    });
}

// Stop, pause and resume never start the engine: with nothing said yet
// there is nothing to act on.
void SpeechEngine::stop()
{
    if (!thread_)
        return;
    ++shared_->latest;
    post([](SpeechWorker *w) {
        if (w->usable())
            w->tts()->stop();
    });
}

void SpeechEngine::pause()
{
    if (!thread_)
        return;
    post([](SpeechWorker *w) {
        if (w->usable())
            w->tts()->pause();
    });
}

void SpeechEngine::resume()
{
    if (!thread_)
        return;
    post([](SpeechWorker *w) {
        if (w->usable() && w->tts()->state() == QTextToSpeech::Paused)
            w->tts()->resume();
    });
}

} // namespace varnek
