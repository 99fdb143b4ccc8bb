#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace varnek
{

class SpeechEngine;

// The program's voice. Offers the six operations the windows press by name:
//   "user1"   read "K1.txt" of the program folder aloud
//   "Hilfe"   read "Hilfe.txt" of the program folder aloud
//   "Stop", "Pause", "Weiter" (continue), "Nochmal" (read the last received
//   message again; hints read from "Hilfe.txt" are not repeated)
// A word or a text framed by "#" is kept silent. Texts are queued and read
// whole, in order; "Stop" clears the queue, "Nochmal" queues the last
// message again behind what is waiting, a hint ("Hilfe") cuts or drops the
// hints before it but never a message. Every text is announced by spoken()
// when it starts to be heard and, when a transcript file is set, appended to
// it then as one UTF-8 line; a text cut after it started gets
// " [abgebrochen]" on its line, one dropped before it started a line with
// " [verworfen]". Muted, or without a speech engine, a text counts as
// started at once; no error is ever shown. A message (not a hint) said to
// its end, neither cut nor dropped, is announced by gehoert(); muted, at once.
class SpeechComponent : public QObject
{
    Q_OBJECT
  public:
    explicit SpeechComponent(const QString &programFolder, QObject *parent = nullptr);
    ~SpeechComponent() override;

    void setTranscriptFile(const QString &path);
    // Muted: texts are still announced and written to the transcript, but
    // the speech engine is never started.
    void setMuted(bool muted);

    // Unknown names do nothing. For "user1" a text that is not null is read
    // instead of "K1.txt" (the received text, whose file may be stale).
    void press(const QString &button, const QString &text = QString());

    // The text as it is spoken: control characters are removed, line
    // breaks and tabs become blanks, runs of blanks collapse, and "#"-framed
    // words and texts are removed. A word starting with "#" opens a silent
    // run that ends with the first word (itself included) ending with "#"; a
    // "#" that is never closed is spoken as is.
    static QString speakable(const QString &text);
    // The last received message read aloud (what "Nochmal" repeats).
    QString lastText() const;
    // Whether texts are being said or wait to be said.
    bool speaking() const;
    // Whether the speech engine has been started (never while muted).
    bool engineStarted() const;

  Q_SIGNALS:
    void spoken(const QString &text);
    void gehoert(const QString &text);

  private:
    // Return the text spoken. A hint replaces the hints before it, waiting
    // or being said; it never cuts a message.
    QString readAloud(const QString &fileName, bool hinweis = false);
    void speak(const QString &text, bool hinweis = false);
    void beginnt(quint64 nummer);
    void endet(quint64 nummer, const char *vermerk);
    void protokolliere(const QString &text, const char *vermerk);

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace varnek
