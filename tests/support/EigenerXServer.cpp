#include "support/EigenerXServer.h"

#include <QByteArray>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace varnek::test
{

EigenerXServer::EigenerXServer()
{
    int rohr[2];
    if (pipe2(rohr, O_CLOEXEC) != 0) {
        fehler_ = QStringLiteral("pipe failed");
        return;
    }
    const pid_t elternteil = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != elternteil)
            _exit(1);
        const int fd = dup(rohr[1]); // without close-on-exec, for -displayfd
        const QByteArray fdText = QByteArray::number(fd);
        const int leer = open("/dev/null", O_WRONLY);
        dup2(leer, STDOUT_FILENO);
        dup2(leer, STDERR_FILENO);
        execlp("Xvfb", "Xvfb", "-displayfd", fdText.constData(), "-screen", "0", "1280x1024x24",
               "-nolisten", "tcp", "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(rohr[1]);
    if (pid_ < 0) {
        close(rohr[0]);
        fehler_ = QStringLiteral("fork failed");
        return;
    }
    QByteArray zeile;
    pollfd p{rohr[0], POLLIN, 0};
    while (!zeile.contains('\n') && poll(&p, 1, 10000) > 0) {
        char puffer[32];
        const ssize_t n = read(rohr[0], puffer, sizeof puffer);
        if (n <= 0)
            break;
        zeile.append(puffer, n);
    }
    close(rohr[0]);
    bool ok = false;
    const int nummer = zeile.trimmed().toInt(&ok);
    if (!ok) {
        fehler_ = QStringLiteral("Xvfb not found or did not start (install the package xvfb)");
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return;
    }
    display_ = QStringLiteral(":%1").arg(nummer);
}

EigenerXServer::~EigenerXServer()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

namespace
{
EigenerXServer *laufender = nullptr;
}

EigenerXServer *xServer()
{
    return laufender && laufender->laeuft() ? laufender : nullptr;
}

void setzeXServer(EigenerXServer *server)
{
    laufender = server;
}

} // namespace varnek::test
