#include "editors/MenuServices.h"

namespace {
CMenuServices g_defaultServices;
CMenuServices* g_services = &g_defaultServices;
}  // namespace

CMenuServices& GetMenuServices()
{
    return *g_services;
}

void SetMenuServices(CMenuServices* services)
{
    g_services = services ? services : &g_defaultServices;
}
