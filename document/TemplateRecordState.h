// What the template engine client and the preview know about the current graphic beyond the
// option record's saved fields: switches that live only while the program runs.
//
// The record's seven capability flags carry what the loaded template offers; the indices below
// name them. The engine-side switches (interactive render, one-shot clipped render and the
// rest) are kept per record here, looked up by the record's address, so that a record copied
// for staging starts from the defaults.
#pragma once

#include "framework/core/CString.h"

class COptions;

// Indices of COptions' capability flags.
enum TemplateCapability : int {
  kCapabilityText = 0,
  kCapabilityColour = 1,
  kCapabilityBitmap = 2,
  kCapabilityBevel = 3,
  kCapabilityTemplateProperties = 4,  // the loaded template offered slots of its own
  kCapabilityFont = 5,
  kCapabilityTemplateLoaded = 6,
};

struct CTemplateRecordState {
  int interactiveRender = 1;  // cleared while bars and thumbnails render
  int clipRenderOnce = 0;     // the next render goes through the clipped entry once
  int templateSize = 0;       // the base size came from the template
  int clipViewport = 0;       // the template names a clip viewport object
  int templateJustification = 0;
  double renderedScale = 0;   // the Scale the preview buffer was rendered at
  int shadowChanged = 0;      // the soft shadow must be made again
  CString templateFillType;   // "Bitmap" or "Flat"
};

// The state of a record (created with the defaults on first use); never null for a record.
CTemplateRecordState& TemplateRecordState(const COptions* record);
// Forgets the state of a record that is about to be destroyed.
void ForgetTemplateRecordState(const COptions* record);
