#pragma once

#include <QPushButton>

namespace kadrix {

// A push button whose caption wraps onto several lines when it does not fit,
// as the classic buttons did; "&" marks the access key, "&&" shows one "&".
class CaptionButton final : public QPushButton {
    Q_OBJECT

public:
    explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);

    // Leaves the access key to a menu title that shares it, keeping the
    // underline: the button is still reached with Tab.
    void yieldAccessKey();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kadrix
