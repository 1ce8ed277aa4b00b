#include "classic/WindowSlot.h"

#include <QWidget>

namespace kadrix {

void showAndActivate(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace kadrix
