// Maps the slots of a loaded template to the program's property keys and copies what they
// tell about the template into the option record.
//
// Call protocol, once per template read:
//   Begin(record)             resets the counters and the record's template flags
//   Map(raw, earlier, record) one call per slot in enumeration order; returns the record
//   Finish(record)            stores the constraint directions found
// A slot is mapped by its name first ("text1", "bevelindent2"...) unless the document is old
// or the name carries no number of at least 1; otherwise its type decides.
#pragma once

#include <memory>
#include <vector>

#include "document/TemplateSlotInfo.h"
#include "framework/core/CString.h"

class COptions;

// A slot as the engine reports it, before mapping.
struct CTemplateRawSlot {
  int type = 0;
  CString description;
  CString tag;
  CString key;
  CString value;
  CString name;  // empty when the engine gave no name
};

class CTemplateSlotMapper {
 public:
  // Bits of bitmapKinds.
  enum : int { kTextBitmap = 1, kForegroundBitmap = 2, kUserBitmap = 4 };

  void Begin(COptions& record);
  std::unique_ptr<CTemplateSlotInfo> Map(const CTemplateRawSlot& raw,
                                         const std::vector<std::unique_ptr<CTemplateSlotInfo>>& earlier,
                                         COptions& record, bool oldDocument);
  void Finish(COptions& record);

  // Old documents (Version above 0, at most 1.2) predate slot names.
  static bool IsOldDocument(const COptions& record);

  int colourCount = 0;
  int bitmapKinds = 0;
  int bitmapCounter = 1;  // the next USERBITMAP number
  int constraintCount = 0;
  int horizontalConstraint = 0;
  int verticalConstraint = 0;
  int clipViewport = 0;
  CString clipViewportName;
  CString missing;  // "Size ", "Colour ", "Font ", "Texture ", "Text " for what is absent
  CString fontName;
  CString text;

 private:
  bool MapByName(const CTemplateRawSlot& raw, CTemplateSlotInfo& slot, COptions& record, int n,
                 long v);
  void MapByType(const CTemplateRawSlot& raw, CTemplateSlotInfo& slot, COptions& record, long v);
  void SetBevel(const CString& which, COptions& record, long v);
};
