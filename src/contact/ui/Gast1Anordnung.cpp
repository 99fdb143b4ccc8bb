// The contact window's layout at every size and the way Tab walks through it.
#include "contact/ui/Eingabefelder.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/KlingelCodeRahmen.h"
#include "contact_extras/ui/MenuePanel.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>

namespace varnek
{

void Gast1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    ordneAn();
}

void Gast1::ordneAn()
{
    const QWidget *sicht = centralWidget();
    if (!sicht || rechteSpalte_.size() < 3)
        return;
    const int breite = sicht->width();
    const int hoehe = sicht->height();
    constexpr int rand = 6;
    // The reading indicator and the four play pictures: one column where
    // the window is high enough, else two, else one row beside the
    // received text. The indicators share the first place.
    constexpr int zelleB = 22, zelleH = 18, plaetze = 5;
    const int oben = Text7->y();
    int spalten = 1;
    while (spalten < plaetze && ((plaetze + spalten - 1) / spalten) * zelleH > hoehe - oben - rand)
        spalten = spalten == 1 ? 2 : plaetze;
    const int links = std::min(twips(7800), breite - spalten * zelleB - rand);
    for (int i = 0; i < rechteSpalte_.size(); ++i) {
        const int platzNr = std::max(0, i - 1); // Picture3 and Picture4 share place 0
        rechteSpalte_[i]->setGeometry(links + (platzNr % spalten) * zelleB,
                                      oben + (platzNr / spalten) * zelleH, zelleB, zelleH);
    }
    // The received text makes room for the column and ends above the
    // window's lower edge.
    Text7->resize(std::max(40, std::min(text7Breite_, links - 4 - Text7->x())),
                  std::max(zelleH, std::min(twips(1095), hoehe - rand - oben)));
    // The open ring-code panel covers the received text down to its end.
    if (Frame3->isVisible())
        Frame3->resize(Frame3->width(),
                       std::max(twips(1095), Text7->geometry().bottom() + 1 - Frame3->y()));
    // "Fenster in Vordergrund" and the guide keep a margin from the right
    // edge; the guide wraps onto a second line rather than being cut.
    const int c2 = Check2->sizeHint().width();
    Check2->setGeometry(std::min(twips(5520), breite - rand - c2), Check2->y(), c2,
                        Check2->height());
    // Where two lines are not enough, a smaller type keeps it off the
    // buttons below.
    QFont schrift = font();
    const int platzDa = std::max(60, breite - Label16->x() - rand);
    for (;;) {
        Label16->setFont(schrift);
        const int natuerlich = Label16->fontMetrics().horizontalAdvance(Label16->text()) + 4;
        const int w16 = std::min(natuerlich, platzDa);
        const int h16 = std::max(Label16->heightForWidth(w16), Label16->fontMetrics().height());
        if (h16 <= 2 * Label16->fontMetrics().height() + 2 || schrift.pointSizeF() <= 6) {
            Label16->resize(w16, h16);
            break;
        }
        schrift.setPointSizeF(schrift.pointSizeF() - 0.5);
    }
}

bool Gast1::imBild(const QWidget *w) const
{
    const QWidget *sicht = centralWidget();
    if (!w || !sicht || !sicht->isAncestorOf(w) || !w->isVisible())
        return false;
    return sicht->rect().contains(QRect(w->mapTo(sicht, QPoint(0, 0)), w->size()));
}

bool Gast1::focusNextPrevChild(bool next)
{
    // Tab goes only to controls the window shows: what its size cuts off
    // (the remote browser, the photo column) is skipped.
    QWidget *start = QApplication::focusWidget();
    if (!start || start->window() != this)
        start = this;
    QWidget *w = start;
    for (int n = 0; n < 1000; ++n) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start)
            break;
        if (w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && imBild(w)) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

void Gast1::ordneTabReihe()
{
    // Along the rows of the window: connection and address, the send box and
    // the buttons beside it, then the received text and its play pictures.
    QList<QWidget *> reihe = {kontakt, abbr, beende3Button, Combo2, TextS, KL1};
    reihe << menuePanel_->tabReihe();
    reihe << Check2 << Text7;
    reihe << rechteSpalte_.mid(2);
    for (int i = 1; i < reihe.size(); ++i)
        setTabOrder(reihe[i - 1], reihe[i]);
}

} // namespace varnek
