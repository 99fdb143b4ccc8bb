#include "contact_extras/ui/MenuePanel.h"

#include "contact/ui/Gast1.h"
#include "contact/ui/Gast1Menue.h"
#include "help/ui/Hinweise.h"
#include "platform/Dienste.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fensterdienste.h"
#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Programmdienste.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace varnek
{

namespace
{
// Text colours of `Check2`, which sits on a dark field.
const QColor kCheck2Grund{0x30, 0x3a, 0x4a};
} // namespace

MenuePanel::MenuePanel(Gast1 &gast, Programmdienste &programm, const Felder &felder)
    : QObject(&gast), gast_(gast), programm_(programm), flaeche_(felder.flaeche),
      Check2_(felder.Check2), TextS_(felder.TextS), Combo2_(felder.Combo2),
      Picture28_(felder.Picture28), links_(felder.links)
{
    setObjectName(QStringLiteral("MenuePanel"));
    baueKnoepfe();
    baueLinks();
    verbinde();
    installiereHinweise();
}

const std::vector<MenuePanel::FesterLink> &MenuePanel::festeLinks()
{
    // A project page, a speech site, a marketplace and a search engine.
    static const std::vector<FesterLink> links = {
        {"varnek5Link", "codeberg.org"},
        {"webspech1", "espeak.sourceforge.net"},
        {"ebay1", "www.ebay.de"},
        {"googel1", "www.google.de"},
    };
    return links;
}

QString MenuePanel::beschreibungsDatei()
{
    return QStringLiteral("hilfe-Vx.html");
}

QString MenuePanel::keineAdresseText()
{
    return QStringLiteral(
        "Der empfangene Text ist keine Internet-Adresse und wird nicht geöffnet.\n"
        "Geöffnet werden nur Adressen, die mit http://, https:// oder mailto: beginnen.");
}

void MenuePanel::baueKnoepfe()
{
    const auto knopf = [this](const char *name, const QString &text) {
        return benannt(new QPushButton(text, flaeche_), name);
    };
    Menuee_ = platz(knopf("Menuee", QStringLiteral("&Menü öffnen")), 6240, 1140, 1320, 285);
    Menuee_->hide();
    Command11_ = platz(knopf("Command11", QStringLiteral("&Link öffnen")), 7920, 600, 1350, 345);
    Command20_ = platz(knopf("Command20", QStringLiteral("Klingelfenster")), 7920, 1020, 1350, 345);
    for (QPushButton *b : {Command11_, Command20_})
        Hinweise::setBackground(b, b == Command11_ ? farbe::blau : farbe::weiss);
    // Alt+1 and Alt+2 move the focus to the send box and the address field.
    Fenstertasten &tasten = Fenstertasten::von(gast_);
    tasten.taste(Qt::ALT | Qt::Key_1, this, &MenuePanel::fokusSendeFeld);
    tasten.taste(Qt::ALT | Qt::Key_2, this, &MenuePanel::fokusAdressFeld);

    if (Check2_) {
        Check2_->setBackgroundRole(QPalette::Window);
        Check2_->setAutoFillBackground(true);
        setzeCheck2Textfarbe(false);
        Check2_->installEventFilter(this);
    }
    if (Picture28_)
        Picture28_->installEventFilter(this);
    // The panel follows every repaint of the window (keep in foreground).
    gast_.installEventFilter(this);
    if (flaeche_)
        flaeche_->installEventFilter(this);
}

void MenuePanel::baueLinks()
{
    QMenu *links = links_;
    if (!links)
        return;
    int n = 0;
    for (const FesterLink &l : festeLinks()) {
        if (n++ % 2 == 0)
            links->addSeparator();
        const QString host = QString::fromLatin1(l.host);
        QAction *a = links->addAction(host);
        a->setObjectName(QString::fromLatin1(l.name));
        connect(a, &QAction::triggered, this, [this, host] { oeffneFestenLink(host); });
    }
}

void MenuePanel::verbinde()
{
    const Gast1Menue &menue = gast_.menue();
    connect(menue.kompaktAnsicht(), &QAction::triggered, this, &MenuePanel::zeigeKompakt);
    connect(menue.linkSenden(), &QAction::triggered, this, &MenuePanel::sendeLink);
    connect(menue.linkOeffnen(), &QAction::triggered, this, &MenuePanel::linkOeffnen);
    connect(menue.beschreibung(), &QAction::triggered, this, &MenuePanel::oeffneBeschreibung);
    connect(Menuee_, &QPushButton::clicked, this, &MenuePanel::zeigeMenueleiste);
    connect(Command11_, &QPushButton::clicked, this, &MenuePanel::linkOeffnen);
    connect(Command20_, &QPushButton::clicked, this, &MenuePanel::oeffneKlingelMitText);
    if (Check2_)
        connect(Check2_, &QCheckBox::toggled, this, [this] {
            // The repaint applies the state.
            gast_.update();
            if (flaeche_)
                flaeche_->update();
        });

    // The menu items stay reachable by their keys while the bar is hidden.
    for (QAction *oben : gast_.menuBar()->actions()) {
        if (QMenu *m = oben->menu()) {
            for (QAction *a : m->actions())
                if (!a->isSeparator() && !a->shortcut().isEmpty())
                    gast_.addAction(a);
        }
    }
}

void MenuePanel::installiereHinweise()
{
    using namespace farbe;
    const QColor keine;
    std::vector<Hinweis> tabelle = {
        {"Menuee", QStringLiteral(" Menü öffnen! [Alt+M]"), keine, keine, keine, {}, false},
        {"Check2", QStringLiteral(" Fenster in Vordergrund halten!"), keine, keine, keine},
        {"Command11", QStringLiteral("  Empfangene Internet-Adresse öffnen!"), gelb, gelb, blau},
        {"Command20", QStringLiteral(" Klingelfenster öffnen"), gelb, gelb, weiss},
    };
    Hinweise::install(&gast_, std::move(tabelle),
                      [this](const QString &t) { programm_.hinweis(t); });
}

QList<QWidget *> MenuePanel::tabReihe() const
{
    return {Command11_, Command20_};
}

// --- compact view ---------------------------------------------------------------

void MenuePanel::zeigeKompakt()
{
    zeigeMenues(false);
    gast_.resize(twips(kompaktBreite), twips(kompaktHoehe));
}

void MenuePanel::zeigeMenueleiste()
{
    zeigeMenues(true);
    gast_.resize(gast_.width(), twips(menueHoehe));
}

void MenuePanel::zeigeMenues(bool an)
{
    QMenuBar *leiste = gast_.menuBar();
    for (QAction *a : leiste->actions())
        a->setVisible(an);
    leiste->setVisible(an);
    Menuee_->setVisible(!an);
    kompakt_ = !an;
}

// --- keep in foreground -------------------------------------------------------------

void MenuePanel::vordergrundAnwenden()
{
    if (Check2_)
        SetzeVordergrund(&gast_, Check2_->isChecked());
}

void MenuePanel::setzeCheck2Textfarbe(bool fokus)
{
    QPalette p = Check2_->palette();
    p.setColor(QPalette::Window, kCheck2Grund);
    p.setColor(QPalette::WindowText, fokus ? farbe::gelb : farbe::weiss);
    Check2_->setPalette(p);
}

// --- links ------------------------------------------------------------------------

void MenuePanel::sendeLink()
{
    // The typed address is sent as an ordinary message: the send box's text
    // becomes the one line of the message file, which is uploaded.
    gast_.List2.clear();
    gast_.sendeText();
}

void MenuePanel::linkOeffnen()
{
    // The received text comes from anyone who knows the address: only a web
    // or mail address is handed to the desktop, never a path or a command.
    const QString text = gast_.text7().trimmed();
    if (!istOeffenbareAdresse(text)) {
        dialogs::message(&gast_, keineAdresseText());
        return;
    }
    OeffneDokument(&gast_, text);
}

void MenuePanel::oeffneFestenLink(const QString &host)
{
    desktop::open(QStringLiteral("https://") + host + QLatin1Char('/'));
}

void MenuePanel::oeffneBeschreibung()
{
    const QString datei = findeMitgelieferteDatei(beschreibungsDatei());
    if (datei.isEmpty()) {
        dialogs::message(&gast_, QStringLiteral("Die Beschreibung „%1“ wurde nicht gefunden.")
                                     .arg(beschreibungsDatei()));
        return;
    }
    desktop::open(datei);
}

void MenuePanel::oeffneKlingelMitText()
{
    gast_.menue().klingelfenster()->trigger();
}

// --- focus shortcuts ------------------------------------------------------------------

void MenuePanel::fokusSendeFeld()
{
    gast_.fokusTextS();
}

void MenuePanel::fokusAdressFeld()
{
    gast_.fokusAdresse();
}

void MenuePanel::adressFeldGeklickt()
{
    if (!Combo2_)
        return;
    Combo2_->setFocus(Qt::MouseFocusReason);
    Combo2_->lineEdit()->end(false);
}

bool MenuePanel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint:
        if (watched == &gast_ || watched == flaeche_)
            vordergrundAnwenden();
        break;
    case QEvent::FocusIn:
        if (watched == Check2_)
            setzeCheck2Textfarbe(true);
        break;
    case QEvent::FocusOut:
        if (watched == Check2_)
            setzeCheck2Textfarbe(false);
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Picture28_)
            adressFeldGeklickt();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace varnek
