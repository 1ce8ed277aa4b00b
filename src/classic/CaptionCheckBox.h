#pragma once

#include <QCheckBox>

namespace kadrix {

// A check box whose caption wraps onto several lines within its width.
class CaptionCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    explicit CaptionCheckBox(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override;
};

} // namespace kadrix
