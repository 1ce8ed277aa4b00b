#include "docs/LayoutRules.h"

namespace kadrix {

QRect viewerTextBox(QRect current, QSize outer)
{
    QRect box(current.left(), 0, current.width(), current.height());
    if (outer.width() > 200)
        box.setWidth(outer.width() - 150);
    if (outer.height() > 800)
        box.setHeight(outer.height() - 750);
    return box;
}

QRect readerDocumentArea(QRect current, QSize outer)
{
    QRect area(100, 720, current.width(), current.height());
    if (outer.height() > 1400)
        area.setHeight(outer.height() - 1300);
    if (outer.width() > 400)
        area.setWidth(outer.width() - 300);
    return area;
}

} // namespace kadrix
