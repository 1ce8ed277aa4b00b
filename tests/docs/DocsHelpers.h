#pragma once

#include "TestFiles.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTest>
#include <QWidget>

namespace kadrix::test {

// Writes a PDF document of `pages` pages, each saying `text`, creating the
// directories on the way; the path is taken byte for byte (NativeNames.h).
inline void writePdf(const QString& path, const QString& text = "Manual", int pages = 1)
{
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&document);
        QPainter painter(&writer);
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                writer.newPage();
            painter.drawText(QPointF(200, 400), text);
        }
    }
    writeFile(path, document.data());
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
