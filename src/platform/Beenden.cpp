#include "platform/Beenden.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace varnek
{

namespace
{

int signalPaar[2] = {-1, -1};
QSocketNotifier *melder = nullptr;

// Only what is safe inside a signal handler: one write to the pipe.
void signalHandler(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPaar[0], &c, 1);
}

} // namespace

void beiBeendenSignal(std::function<void()> f)
{
    if (signalPaar[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPaar) != 0)
        return;
    ::fcntl(signalPaar[0], F_SETFL, O_NONBLOCK);
    melder = new QSocketNotifier(signalPaar[1], QSocketNotifier::Read);
    QObject::connect(melder, &QSocketNotifier::activated, melder, [f = std::move(f)] {
        char puffer[16];
        [[maybe_unused]] const ssize_t n = ::read(signalPaar[1], puffer, sizeof puffer);
        f();
    });
    struct sigaction sa = {};
    sa.sa_handler = signalHandler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
}

} // namespace varnek
