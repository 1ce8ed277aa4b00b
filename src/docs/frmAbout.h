#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace kadrix {

struct AppState;

// The About box: the program's name, version and purpose; "&Author"
// unfolds a panel with the author's picture and contact details. It also
// serves as the start-up splash. It is folded again whenever it becomes
// the active window.
class frmAbout final : public QWidget {
    Q_OBJECT

public:
    // Client heights, in twips, folded and unfolded.
    static constexpr int kFoldedHeight = 2370;
    static constexpr int kAuthorPanelHeight = 2500;

    // `mainWindow` is sent to the back when the box becomes active.
    frmAbout(const AppState& state, QWidget* mainWindow);
    Q_DISABLE_COPY_MOVE(frmAbout)

    void Form_Load();
    void Form_Activate();
    void cmdAuthor_Click();
    void cmdAbout_Click();
    void lblWren_Click();

    bool AuthorShown() const { return authorShown_; }

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void setClientHeight(int pixels);

    const AppState& state_;
    QWidget* mainWindow_ = nullptr;
    QLabel* lblAbout_ = nullptr;
    QLabel* picAbout_ = nullptr;
    QPushButton* cmdAuthor_ = nullptr;
    QPushButton* cmdAbout_ = nullptr;
    QLabel* picWren_ = nullptr;
    QLabel* lblWren_ = nullptr;
    bool authorShown_ = false;
};

} // namespace kadrix
