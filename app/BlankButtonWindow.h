// CBlankButtonWindow: the filler of an empty pane of a button bar. It never changes state and
// never reports itself selected.
#pragma once

#include "app/ButtonWindow.h"

class CBlankButtonWindow : public CButtonWindow {
public:
    CBlankButtonWindow() : CButtonWindow(CButtonDef(0, "butblank.web", 0)) {}

    void Select() override {}
    void Deselect() override {}
    void TrackHover(int, int) override {}
    void Press(int, int) override {}
    BOOL IsSelected() const override { return FALSE; }
};
