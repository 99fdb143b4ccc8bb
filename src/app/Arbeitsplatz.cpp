#include "app/Arbeitsplatz.h"

#include "contact/SpeechComponent.h"
#include "platform/AnsiText.h"
#include "platform/Autostart.h"
#include "platform/Dienste.h"
#include "platform/ui/Benachrichtigung.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QUrl>

namespace varnek
{

namespace
{
// The program's icon for the notification service: the icon theme's
// "varnek" where the program is installed, the shipped file otherwise.
QString meldungsSymbol()
{
    const QString datei = findeMitgelieferteDatei(QStringLiteral("varnek.svg"));
    return datei.isEmpty() ? QStringLiteral("varnek") : QUrl::fromLocalFile(datei).toString();
}
} // namespace

Arbeitsplatz::Arbeitsplatz(const Einstellungen &einstellungen, SpeechComponent &sprecher,
                           QObject *parent)
    : QObject(parent), einstellungen_(einstellungen), sprecher_(sprecher),
      symbol_(new QSystemTrayIcon(this)), menue_(new QMenu),
      benachrichtigung_(new Benachrichtigung(meldungsSymbol(), this))
{
    menue_->setObjectName(QStringLiteral("Infobereichmenue"));
    QAction *zeigen = menue_->addAction(QStringLiteral("Fenster zeigen"));
    zeigen->setObjectName(QStringLiteral("fensterZeigen"));
    stumm_ = menue_->addAction(QStringLiteral("Sprache stumm"));
    stumm_->setObjectName(QStringLiteral("spracheStumm"));
    stumm_->setCheckable(true);
    stumm_->setChecked(einstellungen_.stumm);
    menue_->addSeparator();
    QAction *ende = menue_->addAction(QStringLiteral("Beenden"));
    ende->setObjectName(QStringLiteral("beenden"));
    connect(zeigen, &QAction::triggered, this, &Arbeitsplatz::fensterZeigen);
    connect(stumm_, &QAction::toggled, &sprecher_, &SpeechComponent::setMuted);
    connect(ende, &QAction::triggered, this, &Arbeitsplatz::beenden);
    connect(symbol_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason grund) {
                if (grund == QSystemTrayIcon::Trigger || grund == QSystemTrayIcon::DoubleClick)
                    Q_EMIT fensterZeigen();
            });
    symbol_->setContextMenu(menue_);

    if (!einstellungen_.programmOrdner.isEmpty()) {
        const auto zeilen = ansi::readLines(einstellungen_.datei(infobereichDatei));
        bleiben_ =
            zeilen && !zeilen->isEmpty() &&
            zeilen->first().trimmed().compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0;
    }
    setzeZustand(Zustand::NichtVerbunden);
    // Shown also when no tray is there yet: a panel that starts after the
    // program (autostart) takes the icon when it comes.
    symbol_->show();
}

Arbeitsplatz::~Arbeitsplatz()
{
    delete menue_;
}

bool Arbeitsplatz::infobereichDa() const
{
    return QSystemTrayIcon::isSystemTrayAvailable() && symbol_->isVisible();
}

QString Arbeitsplatz::tooltip() const
{
    switch (zustand_) {
    case Zustand::Liest:
        return QStringLiteral("Varnek – liest ") + adresse_;
    case Zustand::KlingelnWartet:
        return QStringLiteral("Varnek – Klingeln wartet");
    case Zustand::NichtVerbunden:
        break;
    }
    return QStringLiteral("Varnek – nicht verbunden");
}

QIcon Arbeitsplatz::zustandsSymbol() const
{
    const QIcon programm = QApplication::windowIcon();
    QIcon symbol;
    for (const int groesse : {16, 22, 24, 32, 48, 64}) {
        // Not connected: the icon greyed; a ring waiting: a red dot on it.
        QPixmap bild = programm.pixmap(
            groesse, zustand_ == Zustand::NichtVerbunden ? QIcon::Disabled : QIcon::Normal);
        if (bild.isNull())
            continue;
        if (zustand_ == Zustand::KlingelnWartet) {
            QPainter maler(&bild);
            maler.setRenderHint(QPainter::Antialiasing);
            maler.setPen(QPen(Qt::white, std::max(1, groesse / 16)));
            maler.setBrush(QColor(0xe0, 0x10, 0x10));
            const int d = groesse / 2;
            maler.drawEllipse(groesse - d - 1, 1, d, d);
        }
        symbol.addPixmap(bild);
    }
    return symbol;
}

void Arbeitsplatz::setzeZustand(Zustand zustand, const QString &adresse)
{
    // Asked after every change of the receiving state: the icon is drawn
    // anew only when what it shows changes.
    if (zustand == zustand_ && (zustand != Zustand::Liest || adresse == adresse_) &&
        !symbol_->icon().isNull())
        return;
    zustand_ = zustand;
    if (zustand == Zustand::Liest)
        adresse_ = adresse;
    symbol_->setIcon(zustandsSymbol());
    symbol_->setToolTip(tooltip());
}

Ergebnis Arbeitsplatz::setzeImInfobereichBleiben(bool ein)
{
    const Ergebnis e = ansi::writeLines(einstellungen_.datei(infobereichDatei),
                                        {ein ? QStringLiteral("True") : QStringLiteral("False")});
    if (e)
        bleiben_ = ein;
    return e;
}

bool Arbeitsplatz::bleibtBeimSchliessen() const
{
    // Without an icon in a tray a hidden window could not be brought back.
    return bleiben_ && infobereichDa();
}

void Arbeitsplatz::meldeNeuenText(const QString &text, const QString &adresse, bool klingeln)
{
    // One line end for a notification; none at the end.
    QString zeilen = text;
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    zeilen.replace(u'\r', u'\n');
    while (zeilen.endsWith(u'\n'))
        zeilen.chop(1);
    if (zeilen.isEmpty() && !klingeln)
        return;
    const QString titel =
        (klingeln ? QStringLiteral("Klingeln an ") : QStringLiteral("Nachricht an ")) + adresse;
    // Ignored on purpose: without a notification service the window and
    // the voice still tell the user.
    (void)benachrichtigung_->melde(titel, zeilen);
}

bool Arbeitsplatz::autostartAn() const
{
    return autostart::vorhanden();
}

QStringList Arbeitsplatz::startArgumente(const QString &adresse) const
{
    QStringList a{QCoreApplication::applicationFilePath()};
    // Only what differs from what the program takes without options.
    const QString standard =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QString ordner = QDir::cleanPath(QDir(einstellungen_.programmOrdner).absolutePath());
    if (!einstellungen_.programmOrdner.isEmpty() && ordner != standard)
        a << QStringLiteral("--folder") << ordner;
    const Einstellungen ohne;
    if (einstellungen_.host != ohne.host)
        a << QStringLiteral("--host") << einstellungen_.host;
    if (einstellungen_.ftpPort != ohne.ftpPort)
        a << QStringLiteral("--ftp-port") << QString::number(einstellungen_.ftpPort);
    if (einstellungen_.httpPort != ohne.httpPort)
        a << QStringLiteral("--http-port") << QString::number(einstellungen_.httpPort);
    if (!adresse.isEmpty())
        a << QStringLiteral("--watch") << adresse;
    return a;
}

Ergebnis Arbeitsplatz::setzeAutostart(bool ein, const QString &adresse)
{
    if (!ein)
        return autostart::entferne();
    return autostart::schreibe(startArgumente(adresse));
}

} // namespace varnek
