#include "platform/SprachDienst.h"

#ifdef VARNEK_MIT_SPEECHD

#include <libspeechd.h>

#include <QHash>

#include <csignal>
#include <cstdlib>
#include <mutex>

#include <poll.h>
#include <unistd.h>

namespace varnek
{

namespace
{

class SpeechdDienst;

// libspeechd's callbacks carry no user data, only the client number the
// service gave the connection: the live connections by that number.
std::mutex verzeichnisSperre;
QHash<size_t, SpeechdDienst *> &verzeichnis()
{
    static QHash<size_t, SpeechdDienst *> v;
    return v;
}

// speech-dispatcher through libspeechd: one connection of its own
// (threaded, so the service's notifications arrive on libspeechd's thread),
// German by language, texts of priority "text". Stop and cancel act on this
// connection only.
class SpeechdDienst final : public SprachDienst
{
  public:
    ~SpeechdDienst() override { trenne(); }

    bool verbinde(bool dienstStarten) override
    {
        trenne();
        // A write to a service that has just died must not end the program.
        struct sigaction alt {
        };
        if (::sigaction(SIGPIPE, nullptr, &alt) == 0 && alt.sa_handler == SIG_DFL)
            std::signal(SIGPIPE, SIG_IGN);
        char *fehler = nullptr;
        verbindung_ = spd_open2("varnek", "sprecher", nullptr, SPD_MODE_THREADED, nullptr,
                                dienstStarten ? 1 : 0, &fehler);
        std::free(fehler);
        if (!verbindung_)
            return false;
        wache_ = ::dup(verbindung_->socket);
        const int kunde = spd_get_client_id(verbindung_);
        if (wache_ < 0 || kunde <= 0 || spd_set_language(verbindung_, "de") != 0 ||
            spd_set_notification_on(verbindung_, SPD_BEGIN) != 0 ||
            spd_set_notification_on(verbindung_, SPD_END) != 0 ||
            spd_set_notification_on(verbindung_, SPD_CANCEL) != 0) {
            trenne();
            return false;
        }
        kunde_ = static_cast<size_t>(kunde);
        verbindung_->callback_begin = &melde;
        verbindung_->callback_end = &melde;
        verbindung_->callback_cancel = &melde;
        std::lock_guard<std::mutex> sperre(verzeichnisSperre);
        verzeichnis().insert(kunde_, this);
        return true;
    }

    bool verbunden() override
    {
        if (!verbindung_ || wache_ < 0)
            return false;
        // The copy of the socket sees the service hang up even after
        // libspeechd closed its own descriptor; nothing is read from it.
        pollfd p{wache_, POLLRDHUP, 0};
        if (::poll(&p, 1, 0) < 0)
            return true;
        return (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) == 0;
    }

    long long sprich(const QString &text) override
    {
        if (!verbunden())
            return -1;
        const int nummer = spd_say(verbindung_, SPD_MESSAGE, text.toUtf8().constData());
        return nummer > 0 ? nummer : -1;
    }

    void brichAb() override
    {
        if (verbunden())
            spd_cancel(verbindung_);
    }

    void trenne() override
    {
        if (kunde_) {
            std::lock_guard<std::mutex> sperre(verzeichnisSperre);
            verzeichnis().remove(kunde_);
            kunde_ = 0;
        }
        if (verbindung_) {
            spd_close(verbindung_);
            verbindung_ = nullptr;
        }
        if (wache_ >= 0) {
            ::close(wache_);
            wache_ = -1;
        }
    }

  private:
    static void melde(size_t nachricht, size_t kunde, SPDNotificationType art)
    {
        std::lock_guard<std::mutex> sperre(verzeichnisSperre);
        SpeechdDienst *dienst = verzeichnis().value(kunde);
        if (!dienst || !dienst->melder_)
            return;
        const Ereignis e = art == SPD_EVENT_BEGIN ? Ereignis::Beginn
                           : art == SPD_EVENT_END ? Ereignis::Ende
                                                  : Ereignis::Abbruch;
        dienst->melder_(static_cast<long long>(nachricht), e);
    }

    SPDConnection *verbindung_ = nullptr;
    int wache_ = -1;
    size_t kunde_ = 0;
};

} // namespace

std::unique_ptr<SprachDienst> erzeugeSprachDienst()
{
    return std::make_unique<SpeechdDienst>();
}

} // namespace varnek

#else

namespace varnek
{
std::unique_ptr<SprachDienst> erzeugeSprachDienst()
{
    return erzeugeQtSprachDienst();
}
} // namespace varnek

#endif
