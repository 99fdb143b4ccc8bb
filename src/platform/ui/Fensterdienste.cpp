#include "platform/ui/Fensterdienste.h"

#include "platform/Dienste.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTranslator>
#include <QWindow>

namespace varnek
{

void OeffneDokument(QWidget *fenster, const QString &text)
{
    Q_UNUSED(fenster);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    desktop::open(text);
    QApplication::restoreOverrideCursor();
}

int FindeListenEintrag(const QObject *liste, const QString &text, bool flag)
{
    Q_UNUSED(flag);
    QStringList eintraege;
    if (const auto *combo = qobject_cast<const QComboBox *>(liste)) {
        for (int i = 0; i < combo->count(); ++i)
            eintraege << combo->itemText(i);
    } else if (const auto *list = qobject_cast<const QListWidget *>(liste)) {
        for (int i = 0; i < list->count(); ++i)
            eintraege << list->item(i)->text();
    } else {
        return -2;
    }
    return FindeListenEintrag(eintraege, text);
}

void SetzeVordergrund(QWidget *fenster, bool an)
{
    if (!fenster || istImVordergrund(fenster) == an)
        return;
    Qt::WindowFlags flags = fenster->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, an);
    // The native window is told directly: changing the widget's flags the
    // usual way would hide and re-create the window.
    fenster->overrideWindowFlags(flags);
    if (QWindow *w = fenster->windowHandle())
        w->setFlags(flags);
}

bool istImVordergrund(const QWidget *fenster)
{
    return fenster->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QString DateiSpeichernDialog(const QString &vorschlag)
{
    return dialogs::saveFile(nullptr, vorschlag);
}

namespace
{

// Lives on the menu bar; follows its menus and reports the highlighted entries.
class MenueHinweisWaechter : public QObject
{
  public:
    MenueHinweisWaechter(QMenuBar *leiste, std::function<void(const QString &)> hinweis)
        : QObject(leiste), hinweis_(std::move(hinweis))
    {
        setObjectName(QStringLiteral("MenueHinweise"));
        verfolge(leiste);
        connect(leiste, &QMenuBar::hovered, this, &MenueHinweisWaechter::zeige);
        for (QAction *a : leiste->actions())
            if (a->menu())
                verfolgeMenue(a->menu());
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ActionAdded) {
            if (QAction *a = static_cast<QActionEvent *>(event)->action(); a && a->menu())
                verfolgeMenue(a->menu());
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void verfolge(QWidget *w) { w->installEventFilter(this); }

    void verfolgeMenue(QMenu *menu)
    {
        if (menues_.contains(menu))
            return;
        menues_ << menu;
        verfolge(menu);
        connect(menu, &QMenu::hovered, this, &MenueHinweisWaechter::zeige);
        for (QAction *a : menu->actions())
            if (a->menu())
                verfolgeMenue(a->menu());
    }

    void zeige(QAction *a)
    {
        if (a && !a->isSeparator())
            hinweis_(ohneZugriffstaste(a->text()));
    }

    // The hint reads the caption as the menu shows it: without the "&"
    // that marks the access key ("&&" is one "&").
    static QString ohneZugriffstaste(const QString &text)
    {
        QString ohne;
        ohne.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char('&') && ++i >= text.size())
                break;
            ohne += text[i];
        }
        return ohne;
    }

    std::function<void(const QString &)> hinweis_;
    QList<QMenu *> menues_;
};

} // namespace

void MenueHinweiseEin(QMenuBar *leiste, std::function<void(const QString &)> hinweis)
{
    if (!leiste)
        return;
    MenueHinweiseAus(leiste);
    new MenueHinweisWaechter(leiste, std::move(hinweis));
}

void MenueHinweiseAus(QMenuBar *leiste)
{
    if (!leiste)
        return;
    delete leiste->findChild<QObject *>(QStringLiteral("MenueHinweise"),
                                        Qt::FindDirectChildrenOnly);
}

bool ZwischenablageEinfuegen(QLineEdit *ziel)
{
    const QMimeData *daten = QApplication::clipboard()->mimeData();
    if (!ziel || !daten || !daten->hasText())
        return false;
    ziel->setText(daten->text().left(maxEinfuegeLaenge));
    return true;
}

bool LadeQtUebersetzung(QApplication &app)
{
    auto *qt = new QTranslator(&app);
    if (!qt->load(QStringLiteral("qtbase_de"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QApplication::installTranslator(qt);
    return true;
}

QIcon ProgrammSymbol()
{
    QSvgRenderer svg(QStringLiteral(":/varnek/varnek.svg"));
    QIcon symbol;
    if (!svg.isValid())
        return symbol;
    for (const int groesse : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage bild(groesse, groesse, QImage::Format_ARGB32_Premultiplied);
        bild.fill(Qt::transparent);
        QPainter maler(&bild);
        svg.render(&maler);
        maler.end();
        symbol.addPixmap(QPixmap::fromImage(bild));
    }
    return symbol;
}

void RichteAnwendungEin(QApplication &app)
{
    LadeQtUebersetzung(app);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QApplication::setWindowIcon(ProgrammSymbol());
}

} // namespace varnek
