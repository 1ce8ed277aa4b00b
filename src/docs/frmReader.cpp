#include "docs/frmReader.h"

#include "classic/AccessibleWindows.h"
#include "classic/Artwork.h"
#include "classic/CaptionButton.h"
#include "classic/ClassicFrame.h"
#include "classic/Fonts.h"
#include "classic/Twips.h"
#include "core/AppState.h"
#include "docs/ActivationWatch.h"
#include "docs/DocumentList.h"
#include "docs/LayoutRules.h"
#include "docs/PdfComponent.h"
#include "platform/Messages.h"
#include "platform/NativeNames.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPdfView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>

namespace kadrix {

namespace {

constexpr int kClientWidth = 9960;
constexpr int kClientHeight = 5520;
constexpr QRect kDocumentArea(120, 720, 9735, 4695);

const QColor kWindowColour(255, 192, 128);
const QColor kListColour(255, 224, 192);
const QColor kFileNameColour(0, 0, 192);

void paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& tooltip, QRect geometry)
{
    // A caption too long for its button wraps onto a second line.
    auto* created = new CaptionButton(caption, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setToolTip(tooltip);
    created->setGeometry(geometry);
    return created;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* created = new QLabel(caption, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setGeometry(geometry);
    created->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    created->setTextFormat(Qt::PlainText);
    return created;
}

} // namespace

frmReader::frmReader(const AppState& state, Messages& messages, QString& CurrentDocument)
    : ReaderWindow(nullptr, Qt::Window)
    , state_(state)
    , messages_(messages)
    , CurrentDocument_(CurrentDocument)
{
    setObjectName(QStringLiteral("frmReader"));
    exposeAsWindow(*this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("View Acrobat PDF Document"));
    setWindowIcon(programIcon());
    setFont(sansSerifFont(8.25));
    setAutoFillBackground(true);
    paint(this, QPalette::Window, kWindowColour);
    build();
    resize(twips(kClientWidth), twips(kClientHeight));
    activation_ = new ActivationWatch(*this);
    connect(activation_, &ActivationWatch::activated, this, &frmReader::Form_Activate);
    Form_Load();
}

// No activation may reach a window that is being destroyed; the
// component's view goes before the window's other children.
frmReader::~frmReader()
{
    delete activation_;
}

void frmReader::build()
{
    cmdExit_ = button(this, "cmdExit", QStringLiteral("E&xit"),
                      QStringLiteral("Click to exit form"), twipsRect(600, 120, 1095, 495));
    cmdRead_ = button(this, "cmdRead", QStringLiteral("&Select a document"),
                      QStringLiteral("Click to open a list of Acrobat documents"),
                      twipsRect(1920, 120, 1215, 495));
    Label1_ =
        label(this, "Label1", QStringLiteral("Current document:"), twipsRect(3360, 120, 975, 375));
    Label1_->setWordWrap(true);
    lblReader_ =
        label(this, "lblReader", QStringLiteral("Filename"), twipsRect(4320, 240, 5415, 495));
    paint(lblReader_, QPalette::WindowText, kFileNameColour);
    lblReader_->installEventFilter(this);

    pdfReader_ = std::make_unique<PdfComponent>(*this);
    pdfReader_->setRectangle(kDocumentArea);
    pdfReader_->view()->setAccessibleName(QStringLiteral("Current document"));

    filReader_ = new DocumentList(this);
    filReader_->setObjectName(QStringLiteral("filReader"));
    filReader_->setAccessibleName(QStringLiteral("Select a document"));
    filReader_->setGeometry(twipsRect(1920, 600, 1695, 2235));
    filReader_->setAutoFillBackground(true);
    paint(filReader_, QPalette::Base, kListColour);
    filReader_->hide();

    connect(cmdExit_, &QPushButton::clicked, this, &frmReader::cmdExit_Click);
    connect(cmdRead_, &QPushButton::clicked, this, &frmReader::cmdRead_Click);
    connect(filReader_, &DocumentList::entryChosen, this, &frmReader::filReader_Click);
}

void frmReader::Form_Load()
{
    filReader_->setPath(state_.ManualsDir);

    // The reader opens in the middle of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = outerTwips(size(), MenuBar::None);
    move(screen.left() + (screen.width() - twips(outer.width())) / 2,
         screen.top() + (screen.height() - twips(outer.height())) / 2);
}

void frmReader::showAndActivate()
{
    activation_->showAndActivate();
}

void frmReader::Form_Activate()
{
    // The message below may hand the activation back when it closes.
    if (activating_)
        return;
    const QScopedValueRollback<bool> guard(activating_, true);

    filReader_->refresh();
    if (filReader_->listCount() == 0) {
        messages_.showMessage(
            {QStringLiteral("No Acrobat documents were found in the directory, ") +
                 QLatin1Char('\n') + state_.ManualsDir + QLatin1Char('.'),
             kApplicationTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        return;
    }
    if (!state_.ManualFile.isEmpty())
        CurrentDocument_ = foldedAsciiCase(state_.ManualsDir + state_.ManualFile);
    else
        showDocumentList();
    showCurrentDocument();
}

void frmReader::cmdRead_Click()
{
    showDocumentList();
}

void frmReader::filReader_Click()
{
    const QString name = filReader_->selectedName();
    if (name.isEmpty())
        return;
    CurrentDocument_ = foldedAsciiCase(state_.ManualsDir + name);
    showCurrentDocument();
    filReader_->hide();
}

void frmReader::Form_Click()
{
    filReader_->hide();
}

void frmReader::lblReader_Click()
{
    filReader_->hide();
}

void frmReader::cmdExit_Click()
{
    hide();
}

void frmReader::showDocumentList()
{
    filReader_->show();
    filReader_->raise();
    filReader_->refresh();
}

void frmReader::showCurrentDocument()
{
    pdfReader_->setSrc(CurrentDocument_);
    lblReader_->setText(shownName(CurrentDocument_));
}

void frmReader::Form_Resize()
{
    pdfReader_->setRectangle(
        readerDocumentArea(pdfReader_->rectangle(), outerTwips(size(), MenuBar::None)));
}

void frmReader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmReader::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        Form_Click();
}

bool frmReader::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblReader_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        lblReader_Click();
    return QWidget::eventFilter(watched, event);
}

} // namespace kadrix
