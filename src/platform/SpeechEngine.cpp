#include "platform/SpeechEngine.h"

#include "platform/Clock.h"
#include "platform/SprachDienst.h"

#include <QLocale>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>

#include <deque>
#include <functional>

namespace varnek
{

namespace
{

qint64 jetztMs()
{
    return clock::now().toMSecsSinceEpoch();
}

// The sentences of a text, each with its closing mark.
QStringList saetze(const QString &text)
{
    static const QRegularExpression grenze(QStringLiteral("(?<=[.!?])\\s+"));
    QStringList s = text.split(grenze, Qt::SkipEmptyParts);
    if (s.isEmpty())
        s << text;
    return s;
}

} // namespace

// The queue and the connection, on the engine's thread.
class SpeechWorker : public QObject
{
    Q_OBJECT
  public:
    explicit SpeechWorker(std::function<void(int)> zustand) : zustand_(std::move(zustand)) {}

    ~SpeechWorker() override
    {
        // Only what this program is saying is cut; a silent program stops
        // nothing.
        if (dienst_ && verbunden_ && uebergeben_)
            dienst_->brichAb();
        dienst_.reset();
    }

    void starte()
    {
        dienst_ = erzeugeSprachDienst();
        dienst_->setzeMelder([this](long long nummer, SprachDienst::Ereignis e) {
            QMetaObject::invokeMethod(
                this, [this, nummer, e] { ereignis(nummer, e); }, Qt::QueuedConnection);
        });
        verbunden_ = dienst_->verbinde(true);
        jeVerbunden_ = verbunden_;
        zustand_(verbunden_ ? 1 : 2);
        auto *takt = new QTimer(this);
        takt->setInterval(SpeechEngine::lebenszeichenMs);
        connect(takt, &QTimer::timeout, this, &SpeechWorker::pruefe);
        takt->start();
    }

    void sage(quint64 nummer, const QString &text, bool ersetzbar)
    {
        if (!jeVerbunden_) {
            // No speech service at all: nothing can be heard.
            Q_EMIT begonnen(nummer);
            Q_EMIT beendet(nummer);
            return;
        }
        if (ersetzbar)
            ersetzeHinweise();
        schlange_.push_back(Text{nummer, saetze(text), 0, jetztMs(), false, 0, ersetzbar});
        weiter();
    }

    void halt()
    {
        pausiert_ = false;
        if (uebergeben_) {
            uebergeben_ = 0;
            dienst_->brichAb();
        }
        while (!schlange_.empty())
            entferneVorderen(false);
    }

    void pausiere()
    {
        if (pausiert_ || schlange_.empty())
            return;
        pausiert_ = true;
        // The cut sentence stays the current one: resume says it again.
        if (uebergeben_) {
            uebergeben_ = 0;
            dienst_->brichAb();
        }
    }

    void fahreFort()
    {
        if (!pausiert_)
            return;
        pausiert_ = false;
        weiter();
    }

  Q_SIGNALS:
    void begonnen(quint64 nummer);
    void beendet(quint64 nummer);
    void abgebrochen(quint64 nummer);
    void verworfen(quint64 nummer);

  private:
    struct Text {
        quint64 nummer;
        QStringList saetze;
        qsizetype satz; // the sentence to say next
        qint64 seit;    // when it was handed to say()
        bool begonnen;
        int fremdAbbrueche; // cancelled by the service for another client
        bool ersetzbar;
    };

    // A new hint makes the older hints pointless; messages stay.
    void ersetzeHinweise()
    {
        for (auto it = schlange_.begin(); it != schlange_.end();) {
            if (!it->ersetzbar) {
                ++it;
                continue;
            }
            if (it == schlange_.begin() && uebergeben_) {
                uebergeben_ = 0;
                dienst_->brichAb();
            }
            const quint64 n = it->nummer;
            const bool begonnen = it->begonnen;
            it = schlange_.erase(it);
            if (begonnen)
                Q_EMIT abgebrochen(n);
            else
                Q_EMIT verworfen(n);
        }
    }

    // Hands the next sentence to the service when it is free.
    void weiter()
    {
        if (!verbunden_ || pausiert_ || uebergeben_ || schlange_.empty())
            return;
        const Text &t = schlange_.front();
        const long long nummer = dienst_->sprich(t.saetze.at(t.satz));
        if (nummer < 0) {
            verloren();
            return;
        }
        uebergeben_ = nummer;
    }

    void ereignis(long long nummer, SprachDienst::Ereignis e)
    {
        // Events of sentences cut by stop or pause are stale.
        if (nummer != uebergeben_ || schlange_.empty())
            return;
        Text &t = schlange_.front();
        if (!t.begonnen && e != SprachDienst::Ereignis::Abbruch) {
            t.begonnen = true;
            Q_EMIT begonnen(t.nummer);
        }
        if (e == SprachDienst::Ereignis::Beginn)
            return;
        uebergeben_ = 0;
        if (e == SprachDienst::Ereignis::Abbruch) {
            // The service made way for another client's message: the
            // sentence is handed over again on the next beat.
            if (++t.fremdAbbrueche > 8)
                entferneVorderen(false);
            return;
        }
        t.fremdAbbrueche = 0;
        if (++t.satz >= t.saetze.size())
            entferneVorderen(true);
        weiter();
    }

    void entferneVorderen(bool ganz)
    {
        const Text t = schlange_.front();
        schlange_.pop_front();
        if (ganz)
            Q_EMIT beendet(t.nummer);
        else if (t.begonnen)
            Q_EMIT abgebrochen(t.nummer);
        else
            Q_EMIT verworfen(t.nummer);
    }

    void verloren()
    {
        verbunden_ = false;
        uebergeben_ = 0;
        dienst_->trenne();
        zustand_(2);
    }

    // Texts that waited through a failure for more than a minute are
    // dropped: a late message would only confuse.
    void verwirfAlte()
    {
        const qint64 jetzt = jetztMs();
        while (!schlange_.empty() &&
               jetzt - schlange_.front().seit > SpeechEngine::hoechstesAlterMs)
            entferneVorderen(false);
        for (auto it = schlange_.begin(); it != schlange_.end();) {
            if (jetzt - it->seit > SpeechEngine::hoechstesAlterMs) {
                const quint64 n = it->nummer;
                it = schlange_.erase(it);
                Q_EMIT verworfen(n);
            } else {
                ++it;
            }
        }
    }

    // Every beat: notice a dead service, reconnect, or retry a sentence the
    // service cancelled for someone else.
    void pruefe()
    {
        if (verbunden_) {
            if (dienst_->verbunden()) {
                weiter();
                return;
            }
            verloren();
        }
        verwirfAlte();
        const qint64 jetzt = jetztMs();
        if (jetzt - letzterVersuch_ < SpeechEngine::wiederverbindenMs)
            return;
        letzterVersuch_ = jetzt;
        // The service itself is started again only for a waiting text, and
        // not more often than every few seconds.
        const bool starten = !schlange_.empty() && jetzt - letzterStart_ >= 5000;
        if (starten)
            letzterStart_ = jetzt;
        if (!dienst_->verbinde(starten))
            return;
        verbunden_ = true;
        jeVerbunden_ = true;
        zustand_(1);
        weiter();
    }

    std::function<void(int)> zustand_;
    std::unique_ptr<SprachDienst> dienst_;
    std::deque<Text> schlange_;
    long long uebergeben_ = 0; // number of the sentence with the service, 0 none
    bool pausiert_ = false;
    bool verbunden_ = false;
    bool jeVerbunden_ = false;
    qint64 letzterVersuch_ = 0;
    qint64 letzterStart_ = 0;
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
    // Qt's engines start with a voice of the default locale; with no
    // language at all (the C locale) this German program speaks German.
    if (QLocale().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("Sprachausgabe"));
    worker_ = new SpeechWorker([shared = shared_](int s) { shared->state = s; });
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &SpeechWorker::begonnen, this, &SpeechEngine::begonnen);
    connect(worker_, &SpeechWorker::beendet, this, &SpeechEngine::beendet);
    connect(worker_, &SpeechWorker::abgebrochen, this, &SpeechEngine::abgebrochen);
    connect(worker_, &SpeechWorker::verworfen, this, &SpeechEngine::verworfen);
    thread_->start();
    post([](SpeechWorker *w) { w->starte(); });
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

quint64 SpeechEngine::say(const QString &text, bool ersetzbar)
{
    start();
    const quint64 nummer = ++shared_->nummer;
    post([nummer, text, ersetzbar](SpeechWorker *w) { w->sage(nummer, text, ersetzbar); });
    return nummer;
}

// Stop, pause and resume never start the engine: with nothing said yet
// there is nothing to act on.
void SpeechEngine::stop()
{
    if (thread_)
        post([](SpeechWorker *w) { w->halt(); });
}

void SpeechEngine::pause()
{
    if (thread_)
        post([](SpeechWorker *w) { w->pausiere(); });
}

void SpeechEngine::resume()
{
    if (thread_)
        post([](SpeechWorker *w) { w->fahreFort(); });
}

} // namespace varnek

#include "SpeechEngine.moc"
