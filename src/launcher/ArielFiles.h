#pragma once

#include <QString>

namespace kadrix {

// The Ariel Dynamics file of each "&Ariel Dynamics ..." item: ".3d" for
// item 0, ".1t" ... ".9t" for items 1 to 9.
QString arielExtension(int index);

} // namespace kadrix
