#include "docs/frmViewer.h"

#include "classic/Artwork.h"
#include "classic/ClassicFrame.h"
#include "classic/Fonts.h"
#include "classic/FormBuilder.h"
#include "classic/Twips.h"
#include "core/AppState.h"
#include "core/StartRequests.h"
#include "docs/ActivationWatch.h"
#include "docs/BigTextView.h"
#include "docs/LayoutRules.h"
#include "docs/ViewerError.h"
#include "docs/ViewerText.h"
#include "platform/FileErrors.h"
#include "platform/Host.h"
#include "platform/Messages.h"
#include "platform/NativeNames.h"
#include "platform/PathLookup.h"
#include "platform/Starter.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>

namespace kadrix {

namespace {

// The window's client area and the text box, as designed.
constexpr int kClientWidth = 9420;
constexpr int kClientHeight = 6240;
constexpr QRect kTextBox(0, 0, 9375, 6135);
// The outer width the window takes when it is loaded.
constexpr int kLoadedWidth = 10500;

const QColor kDesignBackground(224, 224, 224);

struct FontSize {
    double points;
    int checkedItem;
};

// The size each item of the "&Font" menu gives, and the item that is then
// checked; "default" checks "&normal".
constexpr std::array<FontSize, 6> kFontSizes{{{8, 0}, {10, 1}, {12, 2}, {14, 3}, {18, 4}, {12, 2}}};
constexpr int kDefaultItem = 5;
constexpr int kLoadedItem = 1;

} // namespace

frmViewer::frmViewer(AppState& state, Host& host)
    : QMainWindow(nullptr)
    , state_(state)
    , host_(host)
{
    setObjectName(QStringLiteral("frmViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Text Viewer"));
    setWindowIcon(programIcon());
    buildTextBox();
    buildMenus();
    resize(twips(kClientWidth), twips(kClientHeight) + menuBar()->sizeHint().height());
    activation_ = new ActivationWatch(*this);
    connect(activation_, &ActivationWatch::activated, this, &frmViewer::Form_Activate);
    Form_Load();
}

// No activation may reach a window that is being destroyed.
frmViewer::~frmViewer()
{
    delete activation_;
}

void frmViewer::buildTextBox()
{
    // The window's font, which the text box takes; the menus keep the
    // desktop's own.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    client_->setFont(fixedPitchFont(8.25, true));
    setCentralWidget(client_);
    txtViewer_ = new BigTextView(client_);
    txtViewer_->setObjectName(QStringLiteral("txtViewer"));
    txtViewer_->setAccessibleName(windowTitle());
    txtViewer_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBoxTwips_ = kTextBox;
    txtViewer_->setGeometry(
        twipsRect(kTextBox.x(), kTextBox.y(), kTextBox.width(), kTextBox.height()));
    setColours(kDesignBackground, Qt::black);
    client_->installEventFilter(this);
}

void frmViewer::buildMenus()
{
    QMenu* mnuFile = topMenu(menuBar(), "mnuFile", QStringLiteral("&File"));
    mnuOpen_ = menuItem(mnuFile, "mnuOpen", QStringLiteral("&Open"));
    mnuExit_ = menuItem(mnuFile, "mnuExit", QStringLiteral("E&xit"));
    connect(mnuOpen_, &QAction::triggered, this, &frmViewer::mnuOpen_Click);
    connect(mnuExit_, &QAction::triggered, this, &frmViewer::mnuExit_Click);

    QMenu* mnuColour = topMenu(menuBar(), "mnuColour", QStringLiteral("&Colours"));
    const std::array<QString, 3> colours{QStringLiteral("&Background"),
                                         QStringLiteral("&Foreground"), QStringLiteral("&Reset")};
    for (int i = 0; i < 3; ++i) {
        mnuColours_.at(i) = menuItem(mnuColour, "mnuColours", colours.at(i), i);
        connect(mnuColours_.at(i), &QAction::triggered, this, [this, i] { mnuColours_Click(i); });
    }

    QMenu* mnuFonts = topMenu(menuBar(), "mnuFonts", QStringLiteral("&Font"));
    const std::array<QString, 6> sizes{QStringLiteral("&tiny"),       QStringLiteral("&small"),
                                       QStringLiteral("&normal"),     QStringLiteral("&large"),
                                       QStringLiteral("&very large"), QStringLiteral("default")};
    for (int i = 0; i < 6; ++i) {
        QAction* item = menuItem(mnuFonts, "mnuFontSizesItem", sizes.at(i), i);
        item->setCheckable(i != kDefaultItem);
        connect(item, &QAction::triggered, this, [this, i] { mnuFontSizesItem_Click(i); });
        mnuFontSizesItem_.at(i) = item;
    }
}

void frmViewer::Form_Load()
{
    setTextSize(kFontSizes.at(kLoadedItem).points);
    for (int i = 0; i < kDefaultItem; ++i)
        mnuFontSizesItem_.at(i)->setChecked(i == kLoadedItem);

    // Centred with the design size, then widened: the widened window is
    // not quite centred.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QSize outer = outerTwips({twips(kClientWidth), twips(kClientHeight)}, MenuBar::Present);
    move(screen.left() + (screen.width() - twips(outer.width())) / 2,
         screen.top() + (screen.height() - twips(outer.height())) / 2);
    resize(clientWidthForOuter(kLoadedWidth), height());
}

void frmViewer::showAndActivate()
{
    activation_->showAndActivate();
}

void frmViewer::Form_Activate()
{
    // A message shown from here may hand the activation back when it closes.
    if (activating_)
        return;
    const QScopedValueRollback<bool> guard(activating_, true);

    if (state_.ViewerFile.isEmpty()) {
        ViewerError(kViewerNoFileName);
        return;
    }
    setWindowTitle(QStringLiteral("Text Viewer: ") + shownName(state_.ViewerFile));
    OpenedText opened = openViewerFile(resolvePathCase(state_.ViewerFile));
    switch (opened.result) {
    case ViewerRead::NoFreeHandle:
        ViewerError(kViewerFileInUse);
        return;
    case ViewerRead::NotFound:
        ViewerError(kViewerFileNotFound);
        return;
    case ViewerRead::Unreadable:
        handToTextEditor();
        return;
    case ViewerRead::Read:
        break;
    }
    // The same file, unchanged, keeps the reader's place in it.
    txtViewer_->setFile(std::move(opened.file));
}

void frmViewer::ViewerError(int code)
{
    host_.messages.showMessage(viewerErrorBox(code));
    hide();
}

void frmViewer::handToTextEditor()
{
    hide();
    state_.TaskId = host_.starter.start(requests::notepadOn(state_, state_.ViewerFile));
}

void frmViewer::Form_Resize()
{
    textBoxTwips_ = viewerTextBox(textBoxTwips_, outerTwips(client_->size(), MenuBar::Present));
    txtViewer_->setGeometry(twipsRect(textBoxTwips_.x(), textBoxTwips_.y(), textBoxTwips_.width(),
                                      textBoxTwips_.height()));
}

// The text box is named after its window, for screen readers.
bool frmViewer::event(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange && txtViewer_)
        txtViewer_->setAccessibleName(windowTitle());
    return QMainWindow::event(event);
}

bool frmViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmViewer::mnuOpen_Click()
{
    // The filters of "Text files (*.txt)|*.txt|Output files (*.out)|*.out|
    // Listings (*.lst)|*.lst|All files (*.*)|*.*", each description holding
    // its pattern; no start directory: the dialog opens in the current one.
    const OpenFileDialog dialog{
        QStringLiteral("Open"),
        QString(),
        QString(),
        {QStringLiteral("Text files (*.txt)"), QStringLiteral("Output files (*.out)"),
         QStringLiteral("Listings (*.lst)"), QStringLiteral("All files (*.*)")},
        0};
    const QString chosen = host_.messages.openFileName(dialog);
    if (chosen.isEmpty())
        return;
    state_.ViewerFile = chosen;
    Form_Activate();
}

void frmViewer::mnuExit_Click()
{
    hide();
    changeCurrentDirectory(state_.DataDir);
}

void frmViewer::mnuColours_Click(int Index)
{
    const QColor background = txtViewer_->palette().color(QPalette::Base);
    const QColor text = txtViewer_->palette().color(QPalette::Text);
    if (Index == 0) {
        const QColor chosen = chooseColour();
        if (chosen.rgb() != text.rgb())
            setColours(chosen, text);
    } else if (Index == 1) {
        const QColor chosen = chooseColour();
        if (chosen.rgb() != background.rgb())
            setColours(background, chosen);
    } else if (Index == 2) {
        setColours(Qt::white, Qt::black);
    }
}

QColor frmViewer::chooseColour()
{
    dlgViewerColour_ = host_.messages.chooseColour(dlgViewerColour_);
    return dlgViewerColour_;
}

void frmViewer::setColours(const QColor& background, const QColor& text)
{
    QPalette palette = txtViewer_->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    txtViewer_->setPalette(palette);
}

void frmViewer::mnuFontSizesItem_Click(int Index)
{
    const int row = Index >= 0 && Index < kDefaultItem ? Index : kDefaultItem;
    const FontSize& size = kFontSizes.at(row);
    for (int i = 0; i < kDefaultItem; ++i)
        mnuFontSizesItem_.at(i)->setChecked(i == size.checkedItem);
    mnuFontSizesItem_.at(kDefaultItem)->setChecked(false);
    setTextSize(size.points);
}

void frmViewer::setTextSize(double points)
{
    QFont font = txtViewer_->font();
    font.setBold(true);
    font.setPointSizeF(points);
    txtViewer_->setFont(font);
}

} // namespace kadrix
