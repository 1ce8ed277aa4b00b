#include "classic/AccessibleWindows.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace kadrix {

namespace {

const char* const kExposedAsWindow = "kadrixExposedAsWindow";

QAccessibleInterface* windowInterface(const QString& className, QObject* object)
{
    Q_UNUSED(className)
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow() || !widget->property(kExposedAsWindow).toBool())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void exposeAsWindow(QWidget& window)
{
    static const bool installed = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(installed)
    window.setProperty(kExposedAsWindow, true);
}

} // namespace kadrix
