// Which page buttons of the button bar are enabled for the current graphic: the rule table the
// panel base applies after the graphic or the page changed. Portable.
#pragma once

#include <vector>

struct PageButtonInputs {
    int graphicType = 0;
    bool templateReady = false;
    bool textSlot = false;
    bool bevelSlot = false;
    unsigned textureCount = 0;
    int stateCount = 0;
    bool photoHandlerActive = false;
    bool navBarMode = false;
    bool canBeNavBarButton = false;  // the graphic type can become a navigation-bar button
};

struct PageButtonState {
    int id;
    bool enable;
};

// The page button ids: text 3, colour 4, texture 5, bevel 6, shadow 7, size 8, navigation
// bars 9, save 14; one entry each, in ascending id order.
std::vector<PageButtonState> ComputePageButtonStates(const PageButtonInputs& in);
