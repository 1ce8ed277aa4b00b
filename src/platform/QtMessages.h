#pragma once

#include "platform/Messages.h"

#include <functional>

class QWidget;

namespace kadrix {

// Messages shown with Qt's own dialogs, over the program's active window.
// The printer set-up dialog is provided by whoever prints (see main.cpp);
// without a provider it does nothing.
class QtMessages final : public Messages {
public:
    using PrinterSetup = std::function<void(QWidget* parent)>;

    QtMessages();

    void setPrinterSetup(PrinterSetup provider) { printerSetup_ = std::move(provider); }

    MessageAnswer showMessage(const MessageBox& box) override;
    QString inputBox(const InputBox& box) override;
    QString openFileName(const OpenFileDialog& dialog) override;
    QColor chooseColour(const QColor& initial) override;
    void printerSetup() override;

private:
    static QWidget* dialogParent();

    PrinterSetup printerSetup_;
};

} // namespace kadrix
