// The small layers over the host system: path lookup regardless of letter
// case, file errors, the settings store and twips.

#include "TestFiles.h"
#include "platform/FileErrors.h"
#include "platform/PathLookup.h"
#include "platform/QtSettingsStore.h"
#include "platform/Twips.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kadrix;
using kadrix::test::makeDirectory;
using kadrix::test::writeFile;

class PlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void resolvesLetterCase_data();
    void resolvesLetterCase();
    void prefersTheExactName();
    void joinsPaths();
    void settingsLiveInTheConfigurationDirectory();
    void twipsBecomePixels();
};

void PlatformTest::resolvesLetterCase_data()
{
    // clang-format off
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found");

    QTest::newRow("exact") << "Data/Walk1.DG" << "Data/Walk1.DG";
    QTest::newRow("upper case") << "DATA/WALK1.DG" << "Data/Walk1.DG";
    QTest::newRow("lower case") << "data/walk1.dg" << "Data/Walk1.DG";
    QTest::newRow("missing file kept as asked") << "DATA/RUN2.DG" << "Data/RUN2.DG";
    QTest::newRow("missing directory ends the lookup") << "NONE/WALK1.DG" << "NONE/WALK1.DG";
    QTest::newRow("doubled separator") << "DATA//walk1.dg" << "Data/Walk1.DG";
    // clang-format on
}

void PlatformTest::resolvesLetterCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, found);
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("Data/Walk1.DG")));
    const QString base = root.path() + QLatin1Char('/');
    QCOMPARE(resolvePathCase(base + asked), base + found);
}

void PlatformTest::prefersTheExactName()
{
    QTemporaryDir root;
    writeFile(root.filePath(QStringLiteral("trial.dg")), "lower");
    writeFile(root.filePath(QStringLiteral("TRIAL.DG")), "upper");
    const QString base = root.path() + QLatin1Char('/');
    QCOMPARE(resolvePathCase(base + QStringLiteral("trial.dg")), base + QStringLiteral("trial.dg"));
    QCOMPARE(resolvePathCase(base + QStringLiteral("TRIAL.DG")), base + QStringLiteral("TRIAL.DG"));
    QVERIFY(!resolvePathCase(base + QStringLiteral("Trial.Dg")).isEmpty());
}

void PlatformTest::joinsPaths()
{
    QVERIFY(isFileSystemRoot(QStringLiteral("//")));
    QVERIFY(!isFileSystemRoot(QStringLiteral("/tmp")) && !isFileSystemRoot(QString()));
    QCOMPARE(joinPath(QString(), QStringLiteral("a.dg")), QStringLiteral("a.dg"));
    QCOMPARE(joinPath(QStringLiteral("/data"), QStringLiteral("a.dg")),
             QStringLiteral("/data/a.dg"));
    QCOMPARE(joinPath(QStringLiteral("/data/"), QStringLiteral("a.dg")),
             QStringLiteral("/data//a.dg"));
}

void PlatformTest::settingsLiveInTheConfigurationDirectory()
{
    const QString configuration = qEnvironmentVariable("XDG_CONFIG_HOME");
    QVERIFY2(!configuration.isEmpty(), "tests run with a configuration directory of their own");
    QtSettingsStore store;
    QCOMPARE(store.getSetting(QStringLiteral("Movarta"), QStringLiteral("Startup"),
                              QStringLiteral("Datadir"), QStringLiteral("default")),
             QStringLiteral("default"));
    store.saveSetting(QStringLiteral("Movarta"), QStringLiteral("Startup"),
                      QStringLiteral("Datadir"), QStringLiteral("/data/with blanks"));
    QCOMPARE(store.getSetting(QStringLiteral("Movarta"), QStringLiteral("Startup"),
                              QStringLiteral("Datadir"), QString()),
             QStringLiteral("/data/with blanks"));
    const QString file = configuration + QStringLiteral("/Movarta/Movarta.conf");
    QVERIFY(QFile::exists(file));
    QSettings direct(file, QSettings::IniFormat);
    QCOMPARE(direct.value(QStringLiteral("Startup/Datadir")).toString(),
             QStringLiteral("/data/with blanks"));
}

void PlatformTest::twipsBecomePixels()
{
    QCOMPARE(twips(7), 0);
    QCOMPARE(twips(8), 1);
    QCOMPARE(twipsRect(7320, 120, 1215, 615), QRect(488, 8, 81, 41));
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
