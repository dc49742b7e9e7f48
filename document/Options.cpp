#include "document/Options.h"

#include <cmath>
#include <new>

#include "document/BackgroundTextureProperty.h"
#include "document/OptionsServices.h"
#include "document/OptionsStrings.h"

namespace {

constexpr const char kMatrixIdentity[] = "Matrix A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0";
constexpr const char kSourceName[] = "Options";

// The registry values of the panel preferences, in the order they are read and written.
constexpr const char kPrefType[] = "Type";
constexpr const char kPrefColourModel[] = "ColourModel";
constexpr const char kPrefColourDisplay[] = "ColourDisplay";
constexpr const char kPrefColourInputType[] = "ColourInputType";
constexpr const char kPrefSizeSlider[] = "SizeSlider";
constexpr const char kPrefTextDlg[] = "TextDlg";
constexpr const char kPrefShadowDlg[] = "ShadowDlg";
constexpr const char kPrefExportDlg[] = "ExportDlg";
constexpr const char kPrefExportPathNameExt[] = "ExportPathNameExt";

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Near(double a, double b) { return std::fabs(a - b) <= 0.00001; }

}  // namespace

COptions::COptions() : COptions(CDefaultsTag{}) { ResetToDefaults(); }

COptions::COptions(CDefaultsTag) {
  m_picture.caption = kClickToEnlarge;
  AddDefaultColours();
}

COptions::~COptions() = default;

void COptions::ReportInternalError(int line) const {
  GetOptionsServices().SetInternalError(line, kSourceName);
}

void COptions::AddDefaultColours() {
  m_colours.items.clear();
  for (int i = 0; i < 4; ++i) m_colours.items.push_back(std::make_unique<CColourProperty>());
  SetColourByKind(kColourKindBackground, 0xFFFFFF, kBackgroundName);
  SetColourByKind(kColourKindDuotoneDark, 0x000000, kDuotoneDarkName);
  SetColourByKind(kColourKindDuotoneLight, 0xFFFFFF, kDuotoneLightName);
  SetColourByKind(kColourKindTint, 0x20D0FF, kTintName);
  m_numberOfColours = 4;
}

void COptions::ResetToDefaults() {
  // Start from a new record and keep what belongs to the user rather than to the document (the
  // panel preferences), what describes the engine's template (its switches) and whether a
  // texture list exists.
  COptions fresh{CDefaultsTag{}};
  fresh.m_colourPanelPrefs[0] = m_colourPanelPrefs[0];
  fresh.m_colourPanelPrefs[1] = m_colourPanelPrefs[1];
  fresh.m_colourPanelPrefs[2] = m_colourPanelPrefs[2];
  fresh.m_colourPanelPrefs[3] = m_colourPanelPrefs[3];
  fresh.m_sizeSliderPref = m_sizeSliderPref;
  fresh.m_textDlgPref = m_textDlgPref;
  fresh.m_shadowDlgPref = m_shadowDlgPref;
  fresh.m_exportDlgPref = m_exportDlgPref;
  fresh.m_engineSwitches = m_engineSwitches;
  fresh.m_picture.thumbnailMode = GetOptionsServices().IsThumbnailRequested() ? 1 : 0;
  if (m_hasTextureList) {
    CBackgroundTextureProperty background;
    background.SetMatrix(kMatrixIdentity);
    fresh.m_hasTextureList = true;
    fresh.m_textures.assign(1, background);
    fresh.m_numberOfTextures = 1;
  }
  *this = fresh;
  m_modified = 1;
}

// ---------------------------------------------------------------------------------------------
// Panel preferences

bool COptions::LoadDialogPrefs() {
  COptionsServices& services = GetOptionsServices();
  if (!services.OpenPreferences()) {
    ReportInternalError(__LINE__);
    return false;
  }
  auto read = [&services](const char* name, DWORD fallback) {
    DWORD value = fallback;
    if (!services.ReadPreference(name, value)) value = fallback;
    return static_cast<int>(value);
  };
  m_graphicType = read(kPrefType, 0);
  m_colourPanelPrefs[1] = read(kPrefColourModel, 1);
  m_colourPanelPrefs[2] = read(kPrefColourDisplay, 1);
  m_colourPanelPrefs[3] = read(kPrefColourInputType, 0);
  m_sizeSliderPref = read(kPrefSizeSlider, 1);
  m_textDlgPref = read(kPrefTextDlg, 1);
  m_shadowDlgPref = read(kPrefShadowDlg, 1);
  m_exportDlgPref = read(kPrefExportDlg, 0);
  services.WritePreference(kPrefExportDlg, static_cast<DWORD>(m_exportDlgPref));
  return true;
}

bool COptions::SaveDialogPrefs() {
  COptionsServices& services = GetOptionsServices();
  if (!services.OpenPreferences()) {
    ReportInternalError(__LINE__);
    return false;
  }
  const struct {
    const char* name;
    int value;
  } values[] = {
      {kPrefType, m_graphicType},
      {kPrefColourModel, m_colourPanelPrefs[1]},
      {kPrefColourDisplay, m_colourPanelPrefs[2]},
      {kPrefColourInputType, m_colourPanelPrefs[3]},
      {kPrefSizeSlider, m_sizeSliderPref},
      {kPrefTextDlg, m_textDlgPref},
      {kPrefShadowDlg, m_shadowDlgPref},
      {kPrefExportDlg, m_exportDlgPref},
  };
  for (const auto& entry : values) {
    if (!services.WritePreference(entry.name, static_cast<DWORD>(entry.value))) {
      ReportInternalError(__LINE__);
      return false;
    }
  }
  return true;
}

void COptions::SetExportPathNameExt(const CString& path) {
  m_exportPathNameExt = path;
  SetModified();
  GetOptionsServices().WritePreferenceString(kPrefExportPathNameExt, path);
}

// ---------------------------------------------------------------------------------------------
// Document fields

void COptions::SetUserText(bool on) {
  if (on)
    m_flags |= kOptionsUserText;
  else
    m_flags &= ~kOptionsUserText;
  SetModified();
}

void COptions::SetCropRect(const RECT* rect) {
  m_cropRect = rect ? *rect : RECT{0, 0, 0, 0};
  SetModified();
}

int COptions::GetCapabilityFlag(int index) const {
  return index >= 0 && index < 7 ? m_capability[index] : 0;
}

void COptions::SetCapabilityFlag(int index, int value) {
  if (index < 0 || index >= 7) return;
  m_capability[index] = value;
  SetModified();
}

void COptions::SetAllStatesFlag(int value) {
  for (int& flag : m_capability) flag = value;
  SetModified();
}

// ---------------------------------------------------------------------------------------------
// Stories

void COptions::SetStoryCount(unsigned count) {
  // Every list keeps at least one element: the getters answer for story 0 of an empty document.
  const std::size_t size = count == 0 ? 1 : count;
  m_text.SetSize(size);
  m_font.SetSize(size);
  m_bold.SetSize(size);
  m_italic.SetSize(size);
  m_textAspectRatio.SetSize(size);
  m_fontSize.SetSize(size);
  m_fontSizeOriginal.SetSize(size);
  m_letterSpace.SetSize(size);
  m_lineSpace.SetSize(size);
  m_textAllignment.SetSize(size);
  m_textPosition.SetSize(size);
  m_textNudgeX.SetSize(size);
  m_textNudgeY.SetSize(size);
  m_textPosRange.SetSize(size);
  m_templateLineCount.SetSize(size);
  m_numberOfStories = count;
  SetModified();
}

unsigned COptions::GetLongestStoryArray() const {
  unsigned longest = 0;
  for (unsigned size :
       {m_text.GetSize(), m_font.GetSize(), m_bold.GetSize(), m_italic.GetSize(),
        m_textAspectRatio.GetSize(), m_fontSize.GetSize(), m_fontSizeOriginal.GetSize(),
        m_letterSpace.GetSize(), m_lineSpace.GetSize(), m_textAllignment.GetSize(),
        m_textPosition.GetSize(), m_textNudgeX.GetSize(), m_textNudgeY.GetSize(),
        m_textPosRange.GetSize()}) {
    if (size > longest) longest = size;
  }
  return longest;
}

void COptions::SetStoryText(const CString& text, int story) {
  if (m_text.Set(Index(story), text)) SetModified();
}
void COptions::SetFont(const CString& face, int story) {
  if (m_font.Set(Index(story), face)) SetModified();
}
void COptions::SetBold(int bold, int story) {
  if (m_bold.Set(Index(story), bold)) SetModified();
}
void COptions::SetItalic(int italic, int story) {
  if (m_italic.Set(Index(story), italic)) SetModified();
}
void COptions::SetTextAspectRatio(unsigned percent, int story) {
  if (m_textAspectRatio.Set(Index(story), percent)) SetModified();
}
void COptions::SetFontSizeValue(DWORD value, int story) {
  if (m_fontSize.Set(Index(story), value)) SetModified();
}
void COptions::SetLetterSpace(int value, int story) {
  if (m_letterSpace.Set(Index(story), value)) SetModified();
}
void COptions::SetLineSpace(int value, int story) {
  if (m_lineSpace.Set(Index(story), value)) SetModified();
}
void COptions::SetTextAllignment(int value, int story) {
  if (m_textAllignment.Set(Index(story), value)) SetModified();
}
void COptions::SetTextPosition(int value, int story) {
  if (m_textPosition.Set(Index(story), value)) SetModified();
}
void COptions::SetTextNudgeX(int value, int story) {
  if (m_textNudgeX.Set(Index(story), value)) SetModified();
}
void COptions::SetTextNudgeY(int value, int story) {
  if (m_textNudgeY.Set(Index(story), value)) SetModified();
}
void COptions::SetTextPosRange(int value, int story) {
  if (m_textPosRange.Set(Index(story), value)) SetModified();
}

// ---------------------------------------------------------------------------------------------
// Colours

CColourProperty* COptions::Colour(int index) const {
  return IsValidColourIndex(index) ? m_colours.items[static_cast<std::size_t>(index)].get()
                                   : nullptr;
}

void COptions::DeleteColourProperties() { m_colours.items.clear(); }

void COptions::SetColourCount(unsigned count, bool force) {
  if (count == GetColourCount() && !force) return;
  std::vector<std::unique_ptr<CColourProperty>> fresh;
  try {
    fresh.reserve(count);
    for (unsigned i = 0; i < count; ++i) fresh.push_back(std::make_unique<CColourProperty>());
  } catch (const std::bad_alloc&) {
    m_colours.items.clear();
    throw;
  }
  m_colours.items.swap(fresh);
}

bool COptions::IsValidColourIndex(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < m_colours.items.size();
}

CColourProperty* COptions::GetColourProperty(int index) const { return Colour(index); }

void COptions::SetColourProperty(int index, COLORREF value, const CString& name,
                                 const CString& question, int kiqIndex, int shown,
                                 const CString& styleName) {
  CColourProperty* entry = Colour(index);
  if (!entry) return;
  entry->SetValue(value);
  entry->SetName(name);
  entry->SetQuestion(question);
  entry->SetKiqIndex(kiqIndex);
  entry->SetShown(shown ? 1 : 0);
  entry->SetStyleName(styleName);
  if (entry->GetKind() == kColourKindOrdinary) {
    if (index == 0)
      entry->SetKind(kColourKindBackground);
    else if (name.Find("BMPColour") >= 0 && question.Find(kTextureWord) >= 0)
      entry->SetKind(kColourKindTexture);
  }
  SetModified();
}

bool COptions::SetColourValue(COLORREF value, int index) {
  CColourProperty* entry = Colour(index);
  if (!entry) return false;
  entry->SetValue(value);
  SetModified();
  return true;
}

void COptions::SetColourPropertyValue(int index, COLORREF value) { SetColourValue(value, index); }

COLORREF COptions::GetColourValue(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry ? entry->GetValue() : 0;
}

CString COptions::GetColourName(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry ? entry->GetName() : CString();
}

void COptions::SetColourName(int index, const CString& name) {
  if (CColourProperty* entry = Colour(index)) {
    entry->SetName(name);
    SetModified();
  }
}

CString COptions::GetColourQuestion(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry ? entry->GetQuestion() : CString();
}

void COptions::SetColourQuestion(int index, const CString& question) {
  if (CColourProperty* entry = Colour(index)) {
    entry->SetQuestion(question);
    SetModified();
  }
}

CString COptions::GetColourStyleName(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry ? entry->GetStyleName() : CString();
}

int COptions::GetColourKiqIndex(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry ? entry->GetKiqIndex() : 0;
}

bool COptions::IsColourNameShown(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry && entry->IsShown();
}

void COptions::SetColourNameShown(int index, bool shown) {
  if (CColourProperty* entry = Colour(index)) {
    entry->SetShown(shown ? 1 : 0);
    SetModified();
  }
}

int COptions::GetColourKind(int index) const {
  const CColourProperty* entry = Colour(index);
  return entry ? entry->GetKind() : 0;
}

void COptions::SetColourKind(int index, int kind) {
  if (CColourProperty* entry = Colour(index)) entry->SetKind(kind);
}

int COptions::GetColourPanelPref(int index) const {
  return index >= 0 && index < 4 ? m_colourPanelPrefs[index] : 0;
}

void COptions::SetColourPanelPref(int index, int value) {
  if (index < 0 || index >= 4) return;
  m_colourPanelPrefs[index] = value;
  SetModified();
}

// ---------------------------------------------------------------------------------------------
// Textures

CTextureProperty* COptions::Texture(int index) const {
  // NumberOfTextures can be lowered below the list's length by a file (a current index past the
  // end); an index is usable only when both allow it.
  if (!IsValidTextureIndex(index) || static_cast<std::size_t>(index) >= m_textures.size())
    return nullptr;
  return const_cast<CTextureProperty*>(&m_textures[static_cast<std::size_t>(index)]);
}

bool COptions::IsValidTextureIndex(int index) const {
  return static_cast<unsigned>(index) < m_numberOfTextures;
}

CTextureProperty* COptions::GetTextureProperty(int index) { return Texture(index); }
const CTextureProperty* COptions::GetTextureProperty(int index) const { return Texture(index); }

bool COptions::SetTextureCount(unsigned count) {
  if (m_hasTextureList) m_currentTextureIndex = 0;
  m_textures.clear();
  m_hasTextureList = false;
  m_numberOfTextures = 0;
  try {
    m_textures.resize(count);
  } catch (const std::bad_alloc&) {
    m_textures.clear();
    ReportInternalError(__LINE__);
    return false;
  }
  m_hasTextureList = true;
  m_numberOfTextures = count;
  SetModified();
  return true;
}

bool COptions::SetTextureProperty(int index, const CString& file, const CString& name,
                                  const CString& question, int kiqIndex, const CString& fillType,
                                  const CString& matrix) {
  CTextureProperty* texture = m_hasTextureList ? Texture(index) : nullptr;
  if (!texture) {
    ReportInternalError(__LINE__);
    return false;
  }
  texture->SetFileName(file);
  texture->SetName(name);
  texture->SetQuestion(question);
  texture->SetKiqIndex(kiqIndex);
  texture->SetFillType(fillType);
  texture->SetMatrix(matrix);
  SetModified();
  return true;
}

void COptions::SetTextureFileName(int index, const CString& text) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetFileName() != text) {
    texture->SetFileName(text);
    SetModified();
  }
}

void COptions::SetTextureFillType(int index, const CString& text) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetFillType() != text) {
    texture->SetFillType(text);
    SetModified();
  }
}

void COptions::SetTextureMatrix(int index, const CString& text) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetMatrix() != text) {
    texture->SetMatrix(text);
    SetModified();
  }
}

void COptions::SetTextureColourA(int index, COLORREF colour) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetColourA() != colour) {
    texture->SetColourA(colour);
    SetModified();
  }
}

void COptions::SetTextureColourB(int index, COLORREF colour) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetColourB() != colour) {
    texture->SetColourB(colour);
    SetModified();
  }
}

void COptions::SetTextureColourAIndex(int index, int colourIndex) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetColourAIndex() != colourIndex) {
    texture->SetColourAIndex(colourIndex);
    SetModified();
  }
}

void COptions::SetTextureColourBIndex(int index, int colourIndex) {
  CTextureProperty* texture = Texture(index);
  if (texture && texture->GetColourBIndex() != colourIndex) {
    texture->SetColourBIndex(colourIndex);
    SetModified();
  }
}

CString COptions::GetTextureFileName(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetFileName() : CString();
}
CString COptions::GetTextureFillType(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetFillType() : CString();
}
CString COptions::GetTextureMatrix(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetMatrix() : CString();
}
CString COptions::GetTextureName(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetName() : CString();
}
CString COptions::GetTextureQuestion(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetQuestion() : CString();
}
COLORREF COptions::GetTextureColourA(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetColourA() : 0xFFFFFF;
}
COLORREF COptions::GetTextureColourB(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetColourB() : 0;
}
int COptions::GetTextureColourAIndex(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetColourAIndex() : 0;
}
int COptions::GetTextureColourBIndex(int index) const {
  const CTextureProperty* texture = Texture(index);
  return texture ? texture->GetColourBIndex() : 0;
}

void COptions::SetCurrentTextureString(const CString& text) {
  if (!HasTextures()) return;
  m_backgroundImageFile = text;
  SetModified();
}

CString COptions::GetBackgroundImageFile() const {
  return HasTextures() ? m_backgroundImageFile : CString();
}

// ---------------------------------------------------------------------------------------------
// Browse folders and small setters

CString COptions::GetBrowseDirectory(int index) const {
  return index >= 0 && index < kBrowseFolderCount ? m_browse[index] : CString();
}

void COptions::SetBrowseDirectory(int index, const CString& folder) {
  if (index < 0 || index >= kBrowseFolderCount) return;
  m_browse[index] = folder;
  SetModified();
}

void COptions::BackupBrowseDirectories() {
  for (int i = 0; i < kBrowseFolderCount; ++i) m_browseBackup[i] = m_browse[i];
}

void COptions::ClearBrowseDirectories() {
  for (CString& folder : m_browse) folder.Empty();
}

void COptions::RestoreBrowseDirectories() {
  for (int i = 0; i < kBrowseFolderCount; ++i) m_browse[i] = m_browseBackup[i];
}

void COptions::SetPictureRect(const RECT& rect) { m_picture.pictureRect = rect; }

// ---------------------------------------------------------------------------------------------
// Copy and compare by change group

bool COptions::CopyTo(COptions& target, int options, StyleChangeMask mask) {
  if (&target == this) return true;
  COptionsServices& services = GetOptionsServices();
  bool result = true;

  // The same template: its group (lists, names, slot indexes) is already right in the target.
  if ((mask & kChangeTemplate) && m_kiqFileName.Compare(target.m_kiqFileName) == 0)
    mask &= ~static_cast<StyleChangeMask>(kChangeTemplate);

  if (mask & kChangeTemplate) {
    target.SetColourCount(GetColourCount(), true);
    target.SetTextureCount(m_numberOfTextures);
    target.m_kiqFileName = m_kiqFileName;
    target.m_kiqPath = m_kiqPath;
    target.SetModified();
    target.m_exportName.Empty();
    target.m_qtwFile = m_qtwFile;
    target.m_graphicType = m_graphicType;
    target.m_flags = m_flags;
    if (options & 2) {
      CString found;
      if (LocateTemplateFile(found)) {
        services.OpenDocument(found);
        m_kiqPath = found;
        target.m_kiqPath = found;
      } else {
        services.ReportWarning(kMsgDataFileMissing, m_kiqFileName + " " + kKiqOrQ3dFile);
        result = false;
      }
    }
  }
  if (mask & kChangeFonts) target.m_graphicType = m_graphicType;
  if (mask & kChangeStories) {
    target.m_numberOfStories = m_numberOfStories;
    target.m_text = m_text;
  }
  if (mask & kChangeFonts) {
    target.m_font = m_font;
    target.m_bold = m_bold;
    target.m_italic = m_italic;
    target.m_textAspectRatio = m_textAspectRatio;
    target.m_fontSize = m_fontSize;
    target.m_letterSpace = m_letterSpace;
    target.m_lineSpace = m_lineSpace;
    target.m_textAllignment = m_textAllignment;
    target.m_textPosition = m_textPosition;
    target.m_textNudgeX = m_textNudgeX;
    target.m_textNudgeY = m_textNudgeY;
    target.m_textPosRange = m_textPosRange;
    target.m_templateLineCount = m_templateLineCount;
    target.m_currentStory = m_currentStory;
    target.m_fontSizeOriginal = m_fontSizeOriginal;
  }
  if (mask & kChangeSize) {
    target.m_pixelWidth = m_pixelWidth;
    target.m_pixelHeight = m_pixelHeight;
    target.m_scale = m_scale;
    target.m_pageWidth = m_pageWidth;
    target.m_pageHeight = m_pageHeight;
    target.m_haveLoadedContoneBitmap = m_haveLoadedContoneBitmap;
    target.m_haveGotConstrainedObject = m_haveGotConstrainedObject;
    target.m_ownConstraint.m_currentWidth = m_ownConstraint.m_currentWidth;
    target.m_ownConstraint.m_lastSetWidth = m_ownConstraint.m_lastSetWidth;
    target.m_ownConstraint.m_currentHeight = m_ownConstraint.m_currentHeight;
    target.m_ownConstraint.m_lastSetHeight = m_ownConstraint.m_lastSetHeight;
  }
  if (mask & kChangeExport) {
    target.m_exportType = m_exportType;
    target.m_exportQuality = m_exportQuality;
    target.m_exportDither = m_exportDither;
    target.m_exportPalette = m_exportPalette;
    target.m_exportBpp = m_exportBpp;
    target.m_gifPaletteSize = m_gifPaletteSize;
    target.m_pngPaletteSize = m_pngPaletteSize;
    target.m_jpegQuality = m_jpegQuality;
    target.m_transparent = m_transparent;
    target.m_interlaced = m_interlaced;
    target.m_transThreshold = m_transThreshold;
  }
  if (mask & kChangePanels) {
    for (int i = 0; i < 4; ++i) target.m_colourPanelPrefs[i] = m_colourPanelPrefs[i];
  }
  if (mask & kChangeTemplate) {
    target.m_numberOfColours = m_numberOfColours;
    target.SetColourCount(m_numberOfColours, false);
    target.m_currentColourIndex = m_currentColourIndex;
    target.m_simpleColourIndexMax = m_simpleColourIndexMax;
    if (!target.m_hasTextureList) target.SetTextureCount(m_numberOfTextures);
    target.m_numberOfTextures = m_numberOfTextures;
    target.m_currentTextureIndex = m_currentTextureIndex;
  }
  if (mask & kChangeShadow) {
    target.m_shadowType = m_shadowType;
    target.m_shadowDarkness01 = m_shadowDarkness01;
    target.m_shadowBlurrinessPixels = m_shadowBlurrinessPixels;
    target.m_shadowPositionXPixels = m_shadowPositionXPixels;
    target.m_shadowPositionYPixels = m_shadowPositionYPixels;
    target.m_shadowTiltDegrees = m_shadowTiltDegrees;
    target.m_shadowScale01 = m_shadowScale01;
    target.m_shadowOn = m_shadowOn;
    target.m_shadowColour = m_shadowColour;
    target.m_shadowWord = m_shadowWord;
  }
  if (mask & kChangeColours) {
    target.m_texReplacementColour = m_texReplacementColour;
    target.m_texReplacementFlag = m_texReplacementFlag;
  }
  if (mask & kChangeBevelIndent) target.m_bevelIndent = m_bevelIndent;
  if (mask & kChangeBevelContrast) target.m_bevelContrast = m_bevelContrast;
  if (mask & kChangeBevelType) target.m_bevelType = m_bevelType;
  if (mask & kChangeBevelLightAngle) target.m_bevelLightAngle = m_bevelLightAngle;
  if (mask & kChange3DCornerStyle) target.m_q3dCornerStyle = m_q3dCornerStyle;
  if (mask & kChange3DOutline) target.m_q3dUseOutline = m_q3dUseOutline;
  if (mask & kChangeColours) target.m_colourButtonState = m_colourButtonState;
  if (mask & kChangePanels) target.m_textButtonState = m_textButtonState;
  if (mask & kChangeColours) {
    target.SetColourCount(GetColourCount(), false);
    // Entry 0 is the background: it follows only when the background or the whole template
    // is asked for.
    const bool withIndex = (mask & kChangeTemplate) != 0;
    const std::size_t first = (mask & (kChangeBackgroundColour | kChangeTemplate)) ? 0 : 1;
    for (std::size_t i = first; i < m_colours.items.size(); ++i) {
      if (i >= target.m_colours.items.size()) break;
      if (withIndex)
        target.m_colours.items[i]->CopyFrom(*m_colours.items[i], true);
      else
        target.m_colours.items[i]->SetValue(m_colours.items[i]->GetValue());
    }
  }
  if (mask & kChangeBackgroundColour) target.SetBackgroundColour(GetBackgroundColour());
  if (mask & kChangeTextures) {
    // A picture has no textures of its own; any other graphic always has its background.
    if (m_graphicType != kGraphicPicture) {
      if (!HasTextures() || m_textures.empty()) {
        m_textures.assign(1, CBackgroundTextureProperty());
        m_hasTextureList = true;
        m_numberOfTextures = 1;
      }
      target.SetTextureCount(m_numberOfTextures);
    }
    if (target.m_numberOfTextures == m_numberOfTextures) {
      const bool withIndex = (mask & kChangeTemplate) != 0;
      for (unsigned i = 0; i < m_numberOfTextures; ++i) {
        CTextureProperty* to = target.Texture(static_cast<int>(i));
        const CTextureProperty* from = Texture(static_cast<int>(i));
        if (to && from) to->CopyFrom(*from, withIndex);
      }
    }
  }
  if (mask & kChangeNavBar) {
    if (services.HasNavBar()) {
      m_menuRecords.clear();
      services.NavBarWriteMenuRecords(m_menuRecords);
      m_menuSettings = services.NavBarGetSettingsString();
    }
    target.m_menuSettings = m_menuSettings;
    target.m_menuRecords = m_menuRecords;
    target.m_html = m_html;
  }
  target.m_pageRect = m_pageRect;
  target.m_textsInt = m_textsInt;
  if (mask != 0) {
    const COptionsPictureBlock& from = m_picture;
    COptionsPictureBlock& to = target.m_picture;
    to.thumbnailMode = (from.thumbnailMode && m_graphicType == kGraphicEmpty) ? 1 : 0;
    to.caption = from.caption;
    to.int1 = from.int1;
    to.thumbnailScale = GetThumbnailScale();
    to.thumbnailFitted = from.thumbnailFitted;
    to.int2 = from.int2;
    to.bytes3[0] = from.bytes3[0];
    to.ints5[3] = from.ints5[3];
    to.real1 = from.real1;
    for (int i = 0; i < 3; ++i) to.ints6[i] = from.ints6[i];
    to.reals2[0] = from.reals2[0];
    to.reals2[1] = from.reals2[1];
    to.pictureRect = from.pictureRect;
    to.rectFlag = from.rectFlag;
    if (const COptions* current = services.GetCurrentOptions()) to.real2 = current->m_picture.real2;
    to.bytes2[0] = from.bytes2[0];
    to.bytes2[1] = from.bytes2[1];
    to.int4 = from.int4;
    to.real3 = from.real3;
    to.ints2[0] = from.ints2[0];
    to.ints2[1] = from.ints2[1];
    target.SetColourByKind(kColourKindDuotoneDark, GetColourByKind(kColourKindDuotoneDark),
                           kDuotoneDarkName);
    target.SetColourByKind(kColourKindDuotoneLight, GetColourByKind(kColourKindDuotoneLight),
                           kDuotoneLightName);
    target.SetColourByKind(kColourKindTint, GetColourByKind(kColourKindTint), kTintName);
  }
  if (options & 1) services.NotifyChanged(&target, mask, true);
  return result;
}

bool COptions::IsEqual(const COptions& other, StyleChangeMask mask) const {
  if (mask & kChangeTemplate) {
    if (m_kiqFileName.Compare(other.m_kiqFileName) != 0 ||
        m_kiqPath.Compare(other.m_kiqPath) != 0 ||
        m_exportName.Compare(other.m_exportName) != 0 ||
        m_qtwFile.Compare(other.m_qtwFile) != 0 || m_graphicType != other.m_graphicType ||
        GetColourCount() != other.GetColourCount() ||
        m_currentColourIndex != other.m_currentColourIndex ||
        m_simpleColourIndexMax != other.m_simpleColourIndexMax ||
        m_numberOfTextures != other.m_numberOfTextures ||
        m_currentTextureIndex != other.m_currentTextureIndex ||
        !SameRect(m_pageRect, other.m_pageRect))
      return false;
  }
  if (mask & kChangeFonts) {
    if (m_graphicType != other.m_graphicType || m_textAspectRatio != other.m_textAspectRatio ||
        m_fontSize != other.m_fontSize || m_fontSizeOriginal != other.m_fontSizeOriginal ||
        m_letterSpace != other.m_letterSpace || m_lineSpace != other.m_lineSpace ||
        m_textAllignment != other.m_textAllignment || m_textPosition != other.m_textPosition ||
        m_textNudgeX != other.m_textNudgeX || m_textNudgeY != other.m_textNudgeY ||
        m_textPosRange != other.m_textPosRange ||
        m_templateLineCount != other.m_templateLineCount ||
        m_currentStory != other.m_currentStory || m_font != other.m_font)
      return false;
  }
  if (mask & kChangeStories) {
    if (m_numberOfStories != other.m_numberOfStories || m_text != other.m_text ||
        m_textsInt != other.m_textsInt)
      return false;
  }
  if (mask & kChangeFonts) {
    if (m_bold != other.m_bold || m_italic != other.m_italic) return false;
  }
  if (mask & kChangeSize) {
    const CStateConstraint& a = m_ownConstraint;
    const CStateConstraint& b = other.m_ownConstraint;
    if (m_pixelWidth != other.m_pixelWidth || m_pixelHeight != other.m_pixelHeight ||
        m_scale != other.m_scale ||
        m_haveLoadedContoneBitmap != other.m_haveLoadedContoneBitmap ||
        m_haveGotConstrainedObject != other.m_haveGotConstrainedObject ||
        a.m_currentWidth != b.m_currentWidth || a.m_lastSetWidth != b.m_lastSetWidth ||
        a.m_currentHeight != b.m_currentHeight || a.m_lastSetHeight != b.m_lastSetHeight)
      return false;
  }
  if (mask & kChangePanels) {
    if (m_exportType != other.m_exportType || m_exportQuality != other.m_exportQuality ||
        m_exportDither != other.m_exportDither || m_exportPalette != other.m_exportPalette ||
        m_exportBpp != other.m_exportBpp || m_gifPaletteSize != other.m_gifPaletteSize ||
        m_pngPaletteSize != other.m_pngPaletteSize || m_jpegQuality != other.m_jpegQuality ||
        m_transparent != other.m_transparent || m_interlaced != other.m_interlaced ||
        m_transThreshold != other.m_transThreshold)
      return false;
    for (int i = 0; i < 4; ++i)
      if (m_colourPanelPrefs[i] != other.m_colourPanelPrefs[i]) return false;
    if (m_colourButtonState != other.m_colourButtonState ||
        m_textButtonState != other.m_textButtonState)
      return false;
  }
  if (mask & kChangeShadow) {
    if (m_shadowType != other.m_shadowType || m_shadowDarkness01 != other.m_shadowDarkness01 ||
        m_shadowBlurrinessPixels != other.m_shadowBlurrinessPixels ||
        m_shadowPositionXPixels != other.m_shadowPositionXPixels ||
        m_shadowPositionYPixels != other.m_shadowPositionYPixels ||
        m_shadowTiltDegrees != other.m_shadowTiltDegrees ||
        m_shadowScale01 != other.m_shadowScale01 || m_shadowOn != other.m_shadowOn ||
        m_shadowColour != other.m_shadowColour)
      return false;
  }
  if (mask & kChangeColours) {
    if (m_texReplacementColour != other.m_texReplacementColour ||
        m_texReplacementFlag != other.m_texReplacementFlag ||
        GetColourCount() != other.GetColourCount())
      return false;
    for (std::size_t i = 0; i < m_colours.items.size(); ++i) {
      const CColourProperty& a = *m_colours.items[i];
      const CColourProperty& b = *other.m_colours.items[i];
      if (a.GetValue() != b.GetValue()) return false;
      if (mask & kChangeTemplate) {
        if (a.GetName() != b.GetName() || a.GetQuestion() != b.GetQuestion() ||
            a.GetShowWord() != b.GetShowWord() || a.GetKiqIndex() != b.GetKiqIndex() ||
            a.GetStyleName() != b.GetStyleName())
          return false;
      }
    }
  }
  if (mask & kChangeBevelAnd3D) {
    if (m_bevelIndent != other.m_bevelIndent || m_bevelContrast != other.m_bevelContrast ||
        m_bevelType != other.m_bevelType || m_bevelLightAngle != other.m_bevelLightAngle ||
        m_q3dCornerStyle != other.m_q3dCornerStyle || m_q3dUseOutline != other.m_q3dUseOutline)
      return false;
  }
  if (mask & kChangeTextures) {
    if (m_numberOfTextures != other.m_numberOfTextures) return false;
    for (unsigned i = 0; i < m_numberOfTextures; ++i) {
      const CTextureProperty* a = Texture(static_cast<int>(i));
      const CTextureProperty* b = other.Texture(static_cast<int>(i));
      if (!a || !b) {
        if (a != b) return false;
        continue;
      }
      if (a->GetFileName() != b->GetFileName() || a->GetFillType() != b->GetFillType() ||
          a->GetMatrix() != b->GetMatrix())
        return false;
      if ((mask & kChangeTemplate) &&
          (a->GetName() != b->GetName() || a->GetQuestion() != b->GetQuestion() ||
           a->GetKiqIndex() != b->GetKiqIndex()))
        return false;
    }
  }
  if (mask & kChangePicture) {
    const COptionsPictureBlock& a = m_picture;
    const COptionsPictureBlock& b = other.m_picture;
    const bool thumbA = a.thumbnailMode && m_graphicType == kGraphicEmpty;
    const bool thumbB = b.thumbnailMode && other.m_graphicType == kGraphicEmpty;
    if (thumbA != thumbB || a.caption != b.caption || a.int1 != b.int1 ||
        !Near(GetThumbnailScale(), other.GetThumbnailScale()) || a.int2 != b.int2 ||
        a.bytes3[0] != b.bytes3[0] || a.ints5[3] != b.ints5[3] || !Near(a.real1, b.real1) ||
        a.ints6[0] != b.ints6[0] || a.ints6[1] != b.ints6[1] || a.ints6[2] != b.ints6[2] ||
        a.reals2[0] != b.reals2[0] || a.reals2[1] != b.reals2[1] ||
        (a.rectFlag && !SameRect(a.pictureRect, b.pictureRect)) || a.rectFlag != b.rectFlag ||
        a.ints2[1] != b.ints2[1])
      return false;
    for (int kind : {kColourKindDuotoneDark, kColourKindDuotoneLight, kColourKindTint})
      if (GetColourByKind(kind) != other.GetColourByKind(kind)) return false;
    if (GetThumbnailHeight() != other.GetThumbnailHeight()) return false;
  }
  return m_backgroundImageFile.Compare(other.m_backgroundImageFile) == 0;
}
