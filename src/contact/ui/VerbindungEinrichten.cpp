#include "contact/ui/VerbindungEinrichten.h"

#include "contact/KontoDatei.h"
#include "platform/Passwort.h"
#include "platform/ui/Dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace varnek
{

namespace
{

QSpinBox *portFeld(const char *name, int wert, QWidget *parent)
{
    auto *feld = new QSpinBox(parent);
    feld->setObjectName(QString::fromLatin1(name));
    feld->setRange(1, 65535);
    feld->setValue(wert);
    return feld;
}

} // namespace

VerbindungEinrichten::VerbindungEinrichten(const Einstellungen &einstellungen,
                                           const QString &passwortDatei, QString iniPfad,
                                           PasswortAblage &ablage, QWidget *parent)
    : QDialog(parent), basis_(einstellungen), iniPfad_(std::move(iniPfad)), ablage_(ablage)
{
    setObjectName(QStringLiteral("VerbindungEinrichten"));
    setWindowTitle(QStringLiteral("Verbindung einrichten"));
    auto *form = new QFormLayout;
    const auto zeile = [&](const char *name, const QString &beschriftung, const QString &text) {
        auto *feld = new QLineEdit(text, this);
        feld->setObjectName(QString::fromLatin1(name));
        form->addRow(beschriftung, feld);
        return feld;
    };
    TextHost = zeile("TextHost", QStringLiteral("Server (Host):"), einstellungen.host);
    TextBenutzer = zeile("TextBenutzer", QStringLiteral("FTP-Benutzer:"), einstellungen.benutzer);
    TextPasswort = zeile("TextPasswort", QStringLiteral("Passwort:"), einstellungen.passwort);
    TextPasswort->setEchoMode(QLineEdit::Password);
    PortFtp = portFeld("PortFtp", einstellungen.ftpPort, this);
    form->addRow(QStringLiteral("FTP-Port:"), PortFtp);
    PortHttp = portFeld("PortHttp", einstellungen.httpPort, this);
    form->addRow(QStringLiteral("HTTP-Port:"), PortHttp);
    CheckPassiv = new QCheckBox(QStringLiteral("Passiver Modus"), this);
    CheckPassiv->setObjectName(QStringLiteral("CheckPassiv"));
    CheckPassiv->setChecked(einstellungen.passiv.value_or(false));
    form->addRow(QString(), CheckPassiv);
    TextWurzel = zeile("TextWurzel", QStringLiteral("Adress-Ordner (FTP):"),
                       einstellungen.ftpAdressWurzel());
    TextHttpPfad = zeile("TextHttpPfad", QStringLiteral("Adress-Ordner (HTTP):"),
                         ordnerPfad(einstellungen.httpPfad));
    CheckTls = new QCheckBox(QStringLiteral("Verschlüsselt (FTP mit TLS, HTTPS)"), this);
    CheckTls->setObjectName(QStringLiteral("CheckTls"));
    CheckTls->setChecked(einstellungen.tls);
    form->addRow(QString(), CheckTls);
    TextCa =
        zeile("TextCa", QStringLiteral("Zertifizierungsstelle (PEM-Datei, leer: die des Systems):"),
              einstellungen.caDatei);
    TextPasswortDatei =
        zeile("TextPasswortDatei", QStringLiteral("Passwortdatei (leer: im Schlüsselbund):"),
              passwortDatei);

    auto *knoepfe = new QDialogButtonBox(this);
    QPushButton *speichernKnopf =
        knoepfe->addButton(QStringLiteral("Speichern"), QDialogButtonBox::AcceptRole);
    speichernKnopf->setObjectName(QStringLiteral("Speichern"));
    speichernKnopf->setDefault(true);
    QPushButton *abbrechenKnopf =
        knoepfe->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    abbrechenKnopf->setObjectName(QStringLiteral("Abbrechen"));
    connect(speichernKnopf, &QPushButton::clicked, this, &VerbindungEinrichten::speichern);
    connect(abbrechenKnopf, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckTls, &QCheckBox::toggled, this, &VerbindungEinrichten::tlsGeaendert);

    auto *aussen = new QVBoxLayout(this);
    aussen->addLayout(form);
    aussen->addWidget(knoepfe);
    tlsGeaendert();
}

void VerbindungEinrichten::tlsGeaendert()
{
    // TLS transfers are always passive; the authority matters only with TLS.
    CheckPassiv->setEnabled(!CheckTls->isChecked());
    TextCa->setEnabled(CheckTls->isChecked());
}

Einstellungen VerbindungEinrichten::einstellungen() const
{
    Einstellungen e = basis_;
    e.host = TextHost->text().trimmed();
    e.benutzer = TextBenutzer->text().trimmed();
    e.passwort = TextPasswort->text();
    e.ftpPort = PortFtp->value();
    e.httpPort = PortHttp->value();
    e.passiv = CheckPassiv->isChecked();
    e.tls = CheckTls->isChecked();
    e.caDatei = TextCa->text().trimmed();
    e.httpPfad = ordnerPfad(TextHttpPfad->text());
    // The usual root stays "usual": it follows a changed host.
    const QString wurzel = ordnerPfad(TextWurzel->text());
    Einstellungen standard = e;
    standard.adressWurzel.clear();
    const QString alteStandardWurzel = basis_.ftpAdressWurzel();
    e.adressWurzel = (wurzel == standard.ftpAdressWurzel() ||
                      (basis_.adressWurzel.isEmpty() && wurzel == alteStandardWurzel))
                         ? QString()
                         : wurzel;
    return e;
}

QString VerbindungEinrichten::passwortDatei() const
{
    return TextPasswortDatei->text().trimmed();
}

void VerbindungEinrichten::speichern()
{
    const Einstellungen e = einstellungen();
    if (e.host.isEmpty() || e.benutzer.isEmpty()) {
        dialogs::message(this, QStringLiteral("Bitte Server und FTP-Benutzer angeben."));
        return;
    }
    QString datei = passwortDatei();
    Ergebnis r = kontodatei::speichereKonto(iniPfad_, e, datei, ablage_);
    if (!r && datei.isEmpty() && !kontodatei::eingebautesKonto(e)) {
        // No keyring: the password may go into a file only the user can read.
        if (dialogs::question(
                this, r.grund() + QStringLiteral("\n\nDas Passwort stattdessen in einer Datei "
                                                 "speichern, die nur Sie lesen können (0600)?"))) {
            datei = dialogs::saveFile(this, QStringLiteral("varnek-passwort"));
            if (!datei.isEmpty())
                r = kontodatei::speichereKonto(iniPfad_, e, datei, ablage_);
        }
    }
    if (!r) {
        dialogs::message(this, r.grund(), QString(), dialogs::Icon::Critical);
        return;
    }
    TextPasswortDatei->setText(datei);
    Q_EMIT gespeichert(e, datei);
    accept();
}

} // namespace varnek
