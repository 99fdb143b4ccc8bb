#include "bell/ui/Klingel2.h"

#include "bell/RingLog.h"
#include "contact/Einstellungen.h"
#include "help/ui/Hinweise.h"
#include "platform/AnsiText.h"
#include "platform/Clock.h"
#include "platform/Schreiber.h"
#include "platform/Zeitgeber.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Programmdienste.h"
#include "platform/ui/Twips.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <utility>

namespace varnek
{

namespace
{

const QString titel = QStringLiteral("Achtung ein Gast hat geklingelt !");
constexpr int tonAbstandMs = 150;

// The six buttons whose highlight the hints move around.
constexpr const char *knoepfe[] = {"laden",    "loesche1", "speichermList1",
                                   "Command4", "lese1",    "Command2"};

std::vector<std::pair<const char *, QColor>> alleWeissAusser(const char *ausser)
{
    std::vector<std::pair<const char *, QColor>> v;
    for (const char *name : knoepfe)
        if (qstrcmp(name, ausser) != 0)
            v.emplace_back(name, farbe::weiss);
    return v;
}

void setzeSchrift(QWidget *w, const QColor &farbe)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, farbe);
    p.setColor(QPalette::Text, farbe);
    w->setPalette(p);
}

} // namespace

Klingel2::Klingel2(Programmdienste &programm)
    : programm_(programm), timer1_(new Zeitgeber(this)), timer2_(new Zeitgeber(this)),
      timer3_(new Zeitgeber(this)), timer4_(new Zeitgeber(this)), timer5_(new Zeitgeber(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(titel);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    baueOberflaeche();
    installiereHinweise();

    // As laid out: the single ring and the flash timers are on and wait for
    // a period; the repeat ring waits for the alert, the delayed entry for a ring.
    timer2_->setEnabled(true);
    timer3_->setEnabled(true);
    timer4_->setEnabled(true);
    connect(timer1_, &Zeitgeber::tick, this, [this] {
        klingeln(3);
        zeigen();
        klingeln(6);
    });
    connect(timer2_, &Zeitgeber::tick, this, [this] {
        klingeln(2);
        timer1_->setEnabled(false);
        timer2_->setEnabled(false);
    });
    connect(timer3_, &Zeitgeber::tick, this, [this] { setzeAlarmzeile(farbe::gelb); });
    connect(timer4_, &Zeitgeber::tick, this, [this] {
        setzeAlarmzeile(farbe::weiss);
        // Both fire at every second second; start the yellow one's count
        // afresh so that white stays for a second and the line really flashes.
        timer3_->setInterval(timer3_->interval());
    });
    connect(timer5_, &Zeitgeber::tick, this, [this] {
        trageEin(klingelText_);
        timer5_->setEnabled(false);
    });
    tonTakt_.setInterval(tonAbstandMs);
    connect(&tonTakt_, &QTimer::timeout, this, &Klingel2::naechsterTon);
    wiederholTakt_.setInterval(bisAntwortAbstandMs);
    connect(&wiederholTakt_, &QTimer::timeout, this, &Klingel2::wiederholeKlingeln);
}

Klingel2::~Klingel2()
{
    stoppeBisAntwort();
    Hinweise::loesen(this);
    removeEventFilter(this);
    const QList<QWidget *> alle = findChildren<QWidget *>();
    for (QWidget *w : alle)
        w->removeEventFilter(this);
}

void Klingel2::baueOberflaeche()
{
    // One row below the log holds "Klingeln bis Antwort".
    setFixedSize(twips(4860), twips(3300));
    QFont schrift = font();
    schrift.setPointSize(8);
    setFont(schrift);
    Hinweise::setBackground(this, farbe::rot);
    const QPalette system = QApplication::palette();

    auto *label2 = new QLabel(QStringLiteral("#dingdong#"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(twips(120, 120, 1215, 255));
    setzeSchrift(label2, farbe::weiss);

    label3_ = new QLabel(QStringLiteral("Uhr"), this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setGeometry(twips(1200, 360, 975, 255));
    label3_->setPalette(system);
    label3_->setAutoFillBackground(true);

    auto *picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setGeometry(twips(480, 480, 495, 615));
    picture1->setPalette(system);
    picture1->setAutoFillBackground(true);
    picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture1->setAlignment(Qt::AlignCenter);
    picture1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(24, 24));

    command2_ = new QPushButton(QStringLiteral("&OK"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(twips(1080, 600, 1095, 495));
    connect(command2_, &QPushButton::clicked, this, &Klingel2::bestaetige);

    optionen_ = new QButtonGroup(this);
    const char *optionTexte[] = {"Klingel Ton Aus", "Klingel Intervall Ein",
                                 "Klingel Intervall Aus"};
    const QRect optionLage[] = {twips(2400, 120, 2535, 255), twips(2400, 360, 2535, 375),
                                twips(2400, 720, 2415, 375)};
    for (int i = 0; i < ringlog::optionen; ++i) {
        auto *o = new QRadioButton(QString::fromUtf8(optionTexte[i]), this);
        o->setObjectName(QStringLiteral("Option1"));
        o->setProperty("Index", i);
        o->setGeometry(optionLage[i]);
        QPalette p = o->palette();
        p.setColor(QPalette::WindowText, farbe::weiss);
        p.setColor(QPalette::Base, farbe::weiss);
        o->setPalette(p);
        optionen_->addButton(o, i);
        option1_[i] = o;
    }
    connect(optionen_, &QButtonGroup::idClicked, this, &Klingel2::optionGeklickt);

    check1_ = new QCheckBox(QStringLiteral("Klingeln bis Antwort"), this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(twips(120, 2985, 3375, 255));
    {
        QPalette p = check1_->palette();
        p.setColor(QPalette::WindowText, farbe::weiss);
        p.setColor(QPalette::Base, farbe::weiss);
        check1_->setPalette(p);
    }
    connect(check1_, &QCheckBox::clicked, this, &Klingel2::bisAntwortGeklickt);

    label1_ = new QLabel(titel, this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(twips(120, 1200, 4935, 375));
    setzeSchrift(label1_, farbe::weiss);

    list1_ = new QListWidget(this);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setGeometry(twips(120, 1680, 3375, 1230));
    list1_->setSortingEnabled(false);
    QPalette lp = list1_->palette();
    lp.setColor(QPalette::Base, farbe::gelb);
    lp.setColor(QPalette::Text, Qt::black);
    list1_->setPalette(lp);
    // Selection by mouse or keys; a click on the entry already selected too.
    connect(list1_, &QListWidget::itemSelectionChanged, this, &Klingel2::eintragGewaehlt);
    connect(list1_, &QListWidget::itemClicked, this, &Klingel2::eintragGewaehlt);
    connect(list1_, &QListWidget::itemDoubleClicked, this, &Klingel2::liesEintrag);

    struct Knopf {
        const char *name, *text, *tipp;
        int oben;
        void (Klingel2::*tut)();
    };
    const Knopf knoepfeRechts[] = {
        {"laden", "lade", "Lade-Klingelbuch", 1680, &Klingel2::laden},
        {"loesche1", "lösche", "Lösche-Klingelbuch", 1920, &Klingel2::leereListe},
        {"speichermList1", "speichern", "Speichern-Klingelbuch", 2160, &Klingel2::speichereListe},
        {"Command4", "öffne", "Öffne-Klingelbuch", 2400, &Klingel2::oeffneLogDatei},
        {"lese1", " lese", "lese-Auswahl-Klingelbuch", 2640, &Klingel2::liesEintrag},
    };
    for (const Knopf &k : knoepfeRechts) {
        auto *b = new QPushButton(QString::fromUtf8(k.text), this);
        b->setObjectName(QString::fromLatin1(k.name));
        b->setToolTip(QString::fromUtf8(k.tipp));
        b->setGeometry(twips(3600, k.oben, 1095, 255));
        connect(b, &QPushButton::clicked, this, k.tut);
    }
    for (const char *name : knoepfe) {
        auto *b = findChild<QPushButton *>(QString::fromLatin1(name));
        Hinweise::setBackground(b, farbe::weiss);
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, Qt::black);
        b->setPalette(p);
    }

    baueTasten();
    for (QWidget *w : {static_cast<QWidget *>(label1_), static_cast<QWidget *>(command2_)})
        w->installEventFilter(this);
}

void Klingel2::installiereHinweise()
{
    const QColor keine;
    std::vector<Hinweis> tabelle = {
        {"Command2", QStringLiteral(" OK Fenster zu!"), farbe::gelb, farbe::gelb, farbe::weiss},
        {"laden", QStringLiteral(" Lade-Klingelbuch!"), farbe::gelb, farbe::gelb, keine,
         alleWeissAusser("laden")},
        {"loesche1", QStringLiteral(" Lösche-Klingelbuch!"), farbe::gelb, farbe::gelb, keine,
         alleWeissAusser("loesche1")},
        {"speichermList1", QStringLiteral(" Speichern-Klingelbuch!"), farbe::gelb, farbe::gelb,
         keine, alleWeissAusser("speichermList1")},
        {"Command4", QStringLiteral(" Öffne-Klingelbuch!"), farbe::gelb, farbe::gelb, keine,
         alleWeissAusser("Command4")},
        {"lese1", QStringLiteral(" Lese-Auswahl-Klingelbuch!"), farbe::gelb, farbe::gelb, keine,
         alleWeissAusser("lese1")},
        {"List1", QStringLiteral(" Klingelbuch!"), keine, keine, keine, {}, false},
        {"Option1",
         QStringLiteral(" Klingel Intervall ein und aus!"),
         keine,
         keine,
         keine,
         {},
         false},
        {"Check1",
         QStringLiteral(" Klingeln bis Antwort: alle 10 Sekunden, bis eine Taste oder ein "
                        "Klick im Fenster antwortet, höchstens 30 Minuten!"),
         keine, keine, keine},
        {"", QString(), keine, keine, keine, alleWeissAusser("")},
    };
    Programmdienste &programm = programm_;
    Hinweise *hinweise = Hinweise::install(this, std::move(tabelle),
                                           [&programm](const QString &t) { programm.hinweis(t); });
    // The table reaches the first option button by name; the other two share it.
    for (QRadioButton *o : option1_) {
        o->setMouseTracking(true);
        o->installEventFilter(hinweise);
    }
}

QString Klingel2::datei(const QString &name) const
{
    return programm_.einstellungen().datei(name);
}

void Klingel2::lade()
{
    ladeAlarmOffen_ = true;
    laden();
    waehleOption(ringlog::leseModus(datei(ringlog::modusDatei)));
    check1_->setChecked(ringlog::leseBisAntwort(datei(ringlog::modusDatei)));
    alarmieren();
    timer3_->setInterval(1000);
    timer4_->setInterval(2000);
    label3_->setText(clock::now().toString(QStringLiteral("hh:mm:ss")));
}

void Klingel2::alarmieren()
{
    // Before the message box of mode 0: answering the box answers the ring.
    starteBisAntwort();
    switch (ringlog::alarm(gewaehlteOption())) {
    case ringlog::Alarm::Meldung:
        dialogs::message(this, titel);
        break;
    case ringlog::Alarm::Intervall:
        timer1_->setInterval(3000);
        break;
    case ringlog::Alarm::Einmal:
        timer2_->setInterval(1000);
        break;
    }
    timer1_->setEnabled(true);
}

void Klingel2::zeigen()
{
    show();
    raise();
    activateWindow();
}

void Klingel2::klingelnEmpfangen(const QString &empfangen)
{
    klingelText_ = empfangen;
    timer5_->setInterval(500);
    timer5_->setEnabled(true);
    // Every ring waits for its own answer, also one while the window is open;
    // the ring that loaded the window waits since the load's alert.
    if (!std::exchange(ladeAlarmOffen_, false))
        starteBisAntwort();
}

void Klingel2::trageEin(const QString &empfangen)
{
    list1_->addItem(ringlog::eintrag(clock::now(), empfangen));
    ladeAlarmOffen_ = false;
    if (antwortNachEintrag_) {
        list1_->addItem(ringlog::beantwortet(*antwortNachEintrag_));
        antwortNachEintrag_.reset();
    }
}

void Klingel2::bestaetige()
{
    timer1_->setEnabled(false);
    timer2_->setEnabled(false);
    timer3_->setEnabled(false);
    timer4_->setEnabled(false);
    close();
}

void Klingel2::laden()
{
    list1_->addItems(ringlog::lade(datei(ringlog::logDatei)));
}

void Klingel2::leereListe()
{
    list1_->clear();
}

void Klingel2::speichereListe()
{
    QStringList eintraege;
    for (int i = 0; i < list1_->count(); ++i)
        eintraege << list1_->item(i)->text();
    if (const Ergebnis e = ringlog::speichere(datei(ringlog::logDatei), eintraege); !e)
        dialogs::message(this, schreiber::meldung(QStringLiteral("aufnahme.txt"), e.grund()));
}

void Klingel2::oeffneLogDatei()
{
    desktop::open(datei(ringlog::logDatei));
}

void Klingel2::liesEintrag()
{
    timer1_->setEnabled(false);
    programm_.hinweis(text1_);
    programm_.liesHinweis();
    const QString pfad = QDir::current().filePath(QStringLiteral("Hilfe.txt"));
    // The help window has just written the same file; one box is enough.
    if (const Ergebnis e = ansi::writeLines(pfad, {QLatin1Char('"') + text1_ + QLatin1Char('"')});
        !e && !programm_.hilfeSchreibfehlerGezeigt())
        dialogs::message(this, e.grund(), QStringLiteral("Fehler"), dialogs::Icon::Critical);
}

int Klingel2::gewaehlteOption() const
{
    return optionen_->checkedId();
}

void Klingel2::waehleOption(int index)
{
    if (index >= 0 && index < ringlog::optionen) {
        option1_[index]->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; let go of it for a moment.
    optionen_->setExclusive(false);
    for (QRadioButton *o : option1_)
        o->setChecked(false);
    optionen_->setExclusive(true);
}

void Klingel2::optionGeklickt()
{
    timer1_->setEnabled(false);
    speichereModus();
}

void Klingel2::speichereModus()
{
    // The choice stays for this run; the next load would not know it.
    if (const Ergebnis e = ringlog::schreibeModus(datei(ringlog::modusDatei), gewaehlteOption(),
                                                  check1_->isChecked());
        !e)
        dialogs::message(this, schreiber::meldung(QStringLiteral("Kling"), e.grund()));
}

void Klingel2::eintragGewaehlt()
{
    const QList<QListWidgetItem *> gewaehlt = list1_->selectedItems();
    if (gewaehlt.isEmpty())
        return;
    text1_ = gewaehlt.first()->text();
    timer1_->setEnabled(false);
}

void Klingel2::baueTasten()
{
    Fenstertasten &tasten = Fenstertasten::von(*this);
    tasten.taste(Qt::Key_Escape, this, [this] {
        timer3_->setEnabled(false);
        timer4_->setEnabled(false);
        close();
    });
    tasten.taste(Qt::Key_F1, this, [this] { programm_.zeigeHilfe(); });
    tasten.taste(Qt::Key_F2, this, &Klingel2::liesEintrag);
    tasten.taste(Qt::Key_F3, this, [this] { programm_.sprich(QStringLiteral("Stop")); });
    tasten.tasteIn(list1_, Qt::Key_Return, this, &Klingel2::liesEintrag);
    tasten.tasteIn(list1_, Qt::Key_Enter, this, &Klingel2::liesEintrag);
}

bool Klingel2::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (watched == label1_ &&
            label1_->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
            setzeAlarmzeile(farbe::gelb);
        break;
    case QEvent::FocusOut:
        if (watched == command2_)
            knoepfeZuruecksetzen();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Klingel2::mouseMoveEvent(QMouseEvent *event)
{
    if (!childAt(event->position().toPoint()))
        knoepfeZuruecksetzen();
    QWidget::mouseMoveEvent(event);
}

void Klingel2::closeEvent(QCloseEvent *event)
{
    alleTimerAus();
    QWidget::closeEvent(event);
}

void Klingel2::alleTimerAus()
{
    for (Zeitgeber *t : {timer1_, timer2_, timer3_, timer4_, timer5_})
        t->setEnabled(false);
    tonTakt_.stop();
    offeneToene_ = 0;
    stoppeBisAntwort();
}

void Klingel2::knoepfeZuruecksetzen()
{
    for (const char *name : knoepfe)
        Hinweise::setBackground(findChild<QWidget *>(QString::fromLatin1(name)), farbe::weiss);
}

void Klingel2::setzeAlarmzeile(const QColor &farbe)
{
    setzeSchrift(label1_, farbe);
}

void Klingel2::klingeln(int anzahl)
{
    offeneToene_ += anzahl;
    if (!tonTakt_.isActive())
        naechsterTon();
}

void Klingel2::naechsterTon()
{
    if (offeneToene_ > 0) {
        --offeneToene_;
        desktop::beep();
    }
    if (offeneToene_ > 0) {
        if (!tonTakt_.isActive())
            tonTakt_.start();
    } else {
        tonTakt_.stop();
    }
}

} // namespace varnek
