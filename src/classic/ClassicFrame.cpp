#include "classic/ClassicFrame.h"

#include "classic/Twips.h"

namespace kadrix {

QSize outerTwips(QSize clientPixels, MenuBar menuBar)
{
    const int menuHeight = menuBar == MenuBar::Present ? kMenuBarHeightTwips : 0;
    return {toTwips(clientPixels.width()) + kFrameWidthTwips,
            toTwips(clientPixels.height()) + kCaptionHeightTwips + menuHeight};
}

int clientWidthForOuter(int outerWidth)
{
    return twips(outerWidth - kFrameWidthTwips);
}

} // namespace kadrix
