#include "gallery/GalleryServices.h"

namespace {

CGalleryServices g_defaultServices;
CGalleryServices* g_services = &g_defaultServices;

}  // namespace

CGalleryServices::~CGalleryServices() = default;

CGalleryServices& GetGalleryServices()
{
    return *g_services;
}

void SetGalleryServices(CGalleryServices* services)
{
    g_services = services ? services : &g_defaultServices;
}
