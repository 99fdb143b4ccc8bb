#include "contact/SpeechComponent.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/Programm.h"
#include "help/ui/Hilfe2.h"
#include "platform/ui/Dialogs.h"
#include "support/LocalServer.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnek;

namespace {

Einstellungen stummIn(const QString &ordner)
{
    Einstellungen e;
    e.programmOrdner = ordner;
    e.stumm = true;
    return e;
}

class Hilfe2Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialogs::setTestMode(true);
        ASSERT_TRUE(dir.isValid());
        hilfe = programm.hilfe2();
        label1 = hilfe->findChild<QLabel *>(QStringLiteral("Label1"));
        label2 = hilfe->findChild<QLabel *>(QStringLiteral("Label2"));
        check1 = hilfe->findChild<QCheckBox *>(QStringLiteral("Check1"));
        ASSERT_TRUE(label1 && label2 && check1);
    }

    QString datei() const { return dir.filePath(QStringLiteral("Hilfe.txt")); }
    QByteArray hilfeTxt() const
    {
        QFile f(datei());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList gesprochen() const
    {
        QStringList out;
        for (const auto &args : spy)
            out << args.at(0).toString();
        return out;
    }

    QTemporaryDir dir;
    Programm programm{stummIn(dir.path())};
    QSignalSpy spy{&programm.sprecher(), &SpeechComponent::spoken};
    QPointer<Hilfe2> hilfe;
    QLabel *label1 = nullptr;
    QLabel *label2 = nullptr;
    QCheckBox *check1 = nullptr;
};

} // namespace

TEST_F(Hilfe2Test, LoadsHiddenBlackWithNormalViewAndEmptyLine)
{
    EXPECT_FALSE(hilfe->isVisible());
    EXPECT_EQ(hilfe->windowTitle(), QStringLiteral("Hilfe-Fenster"));
    EXPECT_EQ(hilfe->size(), QSize(519, 110));
    EXPECT_EQ(hilfe->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_TRUE(label1->text().isEmpty());
    EXPECT_TRUE(label2->isHidden());
    EXPECT_TRUE(check1->text().isEmpty());
    EXPECT_FALSE(check1->isChecked());
    EXPECT_FALSE(hilfe->automatisch());
}

TEST_F(Hilfe2Test, WithoutAutomaticReadingTextChangesButNothingIsWrittenOrSpoken)
{
    programm.hinweis(QStringLiteral("  Erster Hinweis"));
    hilfe->setText(QStringLiteral("<b>Zweiter</b> Hinweis"));

    EXPECT_EQ(label1->text(), QStringLiteral("<b>Zweiter</b> Hinweis"));
    EXPECT_EQ(label2->text(), label1->text());
    EXPECT_EQ(hilfe->text(), label1->text());
    EXPECT_FALSE(QFile::exists(datei()));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(Hilfe2Test, AutomaticReadingWritesAndSpeaksEveryChange)
{
    hilfe->setAutomatisch(true);   // empty text: the file is written, nothing is heard
    EXPECT_EQ(hilfeTxt(), QByteArray("\r\n"));
    EXPECT_EQ(spy.count(), 0);

    const QStringList texte{QStringLiteral("Eins"), QStringLiteral("Zwei"), QStringLiteral("Grüße")};
    const QList<QByteArray> dateien{"Eins\r\n", "Zwei\r\n", "Gr\xfc\xdf" "e\r\n"};
    for (int i = 0; i < texte.size(); ++i) {
        hilfe->setText(texte.at(i));
        EXPECT_EQ(hilfeTxt(), dateien.at(i));
        EXPECT_EQ(hilfe->List1(), QStringList{texte.at(i)});
    }
    EXPECT_EQ(gesprochen(), texte);

    // The same text again is no change; a new one is read again.
    hilfe->setText(QStringLiteral("Grüße"));
    hilfe->setText(QStringLiteral("Eins"));
    EXPECT_EQ(spy.count(), 4);
}

TEST_F(Hilfe2Test, TickingReadsOnlyOnChangeAndUntickingStopsAutomaticReading)
{
    hilfe->setText(QStringLiteral("Schon da"));
    check1->setChecked(true);   // as the user's click does
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Schon da")});
    hilfe->setAutomatisch(true); // already ticked: no second reading
    EXPECT_EQ(spy.count(), 1);

    hilfe->setAutomatisch(false);
    hilfe->setText(QStringLiteral("Neu"));
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(Hilfe2Test, KeysWorkWhicheverControlHasTheFocus)
{
    hilfe->zeigen();
    hilfe->setText(QStringLiteral("Vorlesen"));

    QTest::keyClick(check1, Qt::Key_F7);   // the check box itself has the focus
    EXPECT_TRUE(check1->isChecked());
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Vorlesen")});

    QTest::keyClick(hilfe, Qt::Key_F8);
    EXPECT_FALSE(check1->isChecked());
    hilfe->setText(QStringLiteral("Still"));
    EXPECT_EQ(spy.count(), 1);

    QTest::keyClick(check1, Qt::Key_F2);
    QTest::keyClick(label1, Qt::Key_F3);   // stop: nothing more is heard
    EXPECT_EQ(gesprochen(), (QStringList{QStringLiteral("Vorlesen"), QStringLiteral("Still")}));

    QTest::keyClick(check1, Qt::Key_Escape);
    EXPECT_TRUE(test::waitUntil([&] { return hilfe.isNull(); }, 2000));
    EXPECT_EQ(programm.hilfe2WennGeladen(), nullptr);
}

TEST_F(Hilfe2Test, LineBreaksAreWrittenUnchangedWithOneLineEnd)
{
    hilfe->setText(QStringLiteral("Zeile eins\r\nZeile zwei"));
    hilfe->Play();
    EXPECT_EQ(hilfeTxt(), QByteArray("Zeile eins\r\nZeile zwei\r\n"));
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Zeile eins Zeile zwei")});
}

TEST_F(Hilfe2Test, ClickReadsAndDoubleClickSwitchesViews)
{
    hilfe->zeigen();
    hilfe->setText(QStringLiteral("Klick"));
    QTest::mouseClick(label1, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(label1, Qt::RightButton);
    EXPECT_EQ(spy.count(), 1);

    QTest::mouseDClick(label1, Qt::LeftButton);
    EXPECT_GE(spy.count(), 2);
    EXPECT_TRUE(hilfe->breit());
    EXPECT_TRUE(label2->isVisible());
    EXPECT_EQ(label2->text(), QStringLiteral("Klick"));
    EXPECT_EQ(label2->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(hilfe->frameGeometry().width(), 11415 / 15);

    const int gelesen = spy.count();
    QTest::mouseDClick(label2, Qt::LeftButton);
    EXPECT_FALSE(hilfe->breit());
    EXPECT_EQ(hilfe->frameGeometry().width(), 7875 / 15);
    EXPECT_EQ(spy.count(), gelesen);
}

TEST_F(Hilfe2Test, MouseOverCheckBoxWritesItsHint)
{
    hilfe->zeigen();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(check1, &enter);
    EXPECT_EQ(hilfe->text(), QStringLiteral("Den Hilfetext automatisch vorlesen lassen!      [F8]!"));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(Hilfe2Test, DocksAboveTheContactWindowOrAnotherWindow)
{
    Gast1 *gast = programm.gast1();
    gast->move(300, 400);
    hilfe->zeigen();
    hilfe->platziereUeberGast(10);
    EXPECT_TRUE(test::waitUntil([&] { return hilfe->pos() == QPoint(300, 260); }, 2000));

    // The newest request wins: the pending contact window placement is dropped.
    QWidget buch;
    buch.move(200, 30);
    buch.show();
    hilfe->platziereUeberGast(20);
    hilfe->platziereUeber(&buch, nullptr, 10);
    const int oben = buch.screen()->availableGeometry().top();
    EXPECT_TRUE(test::waitUntil([&] { return hilfe->pos() == QPoint(200, oben); }, 2000));
    QTest::qWait(60);
    EXPECT_EQ(hilfe->pos(), QPoint(200, oben));
}
