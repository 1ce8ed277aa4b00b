#include "classic/FormBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kadrix {

void setIndex(QObject* control, std::size_t index)
{
    control->setProperty("index", static_cast<int>(index));
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption, int index)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (index >= 0)
        action->setProperty("index", index);
    return action;
}

QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace kadrix
