#pragma once

#include <QObject>
#include <QStringList>

class QMimeData;

namespace kadrix {

class Browser;

// Files and directories dropped on the main window or pasted into it. A
// directory is entered as the directory list would enter it; a file's
// directory is entered, then the file is selected as a click in the list
// that shows it would select it (nothing is started). Of several paths the
// first is taken, and the status bar says so.
class PathOpener final : public QObject {
    Q_OBJECT

public:
    explicit PathOpener(Browser& browser, QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(PathOpener)

    // Whether `data` names anything to open, for a drag to be accepted.
    static bool namesPaths(const QMimeData& data);
    void drop(const QMimeData& data);
    void paste(const QMimeData* data);
    // `paths` as text standing for their bytes (see NativeNames.h); `how`
    // is "dropped" or "pasted".
    void open(const QStringList& paths, const QString& how);

Q_SIGNALS:
    // A line for the status bar.
    void told(const QString& text);

private:
    void openFile(const QString& path, qsizetype count, const QString& how);
    void selectListed(const QString& name, qsizetype count, const QString& how);

    Browser& browser_;
};

} // namespace kadrix
