#include "platform/FtpArbeiter.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace varnek
{

struct FtpArbeiter::Zustand {
    std::mutex mutex;
    std::condition_variable geaendert;
    std::deque<Auftrag> warteschlange;
    bool laeuft = false;
    bool ende = false;
    bool fertig = false; // the thread has left its loop
    FtpClient client;

    void schleife()
    {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            geaendert.wait(lock, [this] { return ende || !warteschlange.empty(); });
            if (ende)
                break;
            Auftrag auftrag = std::move(warteschlange.front());
            warteschlange.pop_front();
            // Reset under the lock: a cancel either comes before this
            // operation was taken (and dropped it) or hits it while it runs.
            client.resetCancel();
            laeuft = true;
            lock.unlock();
            auftrag(client);
            auftrag = nullptr;
            lock.lock();
            laeuft = false;
            geaendert.notify_all();
        }
        lock.unlock();
        client.close();
        lock.lock();
        fertig = true;
        geaendert.notify_all();
    }
};

FtpArbeiter::FtpArbeiter() : z_(std::make_shared<Zustand>())
{
    std::thread([z = z_] { z->schleife(); }).detach();
}

FtpArbeiter::~FtpArbeiter()
{
    std::unique_lock<std::mutex> lock(z_->mutex);
    z_->warteschlange.clear();
    z_->ende = true;
    // Also when idle: the goodbye to a server that stopped answering must
    // not hold up the end of the program.
    z_->client.cancel();
    z_->geaendert.notify_all();
    z_->geaendert.wait_for(lock, std::chrono::milliseconds(500), [this] { return z_->fertig; });
}

void FtpArbeiter::einreihen(Auftrag auftrag)
{
    std::lock_guard<std::mutex> lock(z_->mutex);
    z_->warteschlange.push_back(std::move(auftrag));
    z_->geaendert.notify_all();
}

void FtpArbeiter::abbrechen()
{
    std::lock_guard<std::mutex> lock(z_->mutex);
    z_->warteschlange.clear();
    if (z_->laeuft)
        z_->client.cancel();
}

bool FtpArbeiter::warte(int ms)
{
    std::unique_lock<std::mutex> lock(z_->mutex);
    return z_->geaendert.wait_for(lock, std::chrono::milliseconds(ms),
                                  [this] { return !z_->laeuft && z_->warteschlange.empty(); });
}

} // namespace varnek
