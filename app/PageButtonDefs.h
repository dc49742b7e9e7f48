// The definitions of the page buttons of the button bars, by page id (1 to 21).
#pragma once

#include "app/ButtonDef.h"

// The definition of a page id; false for an id without one (the blank filler has id 0).
bool MakePageButtonDef(int pageId, CButtonDef* definition);
