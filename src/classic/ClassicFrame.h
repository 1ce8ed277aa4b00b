#pragma once

#include <QSize>

namespace kadrix {

// The outer size of a window as the designs measure it: its client area plus
// the frame the classic windows had, two 4-pixel borders and a caption, and a
// menu bar when the window has one. Taken from the client area rather than
// from the window manager's frame, the sizes, and the layouts that follow
// them, come out the same on every desktop.
inline constexpr int kFrameWidthTwips = 120;
inline constexpr int kCaptionHeightTwips = 435;
inline constexpr int kMenuBarHeightTwips = 300;

enum class MenuBar { None, Present };

// The outer size, in twips, of a window whose client area (below its menu
// bar) is `clientPixels`.
QSize outerTwips(QSize clientPixels, MenuBar menuBar);

// The client width, in pixels, of a window whose outer width is `outerWidth` twips.
int clientWidthForOuter(int outerWidth);

} // namespace kadrix
