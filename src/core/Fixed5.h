#pragma once

#include <QString>

namespace kadrix {

// A number as a text of exactly five columns, as the .DG header keeps its
// fields: limited to -9999..9999, a blank in place of the sign when not
// negative, padded on the left. A value whose text needs more than five
// characters (only possible with fractional digits) gives the empty text.
QString Fixed5(double value);

} // namespace kadrix
