#include "platform/FtpArbeiter.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace varnek
{

// Shared by both sides and the reports under way: the worker outlives its
// FtpArbeiter when a call does not end in time.
struct FtpArbeiter::Zustand {
    std::mutex mutex;
    std::condition_variable geaendert;
    // Bumped by a cancel: operations and reports of before are dropped.
    std::atomic<quint64> generation{0};
    int offen = 0; // handed in, neither done nor dropped yet
    bool laeuft = false;
};

// Lives on the session's thread and owns the client there.
class FtpArbeiterObjekt : public QObject
{
    Q_OBJECT
  public:
    explicit FtpArbeiterObjekt(std::shared_ptr<FtpArbeiter::Zustand> z) : z_(std::move(z)) {}

    FtpSitzung client;

    void fuehreAus(quint64 generation, const FtpArbeiter::Auftrag &auftrag)
    {
        std::unique_lock<std::mutex> lock(z_->mutex);
        if (generation == z_->generation) {
            // Reset under the lock: a cancel either comes before this
            // operation was taken (and drops it) or hits it while it runs.
            client.setzeAbbruchZurueck();
            z_->laeuft = true;
            lock.unlock();
            auftrag(client, [this, generation](FtpArbeiter::Meldung meldung) {
                Q_EMIT gemeldet(generation, meldung);
            });
            lock.lock();
            z_->laeuft = false;
        }
        --z_->offen;
        z_->geaendert.notify_all();
    }

  Q_SIGNALS:
    void gemeldet(quint64 generation, const FtpArbeiter::Meldung &meldung);

  private:
    std::shared_ptr<FtpArbeiter::Zustand> z_;
};

FtpArbeiter::FtpArbeiter(QObject *kontext) : z_(std::make_shared<Zustand>())
{
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("FTP"));
    worker_ = new FtpArbeiterObjekt(z_);
    worker_->moveToThread(thread_);
    // The worker is deleted on its own thread as that thread ends, the
    // thread where it was made once it has ended.
    QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    QObject::connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    // Queued onto the context's thread; Qt drops what is under way when the
    // context goes.
    QObject::connect(
        worker_, &FtpArbeiterObjekt::gemeldet, kontext,
        [z = z_](quint64 generation, const Meldung &meldung) {
            if (generation == z->generation)
                meldung();
        },
        Qt::QueuedConnection);
    thread_->start();
}

FtpArbeiter::~FtpArbeiter()
{
    {
        std::lock_guard<std::mutex> lock(z_->mutex);
        ++z_->generation;
        // Also when idle: the goodbye to a server that stopped answering
        // must not hold up the end of the program.
        worker_->client.brichAb();
    }
    thread_->quit();
    if (thread_->wait(500))
        delete thread_;
}

void FtpArbeiter::einreihen(Auftrag auftrag)
{
    quint64 generation = 0;
    {
        std::lock_guard<std::mutex> lock(z_->mutex);
        ++z_->offen;
        generation = z_->generation;
    }
    FtpArbeiterObjekt *worker = worker_;
    QMetaObject::invokeMethod(
        worker,
        [worker, generation, auftrag = std::move(auftrag)] {
            worker->fuehreAus(generation, auftrag);
        },
        Qt::QueuedConnection);
}

void FtpArbeiter::abbrechen()
{
    std::lock_guard<std::mutex> lock(z_->mutex);
    ++z_->generation;
    if (z_->laeuft)
        worker_->client.brichAb();
}

bool FtpArbeiter::warte(int ms)
{
    std::unique_lock<std::mutex> lock(z_->mutex);
    return z_->geaendert.wait_for(lock, std::chrono::milliseconds(ms),
                                  [this] { return z_->offen == 0; });
}

} // namespace varnek

#include "FtpArbeiter.moc"
