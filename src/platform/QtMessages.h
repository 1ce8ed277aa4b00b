#pragma once

#include "platform/Messages.h"

class QWidget;

namespace kadrix {

// Messages shown with Qt's own dialogs, over the program's active window.
class QtMessages final : public Messages {
public:
    QtMessages();

    MessageAnswer showMessage(const MessageBox& box) override;
    QString inputBox(const InputBox& box) override;
    QString openFileName(const OpenFileDialog& dialog) override;
    QColor chooseColour(const QColor& initial) override;
    void printerSetup() override;

private:
    static QWidget* dialogParent();
};

} // namespace kadrix
