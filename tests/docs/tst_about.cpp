// The About box: "&Author" unfolds and folds the author panel, a click on
// the author's text hides the picture only; coming back to the box folds it
// and writes its texts afresh; "O&K" unloads it.

#include "DocsHelpers.h"
#include "classic/Twips.h"
#include "core/AppState.h"
#include "docs/frmAbout.h"

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
    void authorPanelFoldsAndUnfolds();
    void activationFoldsAndWritesTheTexts();
};

void AboutTest::authorPanelFoldsAndUnfolds()
{
    AppState state;
    frmAbout about(state, nullptr);
    about.show();
    about.Form_Activate();
    QCOMPARE(about.height(), kFolded);
    auto* author = about.findChild<QPushButton*>(QStringLiteral("cmdAuthor"));
    author->click();
    QVERIFY(about.AuthorShown());
    QCOMPARE(about.height(), kUnfolded);
    QVERIFY(labelOf(about, "picWren")->isVisible() && labelOf(about, "lblWren")->isVisible());
    QVERIFY(!labelOf(about, "picWren")->pixmap().isNull());

    QTest::mouseClick(labelOf(about, "lblWren"), Qt::LeftButton);
    QVERIFY(!labelOf(about, "picWren")->isVisible() && labelOf(about, "lblWren")->isVisible());
    QCOMPARE(about.height(), kUnfolded);

    author->click();
    QVERIFY(!about.AuthorShown() && !labelOf(about, "lblWren")->isVisible());
    QCOMPARE(about.height(), kFolded);
}

void AboutTest::activationFoldsAndWritesTheTexts()
{
    AppState state;
    state.VersionText = QStringLiteral("1.05 (012)");
    QPointer<frmAbout> about = new frmAbout(state, nullptr);
    about->show();
    about->cmdAuthor_Click();
    QVERIFY(test::switchAwayAndBack(*about));
    QCOMPARE(about->height(), kFolded);
    QVERIFY(!about->AuthorShown());
    QCOMPARE(labelOf(*about, "lblAbout")->text().section(QLatin1Char('\n'), 1, 1),
             QStringLiteral("     Kadrix for Windows, version 1.05 (012)"));

    about->findChild<QPushButton*>(QStringLiteral("cmdAbout"))->click();
    QTRY_VERIFY(about.isNull());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
