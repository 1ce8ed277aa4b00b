#pragma once

#include "classic/Twips.h"

#include <QRect>
#include <QString>

#include <array>
#include <cstddef>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QWidget;

namespace kadrix {

// The classic windows are built from their designs: every control gets the
// name the program and its tests find it by, and its place in twips; items
// of one group share a name and are told apart by an index.

// Names a control and puts it at its designed place (twips), with a tooltip
// when one is given.
template <typename Control>
Control* place(Control* control, const char* name, QRect twipsGeometry, const QString& toolTip = {})
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(twipsGeometry);
    if (!toolTip.isEmpty())
        control->setToolTip(toolTip);
    return control;
}

// Marks a control as the index-th of the group that shares its name.
void setIndex(QObject* control, std::size_t index);

// A named menu item at the end of `menu`, with its index when it has one.
QAction* menuItem(QMenu* menu, const char* name, const QString& caption, int index = -1);

// The items of one group, each with its index, in the order given.
template <std::size_t N>
void menuItems(QMenu* menu, const char* name, std::array<QAction*, N>& actions,
               const std::array<const char*, N>& captions)
{
    for (std::size_t i = 0; i < N; ++i)
        actions.at(i) =
            menuItem(menu, name, QString::fromUtf8(captions.at(i)), static_cast<int>(i));
}

// A named menu of the menu bar.
QMenu* topMenu(QMenuBar* bar, const char* name, const QString& caption);

} // namespace kadrix
