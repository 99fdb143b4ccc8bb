#pragma once

#include <QObject>
#include <QString>

class QTextToSpeech;

namespace varnek {

// The system's speech synthesiser behind one small interface. The engine is
// created on first use, not at construction, so starting the program (and
// every test) stays fast. It prefers a German voice: a de_DE locale, else
// any German locale, else the engine's default. When no engine can be
// created, or it reports an error, it is silently unavailable and every
// call does nothing.
class SpeechEngine : public QObject {
    Q_OBJECT
public:
    explicit SpeechEngine(QObject *parent = nullptr);
    ~SpeechEngine() override;

    // Creates the engine if that has not been tried yet.
    bool available();
    // Whether creating the engine has been tried (for tests of mute mode).
    bool started() const { return tried_; }

    // Speaks text, cutting off whatever is being spoken.
    void say(const QString &text);
    void stop();
    void pause();
    void resume();

private:
    bool ensure();
    void chooseGermanLocale();
    bool usable() const;

    QTextToSpeech *tts_ = nullptr;
    bool tried_ = false;
};

} // namespace varnek
