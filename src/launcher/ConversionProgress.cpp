#include "launcher/ConversionProgress.h"

#include "classic/Fonts.h"
#include "launcher/ConversionBatch.h"
#include "platform/NativeNames.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kadrix {

namespace {

// A heading with the count, then one name a line; nothing for no names.
QString section(const QString& heading, const QStringList& names)
{
    if (names.isEmpty())
        return {};
    QString text = QStringLiteral("%1 (%2):\n").arg(heading).arg(names.size());
    for (const QString& name : names)
        text += QStringLiteral("    ") + shownName(name) + QLatin1Char('\n');
    return text;
}

QString reportText(const ConversionReport& report)
{
    QString text = section(QStringLiteral("Converted"), report.converted) +
                   section(QStringLiteral("Failed"), report.failed) +
                   section(QStringLiteral("Not converted"), report.notConverted) +
                   section(QStringLiteral("New .DG files"), report.newDgFiles);
    if (report.newDgFiles.isEmpty() && report.listingProblem.isEmpty())
        text += QStringLiteral("No new .DG files.\n");
    if (!report.listingProblem.isEmpty())
        text +=
            QStringLiteral("The .DG files could not be compared: %1\n").arg(report.listingProblem);
    return text.trimmed();
}

} // namespace

ConversionProgress::ConversionProgress(ConversionBatch& batch, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , batch_(batch)
{
    setObjectName(QStringLiteral("ConversionProgress"));
    setWindowTitle(QStringLiteral("Run Xfer2DG"));
    setFont(sansSerifFont(8.25));
    build();
    connect(&batch_, &ConversionBatch::fileStarted, this, &ConversionProgress::showFile);
    connect(&batch_, &ConversionBatch::finished, this, &ConversionProgress::showReport);
    connect(&clock_, &QTimer::timeout, this, &ConversionProgress::showElapsed);
    elapsed_.start();
    clock_.start(1000);
    showElapsed();
    // Over the middle of the main window, where the eye already is.
    adjustSize();
    move(mainWindow->frameGeometry().center() - rect().center());
}

void ConversionProgress::build()
{
    auto* layout = new QVBoxLayout(this);
    lblCount_ = new QLabel(QStringLiteral("Looking at the .DG files\u2026"), this);
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    lblFile_ = new QLabel(this);
    lblFile_->setObjectName(QStringLiteral("lblFile"));
    prgFiles_ = new QProgressBar(this);
    prgFiles_->setTextVisible(false);
    lblElapsed_ = new QLabel(this);
    lblElapsed_->setObjectName(QStringLiteral("lblElapsed"));
    txtReport_ = new QPlainTextEdit(this);
    txtReport_->setObjectName(QStringLiteral("txtReport"));
    txtReport_->setReadOnly(true);
    txtReport_->setVisible(false);
    cmdCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdCancel_, &QPushButton::clicked, this, &ConversionProgress::cancelOrClose);
    for (QWidget* line : {static_cast<QWidget*>(lblCount_), static_cast<QWidget*>(lblFile_),
                          static_cast<QWidget*>(prgFiles_), static_cast<QWidget*>(lblElapsed_),
                          static_cast<QWidget*>(txtReport_)})
        layout->addWidget(line);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdCancel_);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

void ConversionProgress::showFile(int number, int count, const QString& file)
{
    lblCount_->setText(QStringLiteral("Converting %1 of %2").arg(number).arg(count));
    lblFile_->setText(QStringLiteral("File: ") + shownName(file));
    prgFiles_->setRange(0, count);
    prgFiles_->setValue(number - 1);
}

void ConversionProgress::showElapsed()
{
    const qint64 seconds = elapsed_.elapsed() / 1000;
    lblElapsed_->setText(QStringLiteral("Elapsed time: %1:%2")
                             .arg(seconds / 60)
                             .arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

void ConversionProgress::cancelOrClose()
{
    if (!batch_.isRunning())
        return void(close());
    batch_.cancel();
    cmdCancel_->setEnabled(false);
    lblCount_->setText(lblCount_->text() + QStringLiteral(": stopping after this file"));
}

void ConversionProgress::showReport()
{
    clock_.stop();
    showElapsed();
    const ConversionReport& report = batch_.report();
    const qsizetype count =
        report.converted.size() + report.failed.size() + report.notConverted.size();
    lblCount_->setText(
        QStringLiteral("Converted %1 of %2").arg(report.converted.size()).arg(count));
    lblFile_->setVisible(false);
    prgFiles_->setRange(0, int(count));
    prgFiles_->setValue(int(count - report.notConverted.size()));
    txtReport_->setPlainText(reportText(report));
    txtReport_->setVisible(true);
    cmdCancel_->setText(QStringLiteral("Close"));
    cmdCancel_->setEnabled(true);
    adjustSize();
}

void ConversionProgress::closeEvent(QCloseEvent* event)
{
    if (!batch_.isRunning())
        return QWidget::closeEvent(event);
    event->ignore();
    cancelOrClose();
}

} // namespace kadrix
