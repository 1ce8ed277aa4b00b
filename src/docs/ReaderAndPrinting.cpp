// The reader plugin: the PDF reader and printing, with Qt PDF and Qt Print
// Support, loaded by the front-end on first use.

#include "docs/ReaderPlugin.h"
#include "docs/frmReader.h"

#include <QObject>
#include <QPrintDialog>
#include <QPrinter>

namespace kadrix {

class ReaderAndPrinting final : public QObject, public ReaderPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KADRIX_READER_PLUGIN_IID)
    Q_INTERFACES(kadrix::ReaderPlugin)

public:
    ReaderWindow* createReader(const AppState& state, Messages& messages,
                               QString& CurrentDocument) override
    {
        return new frmReader(state, messages, CurrentDocument);
    }

    void printerSetup(QWidget* parent) override
    {
        QPrinter printer;
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        dialog.exec();
    }
};

} // namespace kadrix

#include "ReaderAndPrinting.moc"
