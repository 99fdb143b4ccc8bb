#pragma once

#include <QString>
#include <QTemporaryDir>

#include <cerrno>

namespace varnek::test
{

// While it lives, every write through the program's writer fails with the
// error number once `nachBytes` more bytes were written.
class SchreibProbe
{
  public:
    explicit SchreibProbe(int fehlerNummer = ENOSPC, qint64 nachBytes = 0);
    ~SchreibProbe();
    SchreibProbe(const SchreibProbe &) = delete;
    SchreibProbe &operator=(const SchreibProbe &) = delete;
};

// A real small filesystem (tmpfs) as a program folder: it can be filled up
// to the last byte or made read-only. Needs the right to mount (root); check
// bereit() and skip otherwise.
class KleinesDateisystem
{
  public:
    explicit KleinesDateisystem(qint64 groesse = 256 * 1024);
    ~KleinesDateisystem();
    KleinesDateisystem(const KleinesDateisystem &) = delete;
    KleinesDateisystem &operator=(const KleinesDateisystem &) = delete;

    bool bereit() const { return gemountet_; }
    QString pfad() const { return dir_.path(); }
    QString datei(const QString &name) const { return dir_.filePath(name); }
    // Fills the remaining space with a filler file: every further write fails.
    void fuellen();
    // Frees the space again (removes the filler file).
    void leeren();
    // Read-only (EROFS) or writable again.
    bool schreibschutz(bool an);

  private:
    QTemporaryDir dir_;
    bool gemountet_ = false;
};

} // namespace varnek::test

// In a test: GTEST_SKIP unless the small filesystem could be mounted.
#define VARNEK_BRAUCHT_DATEISYSTEM(fs)                                                             \
    if (!(fs).bereit())                                                                            \
    GTEST_SKIP() << "mount -t tmpfs is not permitted here"
