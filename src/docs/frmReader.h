#pragma once

#include "docs/ReaderPlugin.h"

#include <memory>

class QLabel;
class QPushButton;

namespace kadrix {

struct AppState;
class ActivationWatch;
class DocumentList;
class Messages;
class PdfComponent;

// The PDF reader: one of the manuals in ManualsDir, shown by the PDF
// component, and a list of those manuals to choose from. Each activation
// opens ManualFile, or the list when ManualFile is empty. The document last
// handed to the component, CurrentDocument, belongs to the caller and
// outlives the window.
class frmReader final : public ReaderWindow {
    Q_OBJECT

public:
    frmReader(const AppState& state, Messages& messages, QString& CurrentDocument);
    ~frmReader() override;
    Q_DISABLE_COPY_MOVE(frmReader)

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Click();
    void cmdRead_Click();
    void cmdExit_Click();
    void filReader_Click();
    void lblReader_Click();

    void showAndActivate() override;

    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdRead() const { return cmdRead_; }
    QLabel* lblReader() const { return lblReader_; }
    DocumentList* filReader() const { return filReader_; }
    PdfComponent& pdfReader() const { return *pdfReader_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void openDocument(const QString& name);
    void showDocumentList();
    void showCurrentDocument();

    const AppState& state_;
    Messages& messages_;
    QString& CurrentDocument_;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdRead_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* lblReader_ = nullptr;
    DocumentList* filReader_ = nullptr;
    std::unique_ptr<PdfComponent> pdfReader_;
    ActivationWatch* activation_ = nullptr;
    bool activating_ = false;
};

} // namespace kadrix
