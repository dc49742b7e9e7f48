#include "document/TemplateHandler.h"
#include "framework/core/NumericConvert.h"

#ifdef _WIN32

#include <cstdio>
#include <new>

#include "document/DocumentFiles.h"
#include "document/OperationsManager.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/TemplateCOM.h"
#include "document/TemplateValues.h"
#include "document/TemplateWnd.h"

using namespace TemplateValues;

namespace {

const char kSource[] = "TemplateHandler";
enum : unsigned {
  kMsgComponentProblem = 32818,
  kMsgTemplateNotProcessed = 32897,
  kStrShadow = 32994,
  kStrPlain = 33093,
  kStrColourA = 33094,
  kStrColourB = 33095,
  kStrColour1OfTexture = 33096,
  kStrColour2OfTexture = 33097,
  kStrBackground = 33098,
};
enum : int {
  kErrInitNoRecord = 98, kErrDeactivateNoRect = 126, kErrLoadNoRecord = 200, kErrLoadNoWindow = 201,
  kErrNoClient = 281, kErrTextNoClient = 516, kErrTextNoWindow = 517, kErrFontNoClient = 560,
  kErrFontNoWindow = 561, kErrStateNoClient = 628, kErrColourNoWindow = 648, kErrColourNoClient = 649,
  kErrBadColour = 673, kErrShadowNoClient = 739, kErrShadowNoRecord = 742, kErrTextureColoursNoDoc = 785,
  kErrTextureColourIndex = 793, kErrTextureNoClient = 873, kErrRenderNoManager = 1081,
  kErrRenderNoClient = 1082, kErrRenderNoRecord = 1083, kErrColoursNoRecord = 1215,
  kErrColoursNoClient = 1216, kErrTexturesNoClient = 1333, kErrTexturesNoDoc = 1334, kErrPageNoClient = 1565,
};
const char kBlankImage[] = "SysResources\\Graphics\\__sysblank.jpg";
constexpr int kColourKindShadowTexture = 5;

CString LoadText(unsigned id, const char* fallback) {
  CString text;
  if (!text.LoadString(id) || text.IsEmpty()) text = fallback;
  return text;
}

COptions* Record() { return GetOperationsServices().GetOptions(); }

// Set while a design render runs: the engine must not be re-entered from inside it.
bool g_rendering = false;

CString Decimal(long value) {
  CString text;
  text.Format("%ld", value);
  return text;
}

}  // namespace

void CTemplateHandler::InternalError(int line) { GetOperationsServices().InternalError(line, kSource); }

CTemplateHandler::CTemplateHandler() = default;

CTemplateHandler::~CTemplateHandler() { delete m_engine; }

BOOL CTemplateHandler::Initialise() {
  COptions* record = Record();
  if (!record) {
    InternalError(kErrInitNoRecord);
    return FALSE;
  }
  record->SetShadowOn(0);
  m_templatePath = kDefaultTemplate;
  return COperationsHandler::Initialise();
}

BOOL CTemplateHandler::Activate(CWnd* parent, const RECT& rect) {
  const BOOL shown = COperationsHandler::Activate(parent, rect);
  const BOOL started = StartEngine();
  return shown && started;
}

BOOL CTemplateHandler::Deactivate(RECT* rect) {
  if (!rect) {
    InternalError(kErrDeactivateNoRect);
    return FALSE;
  }
  const BOOL result = COperationsHandler::Deactivate(rect);
  delete m_engine;
  m_engine = nullptr;
  return result;
}

BOOL CTemplateHandler::MakeEngineClient() {
  delete m_engine;
  m_engine = new (std::nothrow) CTemplateCOM;
  return m_engine != nullptr;
}

BOOL CTemplateHandler::StartEngine() {
  if (!MakeEngineClient()) return FALSE;
  if (FAILED(m_engine->CreateEngine())) {
    GetOperationsServices().ShowMessage(MessageSeverity::kError, kMsgComponentProblem, "StyleKit");
    return FALSE;
  }
  if (!m_engine->LoadTemplate(GetOperationsServices().GetRootPath() + kDefaultTemplate)) {
    GetOperationsServices().ShowMessage(MessageSeverity::kError, kMsgComponentProblem, "StyleOps");
    return FALSE;
  }
  if (!m_engine->ProbeRender()) return FALSE;
  m_freshClient = 1;
  return TRUE;
}

BOOL CTemplateHandler::LoadFile(const CString& path, int flagA, int flagB) {
  COptions* record = Record();
  if (!record) {
    InternalError(kErrLoadNoRecord);
    return FALSE;
  }
  if (!m_previewWindow) {
    InternalError(kErrLoadNoWindow);
    return FALSE;
  }
  // Closing a document: nothing to load.
  if (path.IsEmpty()) return TRUE;
  m_animationFlags[0] = 1;
  m_animationFlags[1] = 0;
  if (!flagB) {
    if (record->IsValidColourIndex(0) && record->GetColourKind(0) == 1 &&
        record->GetColourName(0).Find("Background") >= 0)
      record->SetBackgroundColour(record->GetColourValue(0));
    if (record->HasTextures() && record->GetTextureName(0).Find("Background") >= 0)
      record->SetCurrentTextureString(record->GetTextureFileName(0));
  } else {
    record->SetCurrentTextureString(CString());
    record->SetUserBitmap(0, 0, nullptr);
  }
  const CString blank = GetOperationsServices().GetRootPath() + kBlankImage;
  if (FILE* file = std::fopen(blank, "rb")) std::fclose(file);
  else record->SetTexReplacementColour(record->GetTexReplacementColour());
  record->SetTexReplacementFlag(0);
  record->SetHaveLoadedContoneBitmap(0);
  record->SetModified();

  if (m_freshClient == 1 || !m_engine) {
    if (!MakeEngineClient()) {
      InternalError(kErrNoClient);
      return FALSE;
    }
    if (FAILED(m_engine->CreateEngine())) return FALSE;
  }
  m_templateLoaded = 1;
  if (flagB) record->SetTextAspectRatio(100, 0);
  record->SetTextPosition(-1, 0);
  record->SetTextPosRange(1, 0);
  record->SetTextNudgeX(0, 0);
  record->SetTextNudgeY(0, 0);
  record->SetCapabilityFlag(kCapabilityBitmap, 0);
  record->SetHasPositionFlag(0);

  const bool loaded = m_engine->LoadTemplate(path);
  if (!loaded) {
    m_templateLoaded = 0;
    record->SetCapabilityFlag(kCapabilityTemplateLoaded, 0);
    record->SetCapabilityFlag(kCapabilityBitmap, 0);
    record->SetCapabilityFlag(kCapabilityText, 0);
    record->SetShadowOn(0);
    record->SetTextureCount(1);
    record->SetTextureFileName(0, CString());
    m_textureFileText.Empty();
    GetOperationsServices().ShowError(kMsgTemplateNotProcessed);
    return FALSE;
  }
  record->SetCapabilityFlag(kCapabilityTemplateProperties, 1);
  if (flagB) {
    record->SetShadowOn(0);
    if (m_engine->GetSlotCount() == 0) {
      record->SetCapabilityFlag(kCapabilityTemplateProperties, 0);
      m_textureFileText.Empty();
    }
  }
  record->SetCapabilityFlag(kCapabilityTemplateLoaded, 1);
  m_previewWindow->SetRenderEnabled(1);
  m_freshClient = 1;
  m_templatePath = path;
  record->SetScaleFromWidth(static_cast<int>(m_engine->GetPageWidth()));
  record->SetScaleFromHeight(static_cast<int>(m_engine->GetPageHeight()));
  if (flagB) {
    record->SetUserBitmap(0, 0, nullptr);
    record->SetBackgroundColour(0xFFFFFF);
  }
  record->SetTemplateFillType(record->GetHaveLoadedContoneBitmap() == 1 ? "Bitmap" : "Flat");
  ReadColours(flagB);
  ReadTextures(record, flagB);
  ReadStories(*record);
  record->SetBold(0, 0);
  record->SetItalic(0, 0);
  OnFontChanged(record, 0, 1, 0);
  OnTextChanged(record, 0, -1);
  OnColourChanged(record, 0, 0);
  OnTextureChanged(record, 0, 0);
  ReadConstraints(*record);
  record->SetKiqPath(path);
  if (record->GetStateCount() > 1 && record->GetVersion() >= 2.0) {
    m_animationFlags[0] = 0;
    m_animationFlags[1] = 1;
    m_previewWindow->StartStateTimer(0);
  }
  return flagA ? (loaded ? TRUE : FALSE) : TRUE;
}

void CTemplateHandler::ReadStories(COptions& record) {
  if (record.GetCapabilityFlag(kCapabilityText)) {
    const int count = m_engine->GetTextObjectCount();
    record.SetStoryCount(static_cast<unsigned>(count));
    int position = -1, range = 1, nudgeX = 0, nudgeY = 0;
    for (int i = 0; i < count; ++i) {
      record.SetTemplateStoryText(m_engine->GetTextString(i), i);
      record.SetFont(m_engine->GetTextFont(i), i);
      record.SetFontSizeOriginal(m_engine->GetTextSize(i), i);
      record.SetFontSizeValue(100, i);
      record.SetTextAspectRatio(static_cast<unsigned>(m_engine->GetTextAspect(i)), i);
      record.SetBold(0, i);
      record.SetItalic(0, i);
      // A story whose position text lacks a token keeps the previous story's value.
      m_engine->GetTextPosition(i, &position, &range, &nudgeX, &nudgeY);
      record.SetTextPosition(position, i);
      record.SetTextPosRange(range, i);
      record.SetTextNudgeX(nudgeX, i);
      record.SetTextNudgeY(nudgeY, i);
      record.SetLetterSpace(m_engine->GetTextTracking(i), i);
      record.SetLineSpace(100, i);
    }
    return;
  }
  record.SetStoryCount(0);
  record.SetStoryText(CString(), 0);
  record.SetFont(CString(), 0);
  record.SetFontSizeOriginal(0, 0);
  record.SetFontSizeValue(100, 0);
  record.SetTextAspectRatio(100, 0);
  record.SetBold(0, 0);
  record.SetItalic(0, 0);
  record.SetTextPosRange(1, 0);
  record.SetTextNudgeX(0, 0);
  record.SetTextNudgeY(0, 0);
  record.SetLetterSpace(0, 0);
  record.SetLineSpace(100, 0);
}

void CTemplateHandler::ReadConstraints(COptions& record) {
  const int count = m_engine->GetConstraintCount();
  record.SetStateConstraintCount(count);
  double lastHeight = 0;
  for (int i = 0; i < count; ++i) {
    double h = 0, w = 0;
    if (!m_engine->GetConstraint(i, &h, &w)) continue;
    record.SetTemplateConstraintWidth(w, i);
    record.SetTemplateConstraintHeight(h, i);
    record.SetConstrainedWidth(0, i);
    record.SetConstrainedHeight(h, i);
    record.SetLastSetConstrainedWidth(0, i);
    record.SetLastSetConstrainedHeight(h, i);
    lastHeight = h;
  }
  record.SetConstrainedWidth(0, -1);
  record.SetConstrainedHeight(lastHeight, -1);
  record.SetTemplateConstraintWidth(0, -1);
  record.SetTemplateConstraintHeight(lastHeight, -1);
  record.SetLastSetConstrainedWidth(0, -1);
  record.SetLastSetConstrainedHeight(lastHeight, -1);
  OnConstraintChanged(&record, 0);
}

BOOL CTemplateHandler::ReadColours(int) {
  COptions* record = Record();
  if (!record) {
    InternalError(kErrColoursNoRecord);
    return FALSE;
  }
  if (!m_engine) {
    InternalError(kErrColoursNoClient);
    return FALSE;
  }
  const int n = m_engine->GetColourSlotCount();
  const COLORREF background = record->GetBackgroundColour();
  record->SetColourCount(static_cast<unsigned>(n + 1), true);
  const CString backgroundName = LoadText(kStrBackground, "Background");
  record->SetColourProperty(0, background, backgroundName, backgroundName, 0, 1, CString());
  int k = 1;
  const auto& slots = m_engine->GetSlots();
  for (std::size_t i = 0; i < slots.size() && k <= n; ++i) {
    const CTemplateSlotInfo* slot = slots[i].get();
    if (!slot || slot->type != 5) continue;
    COLORREF value = 0;
    ParseColour(slot->value, value);
    CString question = StripColourSuffix(slot->tag);
    int shown = 1;
    if (slot->tag.Find("BMPColour") >= 0 && slot->key.Find("BMPColour") >= 0) {
      question = "Colour " + slot->tag.Mid(9);
      shown = 0;
    }
    record->SetColourProperty(k, value, slot->key, question, static_cast<int>(i), shown, slot->name);
    ++k;
  }
  record->SetCurrentColourIndex(n > 0 ? 1 : 0);
  record->SetSimpleColourIndexMax(static_cast<unsigned>(n));
  return TRUE;
}

BOOL CTemplateHandler::ReadTextures(COptions* document, int) {
  if (!m_engine) {
    InternalError(kErrTexturesNoClient);
    return FALSE;
  }
  if (!document) {
    InternalError(kErrTexturesNoDoc);
    return FALSE;
  }
  const int b = m_engine->GetBitmapCounter();
  if (b == 1 && document->GetGraphicType() == kGraphicPicture && !document->GetCapabilityFlag(kCapabilityBitmap)) {
    document->SetTextureCount(1);
    document->SetModified();
    return TRUE;
  }
  document->SetTextureCount(static_cast<unsigned>(b));
  document->SetCurrentTextureIndex(0);
  const int kinds = m_engine->GetBitmapKinds();
  CString name, question;
  for (int k = b - 1; k >= 1; --k) {
    if (kinds & 1) name = question = "Text";
    if (kinds & 2) name = question = "Foreground";
    if (kinds & 4) {
      name.Format("Texture %d", k);
      question = m_engine->FindUserBitmapSlot(k);
    }
    document->SetTextureProperty(k, CString(), name, question, k, "Bitmap", kDefaultMatrix);
  }
  if (b > 1) document->SetCurrentTextureIndex(1);
  m_textureFileText.Empty();
  m_backgroundImageName.Empty();
  const CString r = document->GetBackgroundImageFile();
  document->SetUserBitmap(0, 0, nullptr);
  const CString background = LoadText(kStrBackground, "Background");
  if (r.IsEmpty()) {
    document->SetCurrentTextureString(CString());
    document->SetTextureProperty(0, CString(), background, background, 0, "Flat", kDefaultMatrix);
  } else {
    if (r == "\\") document->SetCurrentTextureString(CString());
    document->SetTextureProperty(0, r, background, background, 0, "Bitmap", kDefaultMatrix);
  }
  DWORD scratch[5 * 5];
  SetBackgroundImage(r, 5, 5, scratch, r.IsEmpty() ? 0 : 1);
  return TRUE;
}

BOOL CTemplateHandler::OnTextChanged(COptions* document, int, int story) {
  if (!m_engine) {
    InternalError(kErrTextNoClient);
    return FALSE;
  }
  if (!m_previewWindow) {
    InternalError(kErrTextNoWindow);
    return FALSE;
  }
  if (!document) return FALSE;
  const int count = static_cast<int>(document->GetStoryCount());
  auto write = [&](int s) { m_engine->SetTextString(document->GetLineSpace(s), document->GetStoryText(s), s); };
  if (story >= 0 && story < count) write(story);
  else
    for (int s = 0; s < count; ++s) write(s);
  document->SetClipRenderOnce(1);
  return TRUE;
}

BOOL CTemplateHandler::OnFontChanged(COptions* document, int, DWORD mask, int story) {
  if (!m_engine) {
    InternalError(kErrFontNoClient);
    return FALSE;
  }
  if (!m_previewWindow) {
    InternalError(kErrFontNoWindow);
    return FALSE;
  }
  if (!document) return FALSE;
  const int count = static_cast<int>(document->GetStoryCount());
  auto position = [&](int s) {
    CString text;
    text.Format("nudge %d,%d : pos %d", document->GetTextNudgeX(s), document->GetTextNudgeY(s),
                document->GetTextPosition(s));
    return text;
  };
  if (mask != 1 && story >= 0 && story < count) {
    const int s = story;
    if (mask & 2) {
      m_engine->SetTextFont(document->GetFont(s), s);
      m_engine->SetTextBold(static_cast<unsigned>(document->GetBold(s)), s);
      m_engine->SetTextItalic(static_cast<unsigned>(document->GetItalic(s)), s);
    }
    if (mask & 4) m_engine->SetTextSize(static_cast<unsigned>(ClampToInt(document->GetFontSizeOriginal(s))), s);
    if (mask & 8) m_engine->SetTextAspect(document->GetTextAspectRatio(s), s);
    if (mask & 0x40) m_engine->SetTextPosition(position(s), s);
    if (mask & 0x80) m_engine->SetTextTracking(document->GetLetterSpace(s), s);
    if (mask & 0x100) m_engine->SetTextString(document->GetLineSpace(s), document->GetStoryText(s), s);
  } else {
    for (int s = 0; s < count; ++s) {
      m_engine->SetTextFont(document->GetFont(s), s);
      m_engine->SetTextSize(static_cast<unsigned>(ClampToInt(document->GetFontSizeOriginal(s))), s);
      m_engine->SetTextAspect(document->GetTextAspectRatio(s), s);
      m_engine->SetTextBold(static_cast<unsigned>(document->GetBold(s)), s);
      m_engine->SetTextItalic(static_cast<unsigned>(document->GetItalic(s)), s);
      m_engine->SetTextTracking(document->GetLetterSpace(s), s);
      m_engine->SetTextString(document->GetLineSpace(s), document->GetStoryText(s), s);
      m_engine->SetTextPosition(position(s), s);
    }
  }
  document->SetClipRenderOnce(1);
  return TRUE;
}

BOOL CTemplateHandler::OnColourChanged(COptions* document, int, DWORD mask) {
  if (!m_previewWindow) {
    InternalError(kErrColourNoWindow);
    return FALSE;
  }
  if (!m_engine) {
    InternalError(kErrColourNoClient);
    return FALSE;
  }
  if (!document || document->GetColourCount() == 0) return FALSE;
  std::vector<int> indices;
  if (mask) {
    for (unsigned i = 0; i < document->GetColourCount(); ++i) indices.push_back(static_cast<int>(i));
  } else {
    indices.push_back(static_cast<int>(document->GetCurrentColourIndex()));
  }
  const CString shadowQuestion = LoadText(kStrShadow, "Shadow");
  const bool picture = document->GetGraphicType() == kGraphicPicture;
  for (int i : indices) {
    if (!document->IsValidColourIndex(i)) {
      InternalError(kErrBadColour);
      return FALSE;
    }
    if (i > 0 || picture) {
      if (document->GetColourQuestion(i) == shadowQuestion) {
        document->SetShadowColour(document->GetColourValue(i));
      } else if (document->GetColourKind(i) != kColourKindShadowTexture) {
        // Colour 0 of a picture is the picture's own colour: it goes to the template's first
        // colour slot (none: nothing to write), never blindly to whatever slot 0 is.
        const int slot = i > 0 ? document->GetColourKiqIndex(i) : FirstColourSlot();
        if (slot >= 0) m_engine->SetSlotValueAt(slot, FormatColour(document->GetColourValue(i)));
      }
    } else if (mask == 0) {
      if (document->GetTextureFileName(0).IsEmpty()) {
        m_handlerInt1 = 0;
        document->SetUserBitmap(0, 0, nullptr);
        document->SetBackgroundColour(document->GetColourValue(0));
      }
    }
  }
  document->SetClipRenderOnce(1);
  return TRUE;
}

int CTemplateHandler::FirstColourSlot() const {
  const auto& slots = m_engine->GetSlots();
  for (std::size_t i = 0; i < slots.size(); ++i)
    if (slots[i] && slots[i]->type == 5) return static_cast<int>(i);
  return -1;
}

BOOL CTemplateHandler::OnShadowChanged(COptions* document, int) {
  if (!m_engine) {
    InternalError(kErrShadowNoClient);
    return FALSE;
  }
  COptions* current = Record();
  if (!current || !document) {
    InternalError(kErrShadowNoRecord);
    return FALSE;
  }
  if (current == document) return TRUE;
  int x = 0, y = 0;
  document->GetShadowOffset(x, y);
  current->SetShadowOffset(x, y);
  current->SetShadowColour(document->GetShadowColour());
  current->SetShadowOn(document->IsShadowShown() ? 1 : 0);
  current->SetShadowType(document->GetShadowType());
  current->SetShadowBlurriness(static_cast<double>(static_cast<long>(document->GetShadowBlurriness() + 0.5)));
  current->SetShadowDarkness(document->GetShadowDarkness());
  current->SetShadowScale(document->GetShadowScale());
  current->SetShadowTilt(document->GetShadowTilt());
  return TRUE;
}

BOOL CTemplateHandler::OnTextureChanged(COptions* document, int, int which) {
  if (!document || !document->HasTextures()) return FALSE;
  if (!m_engine) {
    InternalError(kErrTextureNoClient);
    return FALSE;
  }
  std::vector<int> indices;
  if (which) {
    for (unsigned i = 0; i < document->GetNumberOfTextures(); ++i) indices.push_back(static_cast<int>(i));
  } else {
    indices.push_back(static_cast<int>(document->GetCurrentTextureIndex()));
  }
  const CString background = LoadText(kStrBackground, "Background");
  const CString root = GetOperationsServices().GetRootPath();
  for (int i : indices) {
    if (!document->IsValidTextureIndex(i)) continue;
    if (i > 0) {
      CString key;
      key.Format("FILLTYPE%d", i);
      m_engine->SetSlotValue(key, document->GetTextureFillType(i) + document->GetTextureMatrix(i));
      UpdateTextureColours(document, i, document->GetTextureFillType(i));
    }
    CString file = document->GetTextureFileName(i);
    if (file.CompareNoCase("None") == 0 || file.CompareNoCase("\\") == 0) file.Empty();
    if (!file.IsEmpty()) file = DocumentFiles::MakeAbsolutePath(file, root);
    const CString name = document->GetTextureName(i);
    if (name.CompareNoCase(background) == 0) {
      m_engine->SetSlotValue("BACKGROUNDBITMAP", file);
      m_handlerInt1 = file.IsEmpty() ? 0 : 1;
      document->SetTextureFillType(i, file.IsEmpty() ? "Flat" : "Bitmap");
    } else if (name.CompareNoCase("FOREGROUND") == 0) {
      m_engine->SetSlotValue("FOREGROUNDBITMAP", file);
    } else if (name.CompareNoCase("TEXT") == 0) {
      m_engine->SetSlotValue("TEXTBITMAP", file);
    } else if (name.Find("Texture") >= 0) {
      CString key;
      key.Format("USERBITMAP%d", i);
      m_engine->SetSlotValue(key, file);
    }
  }
  CString first = document->GetTextureFileName(0);
  CString lower = first;
  lower.MakeLower();
  if (lower.Find(".jpg") < 0 && lower.Find(".gif") < 0 && lower.Find(".png") < 0) {
    first.Empty();
    m_handlerInt1 = 0;
  }
  DWORD scratch[10 * 10];
  SetBackgroundImage(first, 10, 10, scratch, m_handlerInt1);
  document->SetClipRenderOnce(1);
  return TRUE;
}

void CTemplateHandler::UpdateTextureColours(COptions* document, int texture, const CString& fillType) {
  if (!document) {
    InternalError(kErrTextureColoursNoDoc);
    return;
  }
  const CString plain = LoadText(kStrPlain, " (Plain)");
  const CString colourA = LoadText(kStrColourA, "ColourA"), colourB = LoadText(kStrColourB, "ColourB");
  const CString colour1 = LoadText(kStrColour1OfTexture, "Color 1 of Texture");
  const CString colour2 = LoadText(kStrColour2OfTexture, "Color 2 of Texture");
  const CString number = Decimal(texture);
  for (unsigned j = 1; j < document->GetColourCount(); ++j) {
    const int index = static_cast<int>(j);
    if (!document->IsValidColourIndex(index)) {
      InternalError(kErrTextureColourIndex);
      return;
    }
    CString question = document->GetColourQuestion(index);
    const int cut = question.Find(plain, 1);
    if (cut >= 1) {
      question = question.Left(cut);
      document->SetColourQuestion(index, question);
    }
    const CString name = document->GetColourName(index);
    const bool second = name.Find(colourB) >= 0 || name.Find(colour2) >= 0;
    const bool belongs = (name.Find(colourA) >= 0 || second || name.Find(colour1) >= 0) && name.Find(number) >= 0;
    if (!belongs) continue;
    if (fillType.CompareNoCase("Bitmap") == 0) {
      document->SetColourNameShown(index, false);
    } else if (fillType.CompareNoCase("Flat") == 0) {
      if (second) {
        document->SetColourNameShown(index, false);
      } else {
        document->SetColourNameShown(index, true);
        document->SetColourQuestion(index, question + plain);
      }
    } else if (fillType.CompareNoCase("ContoneBitmap") == 0) {
      document->SetColourNameShown(index, true);
    }
  }
}

BOOL CTemplateHandler::OnConstraintChanged(COptions* document, int) {
  if (!document || !m_engine) return FALSE;
  double width = document->GetConstrainedWidth(-1);
  if (width > 0 && width < 3) width = 3;
  CString value;
  value.Format("%u", static_cast<unsigned>(width * kStyleKitUnitsPerPixel));
  m_engine->SetSlotValue("CONSTRAINED", value);
  document->SetClipRenderOnce(1);
  return TRUE;
}

BOOL CTemplateHandler::OnBevelChanged(COptions* document, int) {
  if (!document || !m_engine) return FALSE;
  m_engine->SetSlotValue("BEVELLIGHTANGLE", Decimal(document->GetBevelLightAngle()));
  m_engine->SetSlotValue("BEVELTYPE", Decimal(document->GetBevelType()));
  m_engine->SetSlotValue("BEVELCONTRAST", Decimal(document->GetBevelContrast()));
  m_engine->SetSlotValue("BEVELINDENT", Decimal(document->GetBevelIndent()));
  document->SetClipRenderOnce(1);
  return TRUE;
}

int CTemplateHandler::SelectState(int state) {
  if (!m_engine) {
    InternalError(kErrStateNoClient);
    return FALSE;
  }
  return m_engine->SelectState(state);
}

BOOL CTemplateHandler::RenderDesign(int width, int height, DWORD* pixels, int, HDC, int) {
  // A render asked for from inside a render (a paint or a timer during the engine call) has
  // nothing to show yet: it fails rather than pass off an untouched buffer as the design.
  if (g_rendering) return FALSE;
  struct Guard {
    Guard() { g_rendering = true; }
    ~Guard() { g_rendering = false; }
  } guard;
  if (!GetOperationsServices().GetOperationsManager()) {
    InternalError(kErrRenderNoManager);
    return FALSE;
  }
  if (!m_engine) {
    InternalError(kErrRenderNoClient);
    return FALSE;
  }
  COptions* record = Record();
  if (!record) {
    InternalError(kErrRenderNoRecord);
    return FALSE;
  }
  if (record->GetTexReplacementFlag()) record->SetTexReplacementColour(record->GetTexReplacementColour());
  if (!m_templateLoaded) return SetBackgroundImage(CString(), width, height, pixels, 0);
  const int interactive = record->GetInteractiveRender();
  if (record->GetGraphicType() == kGraphicPicture) {
    if (!m_engine->RenderBitmap(width, height, m_renderExtra, 1, pixels, interactive)) return FALSE;
    return SetBackgroundImage("KIQ_BACKGROUND", width, height, pixels, 1);
  }
  const CString texture = record->HasTextures() ? record->GetTextureFileName(0) : CString();
  SetBackgroundImage(texture, width, height, pixels, m_handlerInt1);
  if (m_engine->RenderBitmap(width, height, m_renderExtra, 1, pixels, interactive)) return TRUE;
  // A failed render leaves the user's texture choices alone: a missing or broken picture file
  // is not a reason to forget what the user picked. Only the background picture is dropped
  // from this render's composition.
  m_handlerInt1 = 0;
  return FALSE;
}

BOOL CTemplateHandler::GetFileExtensions(std::vector<CString>* extensions) {
  if (!extensions) return FALSE;
  extensions->push_back("kiq");
  return TRUE;
}

BOOL CTemplateHandler::GetPageRect(RECT* rect) {
  if (!m_engine) {
    InternalError(kErrPageNoClient);
    return FALSE;
  }
  double height = 0, width = 0;
  m_engine->GetPageSizeInches(&height, &width);
  if (rect) *rect = RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
  return TRUE;
}

CTemplateWnd* CTemplateHandler::CreateWindow(CWnd* parent, const RECT& rect) {
  CTemplateWnd* window = new (std::nothrow) CTemplateWnd(this);
  if (!window) return nullptr;
  try {
    if (!window->Create(parent, rect, static_cast<UINT>(-1))) {
      delete window;
      return nullptr;
    }
  } catch (...) {
    delete window;
    return nullptr;
  }
  return window;
}

#endif  // _WIN32
