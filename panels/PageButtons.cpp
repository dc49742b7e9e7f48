#include "panels/PageButtons.h"

std::vector<PageButtonState> ComputePageButtonStates(const PageButtonInputs& in)
{
    const bool ready = in.templateReady;
    const bool photo = in.photoHandlerActive;
    const int type = in.graphicType;
    return {
        {3, in.textSlot && type != 4 && ready},
        {4, photo || ready},
        {5, photo || (in.textureCount > 0 && ready)},
        {6, (in.bevelSlot || type == 3) && ready},
        {7, type != 5 && type != 6 && !in.navBarMode && ready},
        {8, photo || ready},
        {9, in.canBeNavBarButton && ready && in.stateCount == 1},
        {14, ready || photo},
    };
}
