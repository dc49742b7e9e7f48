#include "app/PageButtonDefs.h"

namespace {

struct PageButton {
    int pageId;
    const char* face;
    int shortcut;  // virtual-key code of the function key, 0 when none
};

// Shortcuts repeat: only the buttons of one bar compete, and the first in bar order wins.
const PageButton kPageButtons[] = {
    {1, "start.web", 113},     {2, "design.web", 114},     {3, "text.web", 115},
    {4, "colour.web", 116},    {5, "texture.web", 117},    {6, "bevel.web", 118},
    {7, "shadow.web", 119},    {8, "size.web", 118},       {9, "navbars.web", 119},
    {10, "photo.web", 114},    {11, "rotate.web", 118},    {12, "photosize.web", 120},
    {13, "thumbnail.web", 121}, {14, "save.web", 123},     {15, "load.web", 115},
    {16, "Import.web", 115},   {17, "explore.web", 116},   {18, "Tutorial.web", 116},
    {19, "exit.web", 0},       {20, "about.web", 123},     {21, "New.web", 114},
};

}  // namespace

bool MakePageButtonDef(int pageId, CButtonDef* definition)
{
    for (const PageButton& button : kPageButtons)
        if (button.pageId == pageId) {
            if (definition)
                *definition = CButtonDef(button.pageId, button.face, button.shortcut);
            return true;
        }
    return false;
}
