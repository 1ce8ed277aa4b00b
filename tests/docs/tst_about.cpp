// The About box: its texts, its author panel, and folding on activation.

#include "app/AppState.h"
#include "docs/frmAbout.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace kadrix;

namespace {

QLabel* labelOf(frmAbout& about, const char* name)
{
    return about.findChild<QLabel*>(QString::fromLatin1(name));
}

const int kFolded = twips(frmAbout::kFoldedHeight);
const int kUnfolded = kFolded + twips(frmAbout::kAuthorPanelHeight);

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void activationWritesTheTexts();
    void authorButtonFoldsAndUnfolds();
    void clickOnAuthorTextHidesOnlyThePicture();
    void activationFoldsAgain();
    void okUnloads();
};

void AboutTest::activationWritesTheTexts()
{
    AppState state;
    state.VersionText = QStringLiteral("1.05 (012)");
    frmAbout about(state, nullptr);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Kadrix for Windows"));
    QCOMPARE(labelOf(about, "lblAbout")->text(), QStringLiteral(" About Kadrix for Windows"));
    about.Form_Activate();

    const QStringList lines = labelOf(about, "lblAbout")->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.at(1), QStringLiteral("     Kadrix for Windows, version 1.05 (012)"));
    QCOMPARE(lines.at(3), QStringLiteral("     Kadrix motion analysis viewer."));
    QCOMPARE(lines.at(4), QStringLiteral("     This software is for planar motion only."));
    QVERIFY(lines.at(6).startsWith(QStringLiteral("     \u00A9")));

    const QStringList author = labelOf(about, "lblWren")->text().split(QLatin1Char('\n'));
    QCOMPARE(author.size(), 9);
    QVERIFY(author.at(5).isEmpty());
    for (const QString& line : author)
        QVERIFY(line.isEmpty() || line.startsWith(QLatin1Char(' ')));
}

void AboutTest::authorButtonFoldsAndUnfolds()
{
    AppState state;
    frmAbout about(state, nullptr);
    about.show();
    about.Form_Activate();
    QCOMPARE(about.height(), kFolded);
    auto* author = about.findChild<QPushButton*>(QStringLiteral("cmdAuthor"));
    QCOMPARE(author->text(), QStringLiteral("&Author"));

    author->click();
    QVERIFY(about.AuthorShown());
    QCOMPARE(about.height(), kUnfolded);
    QVERIFY(labelOf(about, "picWren")->isVisible());
    QVERIFY(labelOf(about, "lblWren")->isVisible());

    author->click();
    QVERIFY(!about.AuthorShown());
    QCOMPARE(about.height(), kFolded);
    QVERIFY(!labelOf(about, "lblWren")->isVisible());
}

void AboutTest::clickOnAuthorTextHidesOnlyThePicture()
{
    AppState state;
    frmAbout about(state, nullptr);
    about.show();
    about.Form_Activate();
    about.cmdAuthor_Click();
    QTest::mouseClick(labelOf(about, "lblWren"), Qt::LeftButton);
    QVERIFY(!labelOf(about, "picWren")->isVisible());
    QVERIFY(labelOf(about, "lblWren")->isVisible());
    QVERIFY(about.AuthorShown());
    QCOMPARE(about.height(), kUnfolded);

    about.cmdAuthor_Click();
    QCOMPARE(about.height(), kFolded);
}

void AboutTest::activationFoldsAgain()
{
    AppState state;
    QWidget mainWindow;
    mainWindow.show();
    frmAbout about(state, &mainWindow);
    about.show();
    about.cmdAuthor_Click();
    QCOMPARE(about.height(), kUnfolded);

    mainWindow.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    about.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&about));
    QCOMPARE(about.height(), kFolded);
    QVERIFY(!about.AuthorShown());
}

void AboutTest::okUnloads()
{
    AppState state;
    QPointer<frmAbout> about = new frmAbout(state, nullptr);
    about->show();
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdAbout"));
    QCOMPARE(ok->text(), QStringLiteral("O&K"));
    ok->click();
    QTRY_VERIFY(about.isNull());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
