#pragma once

#include <QString>
#include <QWidget>
#include <QtPlugin>

namespace kadrix {

struct AppState;
class Messages;

// The PDF reader's window, as the rest of the program sees it.
class ReaderWindow : public QWidget {
public:
    using QWidget::QWidget;

    // Shows the reader and runs its activation.
    virtual void showAndActivate() = 0;
};

// The PDF reader and printing. They live in a plugin loaded on first use
// (see ReaderPluginLoader.h), so that start-up never loads Qt PDF, Qt Print
// Support and the libraries those pull in.
class ReaderPlugin {
public:
    virtual ~ReaderPlugin() = default;

    // A new reader window: see frmReader.
    virtual ReaderWindow* createReader(const AppState& state, Messages& messages,
                                       QString& CurrentDocument) = 0;
    // The printer set-up dialog, over the given window.
    virtual void printerSetup(QWidget* parent) = 0;
};

} // namespace kadrix

#define KADRIX_READER_PLUGIN_IID "org.movarta.kadrix95.ReaderPlugin/1"
Q_DECLARE_INTERFACE(kadrix::ReaderPlugin, KADRIX_READER_PLUGIN_IID)
