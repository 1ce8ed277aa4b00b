#include "browser/FileTips.h"

#include "browser/FileList.h"
#include "browser/FileTipText.h"
#include "browser/NameListModel.h"

#include <QFutureWatcher>
#include <QHelpEvent>
#include <QPromise>
#include <QTextDocument>
#include <QToolTip>

#include <thread>

namespace kadrix {

namespace {

// A reading that has not answered in this time is taken for a silent share.
constexpr qint64 kPatienceMilliseconds = 1000;
// Answers kept before the oldest are let go.
constexpr qsizetype kMostAnswers = 4096;

QString directoryOf(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isDgFile(const QString& name)
{
    return name.endsWith(QStringLiteral(".dg"), Qt::CaseInsensitive);
}

} // namespace

FileTips::FileTips(QObject* parent)
    : QObject(parent)
{}

void FileTips::attach(FileList* list, Kind kind)
{
    lists_.insert(list->viewport(), {list, kind});
    list->viewport()->installEventFilter(this);
}

bool FileTips::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    const auto found = lists_.constFind(watched);
    if (found == lists_.constEnd())
        return false;
    return showTip(found->first, found->second, static_cast<QHelpEvent*>(event)->pos());
}

QString FileTips::pathAt(FileList* list, Kind kind, const QPoint& position) const
{
    const QString name = list->indexAt(position).data(NameListModel::kNameRole).toString();
    if (name.isEmpty() || (kind == Kind::DataFiles && !isDgFile(name)))
        return {};
    return list->path() + QLatin1Char('/') + name;
}

// True when the file's own tooltip is shown; otherwise the list's shows.
bool FileTips::showTip(FileList* list, Kind kind, const QPoint& position)
{
    const QString path = pathAt(list, kind, position);
    if (path.isEmpty())
        return false;
    ask(path, list, kind);
    return showAnswer(path, list, position);
}

bool FileTips::showAnswer(const QString& path, FileList* list, const QPoint& position)
{
    const QString text = answers_.value(path).text;
    if (text.isEmpty())
        return false;
    QToolTip::showText(list->viewport()->mapToGlobal(position),
                       Qt::convertFromPlainText(text, Qt::WhiteSpacePre), list->viewport(),
                       list->visualRect(list->indexAt(position)));
    return true;
}

// Reads the file, or checks that the answer kept is still the file's.
void FileTips::ask(const QString& path, FileList* list, Kind kind)
{
    if (asked_.contains(path) || directoryIsSilent(path))
        return;
    Asked& asked = asked_[path];
    asked.list = list;
    asked.kind = kind;
    asked.since.start();
    const FileStamp known = answers_.value(path).stamp;
    auto promise = std::make_shared<QPromise<std::optional<FileHead>>>();
    promise->start();
    auto* watcher = new QFutureWatcher<std::optional<FileHead>>(this);
    connect(watcher, &QFutureWatcher<std::optional<FileHead>>::finished, this,
            [this, watcher, path] {
                watcher->deleteLater();
                const auto future = watcher->future();
                answered(path, future.resultCount() > 0 ? future.result() : std::nullopt);
            });
    watcher->setFuture(promise->future());
    // A thread of its own, never one of a pool that the end of the program
    // waits for: the file may lie on a share that never answers.
    std::thread([promise, path, known] {
        promise->addResult(readFileHead(path, kTipBytes, known));
        promise->finish();
    }).detach();
}

bool FileTips::directoryIsSilent(const QString& path) const
{
    const QString directory = directoryOf(path);
    for (auto asked = asked_.constBegin(); asked != asked_.constEnd(); ++asked) {
        if (asked->since.elapsed() >= kPatienceMilliseconds &&
            directoryOf(asked.key()) == directory)
            return true;
    }
    return false;
}

void FileTips::answered(const QString& path, const std::optional<FileHead>& head)
{
    const Asked asked = asked_.take(path);
    if (head && head->unchanged)
        return;
    if (answers_.size() >= kMostAnswers)
        answers_.clear();
    if (!head) {
        answers_.remove(path);
        return;
    }
    const QString text = asked.kind == Kind::DataFiles ? dataFileTip(*head) : convertFileTip(*head);
    answers_.insert(path, {head->stamp, text});
    if (asked.list)
        showIfStillOver(path, asked.list, asked.kind);
}

void FileTips::showIfStillOver(const QString& path, FileList* list, Kind kind)
{
    QWidget* viewport = list->viewport();
    const QPoint position = viewport->mapFromGlobal(QCursor::pos());
    if (viewport->isVisible() && viewport->rect().contains(position) &&
        pathAt(list, kind, position) == path)
        showAnswer(path, list, position);
}

} // namespace kadrix
