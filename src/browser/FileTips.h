#pragma once

#include "platform/FileHead.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>

namespace kadrix {

class FileList;

// Tooltips over the files of the two file lists: a look at a file before
// it is opened. The file's first bytes are read on a thread of its own, and
// the answer is kept by name with the size and time of the file it was made
// from; a file that cannot be read gives no tooltip of its own, and the
// list's tooltip shows instead. A tooltip answered before shows at once
// while the file is checked again; one not answered yet shows when its
// answer arrives, if the mouse is still over the file. Nothing here waits
// on a file: a share that has stopped answering holds a reading thread (and
// any further reading in its directory is given up) but never the window
// nor the end of the program.
class FileTips final : public QObject {
    Q_OBJECT

public:
    enum class Kind { DataFiles, Converts };

    explicit FileTips(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileTips)

    void attach(FileList* list, Kind kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Answer {
        FileStamp stamp;
        QString text; // empty: no tooltip of its own
    };
    struct Asked {
        QPointer<FileList> list;
        Kind kind;
        QElapsedTimer since;
    };

    QString pathAt(FileList* list, Kind kind, const QPoint& position) const;
    bool showTip(FileList* list, Kind kind, const QPoint& position);
    bool showAnswer(const QString& path, FileList* list, const QPoint& position);
    void ask(const QString& path, FileList* list, Kind kind);
    bool directoryIsSilent(const QString& path) const;
    void answered(const QString& path, const std::optional<FileHead>& head);
    void showIfStillOver(const QString& path, FileList* list, Kind kind);

    QHash<QObject*, std::pair<FileList*, Kind>> lists_; // by viewport
    QHash<QString, Answer> answers_;
    QHash<QString, Asked> asked_;
};

} // namespace kadrix
