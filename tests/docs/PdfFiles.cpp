#include "PdfFiles.h"

#include "TestFiles.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>

namespace kadrix::test {

void writePdf(const QString& path, const QString& text, int pages)
{
    makeDirectory(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setTitle(text);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.drawText(QPointF(200, 400), text);
    }
}

} // namespace kadrix::test
