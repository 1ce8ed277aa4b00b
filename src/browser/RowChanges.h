#pragma once

#include <QStringList>

#include <vector>

namespace kadrix {

// One step that turns a list of names into a newer one: `count` rows
// removed at `row`, or the names `after[from .. from + count)` inserted at
// `row`. Rows count in the list as it stands when the step is applied.
struct RowChange {
    bool insert = false;
    int row = 0;
    int count = 0;
    int from = 0;
};

// The steps, in order, that turn `before` into `after` while every name the
// two share keeps its row: a walk over both lists in the file lists' sort
// order, grouping neighbouring removals and insertions.
std::vector<RowChange> rowChanges(const QStringList& before, const QStringList& after);

// Above this many steps a list is rebuilt in one go instead.
constexpr size_t kMostRowChanges = 256;

} // namespace kadrix
