#include "app/WindowPlacement.h"

#include <cstring>

CWindowPlacement::CWindowPlacement()
{
    std::memset(&m_placement, 0, sizeof m_placement);
    m_placement.length = sizeof m_placement;
}

namespace {
struct Value {
    const char* name;
    LONG* member;
};
}  // namespace

#define BW_PLACEMENT_VALUES(p)                                                                                    \
    Value values[] = {{"ShowCommand", (LONG*)&p.showCmd},      {"Flags", (LONG*)&p.flags},                       \
                      {"MinPositionX", &p.ptMinPosition.x},    {"MinPositionY", &p.ptMinPosition.y},             \
                      {"MaxPositionX", &p.ptMaxPosition.x},    {"MaxPositionY", &p.ptMaxPosition.y},             \
                      {"Left", &p.rcNormalPosition.left},      {"Right", &p.rcNormalPosition.right},             \
                      {"Top", &p.rcNormalPosition.top},        {"Bottom", &p.rcNormalPosition.bottom}}

void CWindowPlacement::Load(const char* section)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    BW_PLACEMENT_VALUES(m_placement);
    for (const Value& v : values)
        *v.member = (LONG)app->GetProfileInt(section, v.name, (int)*v.member);
}

void CWindowPlacement::Save(const char* section) const
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    WINDOWPLACEMENT copy = m_placement;
    BW_PLACEMENT_VALUES(copy);
    for (const Value& v : values)
        app->WriteProfileInt(section, v.name, (int)*v.member);
}
