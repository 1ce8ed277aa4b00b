#include "platform/FileFilters.h"

namespace kadrix {

// Qt's file dialog reads "*.*" literally here: only names with a dot.
QStringList hostFileFilters(QStringList filters)
{
    for (QString& filter : filters)
        filter.replace(QLatin1String("*.*"), QLatin1String("*"));
    return filters;
}

} // namespace kadrix
