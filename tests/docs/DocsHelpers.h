#pragma once

#include "TestFiles.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>
#include <QWidget>

namespace kadrix::test {

// Writes a PDF document of `pages` pages, each saying `text`, creating the
// directories on the way.
inline void writePdf(const QString& path, const QString& text = "Manual", int pages = 1)
{
    makeDirectory(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.drawText(QPointF(200, 400), text);
    }
}

// Makes another window active, then `window` again, as a user going back to it.
inline bool switchAwayAndBack(QWidget& window)
{
    QWidget other;
    other.show();
    other.activateWindow();
    if (!QTest::qWaitForWindowActive(&other))
        return false;
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace kadrix::test
