#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

namespace kadrix {

// The title every message box carries unless it names one of its own.
inline const QString kApplicationTitle = QStringLiteral("Kadrix95");

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageBox {
    QString text;
    QString title = kApplicationTitle;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // Shown on request below the text; empty: the box has no details.
    QString detail = {};

    bool operator==(const MessageBox&) const = default;
};

struct InputBox {
    QString prompt;
    QString title;
    QString defaultText;
};

struct OpenFileDialog {
    QString title;
    QString initialDirectory; // empty: the process's current directory
    QString fileName;         // preset name shown in the dialog
    QStringList filters;      // "Description (*.ext)" entries, in order
    int selectedFilter = 0;
};

// Message boxes and the standard dialogs. Nothing else in the program opens
// a QMessageBox or a standard dialog, so the tests can answer every one.
class Messages {
public:
    virtual ~Messages() = default;

    virtual MessageAnswer showMessage(const MessageBox& box) = 0;
    // The text typed, or the empty text when the user cancels.
    virtual QString inputBox(const InputBox& box) = 0;
    // The chosen file's full path, or the empty text when cancelled.
    virtual QString openFileName(const OpenFileDialog& dialog) = 0;
    // The chosen colour; when cancelled, the colour the dialog opened with.
    virtual QColor chooseColour(const QColor& initial) = 0;
    virtual void printerSetup() = 0;
};

} // namespace kadrix
