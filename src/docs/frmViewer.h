#pragma once

#include "docs/BigTextView.h"

#include <QColor>
#include <QMainWindow>
#include <QRect>

#include <array>

class QAction;

namespace kadrix {

struct AppState;
struct Host;
class ActivationWatch;

// The text viewer: one plain-text file, named by ViewerFile, in a scrolling
// fixed-pitch text box, read again each time the window becomes active. Its
// menus open another file, change the colours and pick a text size. A file
// the box cannot take goes to the desktop's text editor instead. Nothing is
// ever written back to the file.
class frmViewer final : public QMainWindow {
    Q_OBJECT

public:
    frmViewer(AppState& state, Host& host);
    ~frmViewer() override;
    Q_DISABLE_COPY_MOVE(frmViewer)

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuColours_Click(int Index);
    void mnuFontSizesItem_Click(int Index);
    void ViewerError(int code);

    // Shows the viewer and runs its activation.
    void showAndActivate();

    BigTextView* txtViewer() const { return txtViewer_; }
    QAction* mnuOpen() const { return mnuOpen_; }
    QAction* mnuExit() const { return mnuExit_; }
    const std::array<QAction*, 3>& mnuColours() const { return mnuColours_; }
    const std::array<QAction*, 6>& mnuFontSizesItem() const { return mnuFontSizesItem_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTextBox();
    void buildMenus();
    void handToTextEditor();
    void setTextSize(double points);
    void setColours(const QColor& background, const QColor& text);
    QColor chooseColour();

    AppState& state_;
    Host& host_;
    QWidget* client_ = nullptr;
    BigTextView* txtViewer_ = nullptr;
    QRect textBoxTwips_;
    QAction* mnuOpen_ = nullptr;
    QAction* mnuExit_ = nullptr;
    std::array<QAction*, 3> mnuColours_{};
    std::array<QAction*, 6> mnuFontSizesItem_{};
    QColor dlgViewerColour_ = Qt::black; // the colour dialog opens with what it last gave
    ActivationWatch* activation_ = nullptr;
    bool activating_ = false;
};

} // namespace kadrix
