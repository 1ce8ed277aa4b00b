// A stand-in for the suite's companion programs (Kadrix.exe, Scalvane.exe,
// Xfer2DG.exe, ...). Installed under a companion's name, it records how it
// was started, so that the front-end's starts can be checked and tried out
// without the real programs:
//
// - each start appends one JSON object, on one line, to the file named by
//   KADRIX_STANDIN_LOG: its own name, its working directory and its
//   arguments, each kept distinct (as text and as the bytes received);
// - started as Scalvane, it leaves Scalvane.out in its working directory,
//   as the real program does;
// - started as Xfer2DG, it leaves the .DG file of its argument (WALK1.DG for
//   walk1.csv) in its working directory, as the real converter does; it
//   fails instead, with exit status 3 and no file, on the file named by
//   KADRIX_STANDIN_FAIL_ON;
// - while the file named by KADRIX_STANDIN_HOLD exists, it does not end,
//   so that a test can act while a companion program runs;
// - with a display, it shows in a small window what it was asked to do.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

struct Invocation {
    QString program;
    QString workingDirectory;
    std::vector<QByteArray> arguments;
};

Invocation invocationOf(int argc, char* argv[])
{
    Invocation invocation;
    invocation.program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    invocation.workingDirectory = QDir::currentPath();
    for (int i = 1; i < argc; ++i)
        invocation.arguments.emplace_back(argv[i]);
    return invocation;
}

QByteArray recordOf(const Invocation& invocation)
{
    QJsonArray texts;
    QJsonArray bytes;
    for (const QByteArray& argument : invocation.arguments) {
        texts.append(QString::fromLocal8Bit(argument));
        bytes.append(QString::fromLatin1(argument.toHex()));
    }
    const QJsonObject record{
        {QStringLiteral("program"), invocation.program},
        {QStringLiteral("cwd"), invocation.workingDirectory},
        {QStringLiteral("args"), texts},
        {QStringLiteral("argsHex"), bytes},
        {QStringLiteral("pid"), static_cast<qint64>(QCoreApplication::applicationPid())},
    };
    return QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
}

bool appendRecord(const Invocation& invocation)
{
    const QString logPath = qEnvironmentVariable("KADRIX_STANDIN_LOG");
    if (logPath.isEmpty())
        return true;
    QFile log(logPath);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // One write per record, so that programs started together never mix lines.
    const QByteArray record = recordOf(invocation);
    return log.write(record) == record.size();
}

void writeOutputFile(const Invocation& invocation)
{
    if (!invocation.program.startsWith(QLatin1String("scalvane"), Qt::CaseInsensitive))
        return;
    QFile output(QStringLiteral("Scalvane.out"));
    if (!output.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    output.write("Scalvane (stand-in): refine/scale finished.\n");
    for (const QByteArray& argument : invocation.arguments)
        output.write("  input: " + argument + '\n');
}

bool failsOn(const Invocation& invocation)
{
    const QByteArray failing = qgetenv("KADRIX_STANDIN_FAIL_ON");
    return !failing.isEmpty() && std::find(invocation.arguments.begin(), invocation.arguments.end(),
                                           failing) != invocation.arguments.end();
}

// A converter's .DG file: the argument's name with .DG for its extension.
void writeConvertedFile(const Invocation& invocation)
{
    if (!invocation.program.startsWith(QLatin1String("xfer2dg"), Qt::CaseInsensitive) ||
        invocation.arguments.empty())
        return;
    const QByteArray& input = invocation.arguments.front();
    const qsizetype dot = input.lastIndexOf('.');
    QFile output(QFile::decodeName((dot > 0 ? input.left(dot) : input).toUpper() + ".DG"));
    if (output.open(QIODevice::WriteOnly | QIODevice::Truncate))
        output.write("converted by the stand-in\r\n");
}

void holdWhileAsked()
{
    const QString hold = qEnvironmentVariable("KADRIX_STANDIN_HOLD");
    while (!hold.isEmpty() && QFileInfo::exists(hold))
        QThread::msleep(20);
}

bool hasDisplay()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return false;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

QString describe(const Invocation& invocation)
{
    QStringList lines{QStringLiteral("%1 was started").arg(invocation.program),
                      QStringLiteral("in: %1").arg(invocation.workingDirectory)};
    if (invocation.arguments.empty())
        lines << QStringLiteral("with no arguments.");
    for (size_t i = 0; i < invocation.arguments.size(); ++i)
        lines << QStringLiteral("argument %1: %2")
                     .arg(i + 1)
                     .arg(QString::fromLocal8Bit(invocation.arguments.at(i)));
    return lines.join(QLatin1Char('\n'));
}

int showWindow(int argc, char* argv[], const Invocation& invocation)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setObjectName(QStringLiteral("standin"));
    window.setWindowTitle(invocation.program + QStringLiteral(" (stand-in)"));
    auto* layout = new QVBoxLayout(&window);
    auto* text = new QLabel(describe(invocation), &window);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text);
    auto* close = new QPushButton(QStringLiteral("Close"), &window);
    layout->addWidget(close, 0, Qt::AlignRight);
    QObject::connect(close, &QPushButton::clicked, &window, &QWidget::close);
    window.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    const Invocation invocation = invocationOf(argc, argv);
    const bool recorded = appendRecord(invocation);
    if (failsOn(invocation))
        return 3;
    writeOutputFile(invocation);
    writeConvertedFile(invocation);
    holdWhileAsked();
    if (hasDisplay())
        return showWindow(argc, argv, invocation);
    return recorded ? 0 : 1;
}
