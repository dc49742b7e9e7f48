// The image writers' services over a test's graphic record: its export settings and a
// rasterizer context of its own.
#pragma once

#include "bitmap/BitmapServices.h"
#include "bitmap/TessroContextConversion.h"
#include "document/OptionsExportRecord.h"
#include "raster/Tessro.h"

class ExportServices : public BitmapServices {
 public:
  explicit ExportServices(COptions& graphic) : record(graphic) { previous = SetBitmapServices(this); }
  ~ExportServices() override { SetBitmapServices(previous); }
  ExportRecord* GetOptions() override { return &record; }
  TessroConversion* GetTessroContext() override { return &conversion; }
  COptionsExportRecord record;
  CTessro tessro{CTessro::kAppStackAllowance};
  TessroContextConversion conversion{tessro.GetContext()};
  BitmapServices* previous = nullptr;
};
