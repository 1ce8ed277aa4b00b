#pragma once

#include <QIcon>
#include <QPixmap>

namespace kadrix {

// The program's icon: a runner, as the suite digitizes one.
QPixmap programIconPixmap(int size = 32);
QIcon programIcon();

// The picture on the About box's author panel (180 x 198 pixels).
QPixmap authorPicture();

} // namespace kadrix
