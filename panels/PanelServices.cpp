#include "panels/PanelServices.h"

namespace {
CPanelServices g_defaultServices;
CPanelServices* g_services = &g_defaultServices;
}  // namespace

void CPanelServices::DrawBevelFrame(CWnd* window, CDC* dc)
{
    if (!window || !dc)
        return;
    RECT client;
    window->GetClientRect(&client);
    ::DrawEdge(dc->GetSafeHdc(), &client, EDGE_RAISED, BF_RECT);
}

CPanelServices& GetPanelServices()
{
    return *g_services;
}

void SetPanelServices(CPanelServices* services)
{
    g_services = services ? services : &g_defaultServices;
}
