// Files and directories dropped on the main window, or pasted with Ctrl+V,
// go to the browser; what it has to say goes to the status bar.

#include "app/frmKadrix.h"
#include "browser/PathOpener.h"

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QStatusBar>

namespace kadrix {

namespace {

// How long a line of the browser stays over the status bar's notice.
constexpr int kToldTimeout = 15000;

} // namespace

void frmKadrix::connectDropAndPaste()
{
    setAcceptDrops(true);
    auto* paste = new QAction(this);
    paste->setObjectName(QStringLiteral("pastePaths"));
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WindowShortcut);
    addAction(paste);
    connect(paste, &QAction::triggered, pathOpener_.get(),
            [this] { pathOpener_->paste(QGuiApplication::clipboard()->mimeData()); });
    connect(pathOpener_.get(), &PathOpener::told, this, [this](const QString& text) {
        if (ui_.StatusBar1)
            ui_.StatusBar1->showMessage(text, kToldTimeout);
    });
}

void frmKadrix::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData() && PathOpener::namesPaths(*event->mimeData()))
        event->acceptProposedAction();
}

void frmKadrix::dropEvent(QDropEvent* event)
{
    if (!event->mimeData())
        return;
    event->acceptProposedAction();
    pathOpener_->drop(*event->mimeData());
}

} // namespace kadrix
