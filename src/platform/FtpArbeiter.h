#pragma once

#include "platform/FtpSitzung.h"

#include <functional>
#include <memory>

class QObject;
class QThread;

namespace varnek
{

class FtpArbeiterObjekt;

// One FTP session on a thread of its own. The worker object on that thread
// owns the FtpSitzung (its libcurl handle and the control connection);
// operations are handed to it and run strictly one after the other, in the
// order given. What an operation reports travels back to the thread of the
// context object given at construction and runs there, unless a cancel came
// in between or the context is gone by then.
class FtpArbeiter
{
  public:
    // Runs on the context's thread.
    using Meldung = std::function<void()>;
    // Hands a Meldung back; called on the worker.
    using Melder = std::function<void(Meldung)>;
    // Runs on the worker.
    using Auftrag = std::function<void(FtpSitzung &, const Melder &)>;

    explicit FtpArbeiter(QObject *kontext);
    // Drops what waits, cancels what runs and closes the connection without
    // waiting for the server; gives the thread at most a moment to end and
    // leaves it behind otherwise (it ends by itself, touching nothing else,
    // and the worker goes with it).
    ~FtpArbeiter();
    FtpArbeiter(const FtpArbeiter &) = delete;
    FtpArbeiter &operator=(const FtpArbeiter &) = delete;

    void einreihen(Auftrag auftrag);
    // Drops every waiting operation and makes the running one fail at once;
    // nothing they report reaches the context any more. Never waits.
    // Operations handed in afterwards run normally.
    void abbrechen();
    // Blocks until nothing waits or runs, at most ms milliseconds; true
    // when the worker became idle.
    bool warte(int ms);

  private:
    friend class FtpArbeiterObjekt;
    struct Zustand;
    std::shared_ptr<Zustand> z_;
    QThread *thread_ = nullptr;
    FtpArbeiterObjekt *worker_ = nullptr;
};

} // namespace varnek
