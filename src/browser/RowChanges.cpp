#include "browser/RowChanges.h"

#include "browser/DirectoryListing.h"

namespace kadrix {

namespace {

void addStep(std::vector<RowChange>& steps, bool insert, int row, int from)
{
    if (!steps.empty()) {
        RowChange& last = steps.back();
        const int end = last.insert ? last.row + last.count : last.row;
        if (last.insert == insert && end == row && (!insert || last.from + last.count == from)) {
            ++last.count;
            return;
        }
    }
    steps.push_back({insert, row, 1, from});
}

} // namespace

std::vector<RowChange> rowChanges(const QStringList& before, const QStringList& after)
{
    std::vector<RowChange> steps;
    const int oldCount = static_cast<int>(before.size());
    const int newCount = static_cast<int>(after.size());
    int i = 0;
    int j = 0;
    int row = 0;
    while (i < oldCount || j < newCount) {
        if (i < oldCount && j < newCount && before.at(i) == after.at(j)) {
            ++i;
            ++j;
            ++row;
        } else if (j == newCount || (i < oldCount && namesInOrder(before.at(i), after.at(j)))) {
            addStep(steps, false, row, 0);
            ++i;
        } else {
            addStep(steps, true, row, j);
            ++j;
            ++row;
        }
    }
    return steps;
}

} // namespace kadrix
