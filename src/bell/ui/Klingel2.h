#pragma once

#include <QWidget>

namespace varnek {

class Programm;

// The bell window "Achtung ein Gast hat geklingelt !".
// (Placeholder; the full window replaces it.)
class Klingel2 : public QWidget {
    Q_OBJECT
public:
    explicit Klingel2(Programm &programm);

    void zeigen();    // show and bring to the front
    void Command6();  // a ring was received: log it 500 ms later
    void Command3();  // log an entry now
    void Command2();  // OK: stop the alert and close

private:
    Programm &programm_;
};

} // namespace varnek
