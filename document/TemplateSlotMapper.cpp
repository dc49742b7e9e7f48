#include "document/TemplateSlotMapper.h"

#include "document/Options.h"
#include "document/TemplateValues.h"

using namespace TemplateValues;

namespace {

constexpr int kColourSlotType = 5;

// True when text begins with word, compared without regard to case.
bool BeginsWith(const CString& text, const char* word) {
  const CString head = text.Left(static_cast<int>(std::char_traits<char>::length(word)));
  return head.CompareNoCase(word) == 0 && head.GetLength() == static_cast<int>(std::char_traits<char>::length(word));
}

CString Numbered(const char* prefix, int n) {
  CString text;
  text.Format("%s%d", prefix, n);
  return text;
}

// Rows of the name rule, in the order they are tried.
enum NameRow {
  kRowText, kRowFont, kRowBold, kRowItalic, kRowAspect, kRowJustification, kRowTextSize,
  kRowTracking, kRowPosition, kRowBevelIndent, kRowBevelLightAngle, kRowBevelType,
  kRowBevelContrast, kRowBitmapFill, kRowFillType, kRowOther
};

struct NameRule {
  const char* prefix;
  NameRow row;
  const char* tagPrefix;  // the rewritten tag of a slot without "#": tagPrefix + n
  bool marksModified;
};

const NameRule kNameRules[] = {
    {"text", kRowText, "#", true},
    {"font", kRowFont, "#", true},
    {"bold", kRowBold, "TextBold#", true},
    {"italic", kRowItalic, "TextItalic#", true},
    {"aspect", kRowAspect, "#", false},
    {"textjustification", kRowJustification, "#", false},
    {"textsize", kRowTextSize, "TextSize#", false},
    {"texttracking", kRowTracking, "TextTracking#", false},
    {"position", kRowPosition, "#", true},
    {"bevelindent", kRowBevelIndent, "#", true},
    {"bevellightangle", kRowBevelLightAngle, "#", true},
    {"beveltype", kRowBevelType, "#", true},
    {"bevelcontrast", kRowBevelContrast, "#", true},
    {"bitmapfill", kRowBitmapFill, "#", true},
    {"filltype", kRowFillType, "#", true},
};

}  // namespace

bool CTemplateSlotMapper::IsOldDocument(const COptions& record) {
  return record.GetVersion() > 0 && record.GetVersion() <= 1.2;
}

void CTemplateSlotMapper::Begin(COptions& record) {
  colourCount = 0;
  bitmapKinds = 0;
  bitmapCounter = 1;
  constraintCount = 0;
  horizontalConstraint = 0;
  verticalConstraint = 0;
  clipViewport = 0;
  clipViewportName.Empty();
  missing.Empty();
  record.SetAllStatesFlag(0);
  record.SetHaveGotConstrainedObject(0);
  record.SetModified();
  record.SetClipViewportFlag(0);
  record.SetCropRect(nullptr);
  record.SetConstraintFlags(0, 0);
}

void CTemplateSlotMapper::SetBevel(const CString& which, COptions& record, long v) {
  if (which == "bevelindent") {
    record.SetBevelIndent(v);
    record.SetBevelSelector(0x10000);
  } else if (which == "bevellightangle") {
    record.SetBevelLightAngle(v);
    record.SetBevelSelector(0x80000);
  } else if (which == "beveltype") {
    record.SetBevelType(v);
    record.SetBevelSelector(0x10000);
  } else {
    record.SetBevelContrast(v);
    record.SetBevelSelector(0x20000);
  }
  record.SetCapabilityFlag(kCapabilityBevel, 1);
}

bool CTemplateSlotMapper::MapByName(const CTemplateRawSlot& raw, CTemplateSlotInfo& slot,
                                    COptions& record, int n, long v) {
  const bool hashed = raw.tag.Find('#') >= 0;
  const NameRule* hit = nullptr;
  for (const NameRule& rule : kNameRules) {
    if (raw.name.CompareNoCase(Numbered(rule.prefix, n)) == 0 ||
        (rule.row == kRowText && raw.name.CompareNoCase(Numbered("", n) + "text") == 0)) {
      hit = &rule;
      break;
    }
  }
  const char* tagPrefix = hit ? hit->tagPrefix : "#";
  if (!hashed) slot.tag = Numbered(tagPrefix, n);
  slot.name = raw.name;
  const NameRow row = hit ? hit->row : kRowOther;
  switch (row) {
    case kRowText:
      slot.key = "TEXTSTRING";
      record.SetCapabilityFlag(kCapabilityText, 1);
      break;
    case kRowFont:
      slot.key = "TEXTFONT";
      record.SetCapabilityFlag(kCapabilityFont, 1);
      break;
    case kRowBold:
      slot.key = raw.tag;
      record.SetBold(0, 0);
      break;
    case kRowItalic:
      slot.key = raw.tag;
      record.SetItalic(0, 0);
      break;
    case kRowAspect: slot.key = "TEXTASPECT"; break;
    case kRowJustification:
      slot.key = "TEXTJUSTIFICATION";
      record.SetTemplateJustification(static_cast<int>(v));
      break;
    case kRowTextSize: slot.key = "TEXTSIZE"; break;
    case kRowTracking: slot.key = "TEXTTRACKING"; break;
    case kRowPosition:
      slot.key = "TEXTPOSITION";
      record.SetHasPositionFlag(1);
      break;
    case kRowBevelIndent:
    case kRowBevelLightAngle:
    case kRowBevelType:
    case kRowBevelContrast: {
      CString which(hit->prefix);
      which.MakeUpper();
      slot.key = which;
      SetBevel(CString(hit->prefix), record, v);
      break;
    }
    case kRowBitmapFill:
      slot.key = Numbered("USERBITMAP", n);
      slot.tag = CutBitmapMarker(raw.tag);
      bitmapKinds = kUserBitmap;
      record.SetCapabilityFlag(kCapabilityBitmap, 1);
      ++bitmapCounter;
      break;
    case kRowFillType:
      slot.key = Numbered("FILLTYPE", n);
      record.SetHaveLoadedContoneBitmap(1);
      break;
    case kRowOther: slot.key = "UNDETERMINED TYPE"; break;
  }
  if (hit && hit->marksModified) record.SetModified();
  return true;
}

void CTemplateSlotMapper::MapByType(const CTemplateRawSlot& raw, CTemplateSlotInfo& slot,
                                    COptions& record, long v) {
  const CString& description = slot.description;
  switch (raw.type) {
    case 1:
      if (BeginsWith(description, "TextJustification")) {
        slot.key = "TEXTJUSTIFICATION";
        record.SetTemplateJustification(static_cast<int>(v));
      } else {
        slot.key = "TEXTTRACKING";
      }
      break;
    case 2: slot.key = "TEXTASPECT"; break;
    case 3:
      slot.key = raw.tag;
      if (LeadingTagWord(raw.tag).CompareNoCase("TEXTITALIC") == 0)
        record.SetItalic(static_cast<int>(v), 0);
      else
        record.SetBold(static_cast<int>(v), 0);
      break;
    case 4: {
      bool bevel = false;
      for (const char* word : {"bevelindent", "bevellightangle", "beveltype", "bevelcontrast"}) {
        if (BeginsWith(description, word)) {
          CString key(word);
          key.MakeUpper();
          slot.key = key;
          SetBevel(CString(word), record, v);
          bevel = true;
          break;
        }
      }
      if (!bevel) slot.key = "TEXTSIZE";
      break;
    }
    case kColourSlotType:
      ++colourCount;
      if (!raw.value.IsEmpty()) {
        slot.key = "COLOUR";
        record.SetCapabilityFlag(kCapabilityColour, 1);
      } else {
        missing += "Colour ";
      }
      break;
    case 6:
      fontName = raw.value;
      slot.key = "TEXTFONT";
      if (!raw.value.IsEmpty()) record.SetCapabilityFlag(kCapabilityFont, 1);
      else missing += "Font ";
      break;
    case 7: break;
    case 8: {
      const CString& tag = raw.tag;
      if (tag.CompareNoCase("FOREGROUNDBITMAP") == 0) {
        slot.key = "FOREGROUNDBITMAP";
        bitmapKinds |= kForegroundBitmap;
        ++bitmapCounter;
        record.SetCapabilityFlag(kCapabilityBitmap, 1);
      } else if (tag.CompareNoCase("BACKGROUNDBITMAP") == 0) {
        slot.key = "BACKGROUNDBITMAP";
        record.SetCapabilityFlag(kCapabilityBitmap, 1);
      } else if (tag.CompareNoCase("TEXTBITMAP") == 0) {
        slot.key = "TEXTBITMAP";
        bitmapKinds |= kTextBitmap;
        ++bitmapCounter;
        record.SetCapabilityFlag(kCapabilityBitmap, 1);
      } else if (tag.Find("@#BMP!") >= 0) {
        slot.key = Numbered("USERBITMAP", bitmapCounter);
        ++bitmapCounter;
        bitmapKinds = kUserBitmap;
        record.SetCapabilityFlag(kCapabilityBitmap, 1);
        slot.tag = CutBitmapMarker(tag);
      } else {
        missing += "Texture ";
      }
      break;
    }
    case 9:
      if (BeginsWith(description, "TextPosition")) {
        slot.key = "TEXTPOSITION";
        record.SetHasPositionFlag(1);
      } else if (!description.IsEmpty()) {
        if (CString(raw.key).MakeUpper().Find("FILLTYPE") >= 0) record.SetHaveLoadedContoneBitmap(1);
      } else {
        text = raw.value;
        slot.key = "TEXTSTRING";
        if (!raw.value.IsEmpty()) record.SetCapabilityFlag(kCapabilityText, 1);
        else missing += "Text ";
      }
      break;
    default:
      if (BeginsWith(description, "constrained") || BeginsWith(description, "?")) {
        slot.key = "CONSTRAINED";
        record.SetHaveGotConstrainedObject(1);
        ++constraintCount;
        // A direction letter at the end of the description (or a one-letter description)
        // says which way the object stretches.
        const int limit = description.GetLength() - 2;
        if (description.Find('x') >= limit) horizontalConstraint = 1;
        if (description.Find('y') >= limit) verticalConstraint = 1;
      } else if (raw.tag == "@!CLIPVIEWPORT!@") {
        clipViewportName = raw.key;
        clipViewport = 1;
        record.SetClipViewportFlag(1);
      } else {
        slot.key = "UNDETERMINED TYPE";
      }
      break;
  }
}

std::unique_ptr<CTemplateSlotInfo> CTemplateSlotMapper::Map(
    const CTemplateRawSlot& raw, const std::vector<std::unique_ptr<CTemplateSlotInfo>>& earlier,
    COptions& record, bool oldDocument) {
  auto slot = std::make_unique<CTemplateSlotInfo>();
  slot->type = raw.type;
  slot->value = raw.value;
  slot->tag = raw.tag;
  slot->key = raw.key;
  slot->description = raw.description;
  slot->description.MakeLower();
  const int n = NumberFromFirstDigit(raw.name);
  const long v = DecimalValue(raw.value);

  if (n >= 1 && raw.type != kColourSlotType && !oldDocument) {
    MapByName(raw, *slot, record, n, v);
  } else if (raw.type == kColourSlotType && !raw.name.IsEmpty()) {
    ++colourCount;
    slot->name = raw.name;
    record.SetCapabilityFlag(kCapabilityColour, 1);
    record.SetModified();
  } else {
    MapByType(raw, *slot, record, v);
  }

  if (slot->key.CompareNoCase("TEXTSTRING") == 0) {
    for (const auto& before : earlier) {
      if (before && before->key.CompareNoCase("TEXTSTRING") == 0 && before->value == slot->value) {
        slot->inUse = 0;
        break;
      }
    }
  }
  return slot;
}

void CTemplateSlotMapper::Finish(COptions& record) {
  record.SetConstraintFlags(horizontalConstraint, verticalConstraint);
}
