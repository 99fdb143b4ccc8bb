#include "contact/ui/KlingelCodeRahmen.h"

#include "contact/Senden.h"
#include "contact/ui/Eingabefelder.h"
#include "help/ui/Hinweise.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnek
{

KlingelCodeRahmen::KlingelCodeRahmen(QString programmOrdner, QWidget *parent)
    : QGroupBox(QStringLiteral("Klingel-Signal-Code:"), parent),
      programmOrdner_(std::move(programmOrdner))
{
    setObjectName(QStringLiteral("Frame3"));
    // Opened, the panel lies over the received text and hides it.
    setAutoFillBackground(true);
    const auto knopf = [this](const char *name, const QString &text) {
        return benannt(new QPushButton(text, this), name);
    };
    Combo3 = platz(benannt(new Kombi(this), "Combo3"), 120, 300, 3000, 315);
    Combo3->beiTaste = [this] { Hinweise::setBackground(Combo3, farbe::gelb); };
    connect(Combo3, &Kombi::enter, this, &KlingelCodeRahmen::enter);
    Combo3->setEditText(QString::fromLatin1(kaco::kStandard));
    auto *zu = platz(knopf("Command21", QStringLiteral("zu")), 3240, 300, 600, 315);
    auto *uebernimm =
        platz(knopf("Command22", QStringLiteral("^&übernehme^")), 3900, 300, 1300, 315);
    auto *laden = platz(knopf("ladeKC", QStringLiteral("laden...")), 5300, 300, 1000, 315);
    auto *speichern =
        platz(knopf("klinelcodspeichern", QStringLiteral("Speichern")), 5300, 660, 1000, 315);
    auto *Label21 = platz(benannt(new QLabel(QStringLiteral("^übernehme^"), this), "Label21"), 120,
                          700, 1300, 255);
    auto *Label17 =
        platz(benannt(new QLabel(QStringLiteral("öffne"), this), "Label17"), 6400, 700, 800, 255);

    connect(zu, &QPushButton::clicked, this, &KlingelCodeRahmen::schliessen);
    connect(uebernimm, &QPushButton::clicked, this, &KlingelCodeRahmen::uebernehmenUndSchliessen);
    connect(laden, &QPushButton::clicked, this, &KlingelCodeRahmen::ladeKlingelCodes);
    connect(speichern, &QPushButton::clicked, this, &KlingelCodeRahmen::speichereKlingelCode);
    connect(Combo3, &QComboBox::activated, this,
            [this] { Q_EMIT gewaehlt(Combo3->currentText()); });
    for (QObject *o : std::initializer_list<QObject *>{Label21, Label17})
        o->installEventFilter(this);
}

QComboBox *KlingelCodeRahmen::combo() const
{
    return Combo3;
}

QString KlingelCodeRahmen::code() const
{
    return Combo3->currentText();
}

void KlingelCodeRahmen::ladeKlingelCodes()
{
    List6.clear();
    Combo3->clear();
    Combo3->setEditText(QString::fromLatin1(kaco::kStandard));
    const auto liste = kaco::laden(programmOrdner_);
    if (!liste)
        return;
    List6 = *liste;
    Combo3->addItems(List6);
    Combo3->setEditText(QString::fromLatin1(kaco::kStandard));
}

void KlingelCodeRahmen::speichereKlingelCode()
{
    const QString c = code();
    if (kaco::istDa(List6, c)) {
        dialogs::message(this, QStringLiteral("Bereits da!"));
        return;
    }
    Combo3->addItem(c);
    List6 << c;
    if (!kaco::speichern(programmOrdner_, List6))
        dialogs::message(this, QStringLiteral("Kaco.txt kann nicht gespeichert werden!"));
}

void KlingelCodeRahmen::oeffneKacoDatei()
{
    desktop::open(kaco::pfad(programmOrdner_));
}

bool KlingelCodeRahmen::eventFilter(QObject *watched, QEvent *event)
{
    const QString name = watched->objectName();
    if (event->type() == QEvent::MouseButtonRelease) {
        if (name == QLatin1String("Label21"))
            Q_EMIT uebernehmen();
        else if (name == QLatin1String("Label17"))
            oeffneKacoDatei();
    }
    return QGroupBox::eventFilter(watched, event);
}

} // namespace varnek
