#include "platform/QtMessages.h"

#include "platform/FileFilters.h"
#include "platform/NativeNames.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

namespace kadrix {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageAnswer fromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}

bool isProgramWindow(const QWidget* widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isVisible() && type != Qt::Popup && type != Qt::ToolTip &&
           type != Qt::SplashScreen;
}

// The window of the program that was active last: between two windows, or
// while another application has the focus, no window of the program is.
QPointer<QWidget>& lastActiveWindow()
{
    static QPointer<QWidget> window;
    static const QMetaObject::Connection tracking =
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* focused) {
            for (QWidget* candidate : QApplication::topLevelWidgets()) {
                if (focused && candidate->windowHandle() == focused && isProgramWindow(candidate))
                    window = candidate;
            }
        });
    Q_UNUSED(tracking)
    return window;
}

} // namespace

QtMessages::QtMessages()
{
    lastActiveWindow();
}

// Every box and dialog is centred on the program's active window; when none
// is active, on the one that was last, else on the first window shown.
QWidget* QtMessages::dialogParent()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (QWidget* last = lastActiveWindow(); last && isProgramWindow(last))
        return last;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (isProgramWindow(window))
            return window;
    }
    return nullptr;
}

MessageAnswer QtMessages::showMessage(const MessageBox& box)
{
    // File names in a message show their bytes that are no UTF-8 as \xFF.
    QMessageBox dialog(toQtIcon(box.icon), shownName(box.title), shownName(box.text),
                       toQtButtons(box.buttons), dialogParent());
    dialog.setTextFormat(Qt::PlainText);
    if (!box.detail.isEmpty())
        dialog.setDetailedText(shownName(box.detail));
    const int answer = dialog.exec();
    // Closing a box with Cancel by its frame answers Cancel; one without
    // Cancel answers its only or first button, as the classic boxes did.
    if (answer == QMessageBox::Escape || answer == 0)
        return box.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    return fromQtButton(answer);
}

QString QtMessages::inputBox(const InputBox& box)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(dialogParent(), box.title, box.prompt,
                                               QLineEdit::Normal, box.defaultText, &accepted);
    return accepted ? text : QString();
}

QString QtMessages::openFileName(const OpenFileDialog& dialog)
{
    QFileDialog fileDialog(dialogParent(), dialog.title, dialog.initialDirectory);
    fileDialog.setFileMode(QFileDialog::ExistingFile);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = hostFileFilters(dialog.filters);
    fileDialog.setNameFilters(filters);
    if (dialog.selectedFilter >= 0 && dialog.selectedFilter < filters.size())
        fileDialog.selectNameFilter(filters.at(dialog.selectedFilter));
    if (!dialog.fileName.isEmpty() && !dialog.fileName.contains(QLatin1Char('*')))
        fileDialog.selectFile(dialog.fileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return {};
    return fileDialog.selectedFiles().constFirst();
}

QColor QtMessages::chooseColour(const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, dialogParent());
    return chosen.isValid() ? chosen : initial;
}

void QtMessages::printerSetup()
{
    if (printerSetup_)
        printerSetup_(dialogParent());
}

} // namespace kadrix
