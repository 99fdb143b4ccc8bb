#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace varnek {

class SpeechEngine;

// The program's voice. Offers the six operations the windows press by name:
//   "user1"   read "K1.txt" of the program folder aloud
//   "Hilfe"   read "Hilfe.txt" of the program folder aloud
//   "Stop", "Pause", "Weiter" (continue), "Nochmal" (read the last text again)
// A word or a text framed by "#" is kept silent. Every text handed to the
// engine is announced by spoken() and, when a transcript file is set,
// appended to it as one UTF-8 line. Without a speech engine it stays silent,
// still writes the transcript, and never shows an error.
class SpeechComponent : public QObject {
    Q_OBJECT
public:
    explicit SpeechComponent(const QString &programFolder, QObject *parent = nullptr);
    ~SpeechComponent() override;

    void setTranscriptFile(const QString &path);
    void setMuted(bool muted);

    // Unknown names do nothing.
    void press(const QString &button);

    // The text as it is spoken: "#"-framed words and texts removed.
    static QString speakable(const QString &text);
    QString lastText() const;

Q_SIGNALS:
    void spoken(const QString &text);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace varnek
