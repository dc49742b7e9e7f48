#include "bitmap/BitmapServices.h"

#include "framework/core/CString.h"

namespace {
BitmapServices g_defaultServices;
BitmapServices* g_services = nullptr;

struct StringEntry {
  int id;
  const char* text;
};
// The export texts of the string table.
const StringEntry kStrings[] = {
    {32830, "%d bytes"},
    {32831, "%.2f K"},
    {32838, "%d K"},
    {32907, "Export failed!"},
    {10020, "OK"},
    {33223, "GIF"},
    {33224, "Multiple GIFs"},
    {33225, "PNG"},
    {33226, "Multiple PNGs"},
    {33227, "JPEG"},
    {33228, "Multiple JPEGs"},
    {33229, "Animated GIF"},
    {33230, "None"},
    {33231, "Yes (1 bit)"},
    {33232, "Yes (alpha channel)"},
    {33233, "%1!d! colors (4bpp)"},
    {33234, "%1!d! colors (8bpp)"},
    {33235, "True color (24bpp)"},
    {33236, "True color (32bpp)"},
    {33237, "Optimised palette"},
    {33238, "None"},
    {33239, "Error diffusion"},
    {33240, "Ordered"},
    {33243, "%dx%d pixels\n"},
};
}  // namespace

std::string BitmapServices::LoadString(int id) {
  CString text;
  if (CString::StringLoader loader = CString::GetStringLoader())
    if (loader(UINT(id), text)) return std::string(text.GetString(), std::size_t(text.GetLength()));
  for (const StringEntry& entry : kStrings)
    if (entry.id == id) return entry.text;
  return std::string();
}

BitmapServices& GetBitmapServices() { return g_services ? *g_services : g_defaultServices; }

BitmapServices* SetBitmapServices(BitmapServices* services) {
  BitmapServices* previous = g_services;
  g_services = services;
  return previous;
}
