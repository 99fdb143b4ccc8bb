#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace varnek::test
{

// A speech-dispatcher of the test's own: own socket, own configuration, and
// as its only output module the generic one, whose "synthesiser" writes a
// line "an <ns since the epoch> <text>" when it starts a text, waits 0.15 s
// per word, and writes "aus <text>" when the text was said whole. What
// reaches that file is what a listener hears; no sound device is needed.
// While it lives, the speech library of this process is pointed at it and
// may not start a service of the system's own.
class EigenerSprachdienst
{
  public:
    EigenerSprachdienst();
    ~EigenerSprachdienst();
    EigenerSprachdienst(const EigenerSprachdienst &) = delete;
    EigenerSprachdienst &operator=(const EigenerSprachdienst &) = delete;

    // Why no private dispatcher can run here; empty when it can.
    static QString fehlt();

    // Starts the dispatcher and waits for its socket; false when it does not
    // come up.
    bool start();
    // The service dies: no goodbye to its clients.
    void kill();
    // From now on the speech library may start this dispatcher itself, as a
    // desktop starts the system's on demand (killed with this object).
    void erlaubeStart();

    QString socket() const;
    struct Zeile {
        bool an; // start of a text, else its end
        qint64 ns;
        QString text;
    };
    QList<Zeile> gehoert() const;
    QStringList begonnen() const; // texts in the order they started
    QStringList ganz() const;     // texts said whole, in order
    // The file module's lines, the dispatcher's output and log, for failures.
    QString bericht() const;

  private:
    QString path(const QString &name) const;
    QString protokollDatei() const;

    QTemporaryDir dir_;
    QProcess process_;
    QByteArray address_;
    QByteArray command_;
    bool selbstGestartet_ = false;
};

} // namespace varnek::test
