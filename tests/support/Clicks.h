#pragma once

#include "browser/FileList.h"

#include <QTest>

namespace kadrix::test {

// Clicks (or double-clicks) the entry `name` of a file list, as a user would.
inline void clickFile(FileList* list, const QString& name, bool twice = false)
{
    const int row = static_cast<int>(list->names().indexOf(name));
    QVERIFY2(row >= 0, qPrintable(name));
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    const QPoint where = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where);
}

// A click on a list's free area.
inline void clickEmptyList(FileList* list)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace kadrix::test
