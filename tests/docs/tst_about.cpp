// The About box: its texts, its author panel, and folding on activation.

#include "app/AppState.h"
#include "docs/frmAbout.h"
#include "platform/Twips.h"

#include <QLabel>
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
    void authorPanelFoldsAndUnfolds();
    void activationFoldsAgainAndOkUnloads();
};

void AboutTest::activationWritesTheTexts()
{
    AppState state;
    state.VersionText = QStringLiteral("1.05 (012)");
    frmAbout about(state, nullptr);
    about.Form_Activate();
    const QStringList lines = labelOf(about, "lblAbout")->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.at(1), QStringLiteral("     Kadrix for Windows, version 1.05 (012)"));
    QVERIFY(lines.at(6).startsWith(QStringLiteral("     \u00A9")));
    const QStringList author = labelOf(about, "lblWren")->text().split(QLatin1Char('\n'));
    QCOMPARE(author.size(), 9);
    QVERIFY(author.at(5).isEmpty());
}

void AboutTest::authorPanelFoldsAndUnfolds()
{
    AppState state;
    frmAbout about(state, nullptr);
    about.show();
    about.Form_Activate();
    QCOMPARE(about.height(), kFolded);

    about.findChild<QPushButton*>(QStringLiteral("cmdAuthor"))->click();
    QVERIFY(about.AuthorShown());
    QCOMPARE(about.height(), kUnfolded);
    QVERIFY(labelOf(about, "picWren")->isVisible() && labelOf(about, "lblWren")->isVisible());

    // A click on the author's text hides only the picture.
    QTest::mouseClick(labelOf(about, "lblWren"), Qt::LeftButton);
    QVERIFY(!labelOf(about, "picWren")->isVisible());
    QVERIFY(labelOf(about, "lblWren")->isVisible());
    QCOMPARE(about.height(), kUnfolded);

    about.cmdAuthor_Click();
    QVERIFY(!about.AuthorShown());
    QCOMPARE(about.height(), kFolded);
    QVERIFY(!labelOf(about, "lblWren")->isVisible());
}

void AboutTest::activationFoldsAgainAndOkUnloads()
{
    AppState state;
    QWidget mainWindow;
    mainWindow.show();
    QPointer<frmAbout> about = new frmAbout(state, &mainWindow);
    about->show();
    about->cmdAuthor_Click();
    mainWindow.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    about->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QCOMPARE(about->height(), kFolded);
    QVERIFY(!about->AuthorShown());

    about->findChild<QPushButton*>(QStringLiteral("cmdAbout"))->click();
    QTRY_VERIFY(about.isNull());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
