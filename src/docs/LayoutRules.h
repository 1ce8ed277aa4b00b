#pragma once

#include <QRect>
#include <QSize>

namespace kadrix {

// How the two document windows fit their main control to a new window size.
// All values are in twips; `outer` is the window's outer size and `current`
// the control's rectangle before the resize.

// The viewer's text box: top 0; width = window width - 150 when the window
// is wider than 200; height = window height - 750 when it is higher than
// 800. A dimension below its limit keeps its value.
QRect viewerTextBox(QRect current, QSize outer);

// The reader's document area: left 100, top 720 always; height = window
// height - 1300 when it is higher than 1400; width = window width - 300 when
// it is wider than 400.
QRect readerDocumentArea(QRect current, QSize outer);

} // namespace kadrix
