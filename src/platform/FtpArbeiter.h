#pragma once

#include "platform/FtpClient.h"

#include <functional>
#include <memory>
#include <thread>

namespace varnek
{

// One FTP session on a thread of its own. The worker owns the FtpClient
// (its libcurl handle and the control connection); operations are handed
// to it and run strictly one after the other, in the order given. Results
// travel back however the operation itself posts them.
class FtpArbeiter
{
  public:
    using Auftrag = std::function<void(FtpClient &)>;

    FtpArbeiter();
    // Drops what waits, cancels what runs and closes the connection without
    // waiting for the server; gives the thread at most a moment to end and
    // leaves it behind otherwise (it ends by itself, touching nothing else).
    ~FtpArbeiter();
    FtpArbeiter(const FtpArbeiter &) = delete;
    FtpArbeiter &operator=(const FtpArbeiter &) = delete;

    void einreihen(Auftrag auftrag);
    // Drops every waiting operation and makes the running one fail at once.
    // Never waits. Operations handed in afterwards run normally.
    void abbrechen();
    // Blocks until nothing waits or runs, at most ms milliseconds; true
    // when the worker became idle.
    bool warte(int ms);

  private:
    struct Zustand;
    std::shared_ptr<Zustand> z_;
};

} // namespace varnek
