#include "app/HelpPages.h"

#include "app/AppServices.h"

namespace {

struct HelpTopic {
    DWORD_PTR context;
    const char* page;
};

const HelpTopic kTopics[] = {
    {100, "index.html"},      // the start page and the pages without their own help
    {900, "index.html"},      // the start page's Tutorial
    {114, "design.html"},     // the design page
    {105, "text.html"},       // text and font
    {101, "colour.html"},     // colours
    {120, "colour.html"},     // the colour scheme
    {109, "texture.html"},    // textures and the background
    {111, "size.html"},       // size
    {102, "navbars.html"},    // the navigation bar's buttons and menus
    {112, "themes.html"},     // themes
    {115, "import.html"},     // importing photos
    {113, "output.html"},     // the output page and the save pages
    {203, "save.html"},       // saving a graphic: a file exists
    {207, "save.html"},       // saving a bar: files exist
    {204, "templates.html"},  // a style file that cannot be opened
};

}  // namespace

CString HelpPageFor(DWORD_PTR context)
{
    for (const HelpTopic& topic : kTopics)
        if (topic.context == context)
            return CString("Help\\") + topic.page;
    return "Help\\index.html";
}

bool ShowHelpPage(DWORD_PTR context)
{
    return OpenWithShell(GetRootPath() + HelpPageFor(context));
}
