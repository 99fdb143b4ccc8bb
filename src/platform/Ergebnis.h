#pragma once

#include <QString>

#include <utility>

namespace varnek
{

// The outcome of an operation that can fail (a file write, an FTP step,
// printing): success, or a German reason the user can read together with
// the error number behind it (errno, a libcurl code, ...; 0 when there is
// none). The caller must look at it: show the reason, or say in a comment
// why a failure does not matter there.
class [[nodiscard]] Ergebnis
{
  public:
    Ergebnis() = default; // success

    static Ergebnis fehler(QString grund, int nummer = 0)
    {
        Ergebnis e;
        e.ok_ = false;
        e.grund_ = std::move(grund);
        e.nummer_ = nummer;
        return e;
    }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    // Empty on success.
    const QString &grund() const { return grund_; }
    int nummer() const { return nummer_; }

  private:
    bool ok_ = true;
    QString grund_;
    int nummer_ = 0;
};

} // namespace varnek
