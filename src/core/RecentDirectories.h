#pragma once

#include <QString>
#include <QStringList>

namespace kadrix {

class SettingsStore;

// Where the recent data directories are kept: beside the program's own
// settings, in a section of their own ("Recent", keys "Dir1" to "Dir8"), so
// that programs reading "Startup" find nothing new there.
inline const QString kRecentSection = QStringLiteral("Recent");

// The data directories the user last worked in, the most recent first, each
// once (names compared byte for byte), at most eight. Nothing here looks at
// the disk: a directory that has gone stays listed until it is chosen.
class RecentDirectories {
public:
    static constexpr qsizetype kMaximum = 8;

    const QStringList& paths() const { return paths_; }
    // Puts `path` first; true when the list changed.
    bool record(const QString& path);
    // Takes `path` off the list; true when it was on it.
    bool forget(const QString& path);

    void load(SettingsStore& settings);
    // Writes each key whose stored value differs from the list's place; a
    // place left empty is written as an empty value.
    void save(SettingsStore& settings);

private:
    QStringList paths_;
    QStringList saved_; // what the keys hold in the store, by place
};

// The caption of the recent item at `index` (from 0): "&1 " and the path as
// the program shows the data directory, its odd bytes written out, a long
// one shortened in the middle.
QString recentCaption(qsizetype index, const QString& path);

} // namespace kadrix
