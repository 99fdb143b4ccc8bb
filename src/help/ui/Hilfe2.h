#pragma once

#include <QWidget>

namespace varnek {

class Programm;

// The help window "Hilfe-Fenster": the hint line of every window.
// (Placeholder; the full window replaces it.)
class Hilfe2 : public QWidget {
    Q_OBJECT
public:
    explicit Hilfe2(Programm &programm);

    // The hint line (`Label1`). Setting it mirrors it into the wide view and,
    // with automatic reading on, reads it aloud.
    void setText(const QString &text);
    QString text() const { return text_; }

    bool automatisch() const { return automatisch_; }   // `Check1`
    void setAutomatisch(bool on);

    void Play();      // read the current text aloud now
    void beende();    // close the window
    void zeigen();    // show (modeless)
    // The contact window's help command: place above it after `ms`.
    void platziereUeberGast(int ms);

private:
    Programm &programm_;
    QString text_;
    bool automatisch_ = false;
};

} // namespace varnek
