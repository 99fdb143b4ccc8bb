#pragma once

#include <QMainWindow>

namespace varnek {

class Programm;

// The contact window "     Varnek-5-VX:".
class Gast1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Gast1(Programm &programm);
    ~Gast1() override;

    QString text7() const;   // the received text as shown
    void fokusTextS();       // give the send box the focus

private:
    Programm &programm_;
};

} // namespace varnek
