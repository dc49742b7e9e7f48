// The computed operations of the option record: sizes and scale, fonts, story lines, colours by
// kind, texture helpers, shadow, states and constraints, the picture thumbnail and where the
// engine template is found.
#include <algorithm>
#include <cmath>
#include <new>

#include "document/DocumentFiles.h"
#include "document/Options.h"
#include "document/OptionsServices.h"
#include "document/OptionsStrings.h"
#include "framework/core/NumericConvert.h"

namespace {

constexpr double kPointsPer3DScale = 48.0;  // a 3D heading's font size is Scale x 48 points
constexpr double kMin3DPoints = 8.0;
constexpr double kMax3DPoints = 200.0;
constexpr double kMaxFontSizeOriginal = 2147483647.0;
constexpr double kEngineUnitsPerPixel = 750.0;
constexpr int kThumbnailPixels = 120;
// A private copy of a placed picture is refused beyond this many pixels (256 MB).
constexpr long long kMaxUserBitmapPixels = 64LL * 1024 * 1024;

int g_userBitmapGeneration = 0;

// Round to nearest with ties to even, as the floating-point unit does; a style file's values
// (a scale of 1e302) can lie far beyond the int range.
int RoundToInt(double value) { return ClampToInt(std::nearbyint(value)); }

double Clamp(double value, double low, double high) { return std::min(std::max(value, low), high); }

bool StartsWithNoCase(const CString& text, const CString& prefix) {
  return text.GetLength() >= prefix.GetLength() &&
         text.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

CString WithBackslash(const CString& folder) {
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] == '\\') return folder;
  return folder + "\\";
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Size and scale

void COptions::RescaleBlur(double newScale) {
  // The blur is kept in output pixels: it follows the scale. A record whose scale was never
  // valid has no meaningful blur to rescale.
  if (m_scale > 0) m_shadowBlurrinessPixels = m_shadowBlurrinessPixels * newScale / m_scale;
}

void COptions::SetScale(double scale) {
  // A scale of zero (or less) would make every later size division meaningless.
  if (!(scale > 0) || !std::isfinite(scale)) return;
  RescaleBlur(scale);
  m_scale = scale;
  SetModified();
}

void COptions::SetScaleFromWidth(int pixels) {
  if (m_baseWidth == 0) {
    m_scale = 1.0;
    SetModified();
    return;
  }
  SetScale(pixels / m_baseWidth);
}

void COptions::SetScaleFromHeight(int pixels) {
  if (m_baseHeight == 0) {
    m_scale = 1.0;
    SetModified();
    return;
  }
  SetScale(pixels / m_baseHeight);
}

void COptions::SetBaseSize(double width, double height, double scale) {
  if (scale != 0) SetScale(scale);  // 0 keeps the current scale
  m_baseWidth = width;
  m_baseHeight = height;
  if (m_scale * m_baseHeight > kMaxPixelHeight) m_baseHeight = kMaxPixelHeight / m_scale;
  if (m_scale * m_baseWidth > kMaxPixelWidth) m_baseWidth = kMaxPixelWidth / m_scale;
  SetModified();
}

int COptions::GetPixelWidth(bool exact) const {
  return exact ? m_pixelWidth : RoundToInt(m_baseWidth * m_scale);
}

int COptions::GetPixelHeight(bool exact) const {
  return exact ? m_pixelHeight : RoundToInt(m_baseHeight * m_scale);
}

void COptions::SetPixelSize(int width, int height) {
  m_pixelWidth = width;
  m_pixelHeight = height;
  SetModified();
}

int COptions::GetOutputWidth() const {
  return m_graphicType == kGraphic3DHeading ? m_measuredWidth : GetPixelWidth(false);
}

int COptions::GetOutputHeight() const {
  return m_graphicType == kGraphic3DHeading ? m_measuredHeight : GetPixelHeight(false);
}

void COptions::GetOutputSize(int& width, int& height) const {
  COptionsServices& services = GetOptionsServices();
  const bool barType = m_graphicType == kGraphicButton || m_graphicType == kGraphic3DHeading ||
                       m_graphicType == kGraphicNavBar;
  if (!(barType && services.IsNavBarMode() && services.HasNavBar() &&
        services.NavBarGetTotalSize(width, height))) {
    width = GetOutputWidth();
    height = GetOutputHeight();
  }
  if (IsShadowShown()) {
    width += RoundToInt(m_shadowAllowanceWidth * m_scale);
    height += RoundToInt(m_shadowAllowanceHeight * m_scale);
  }
}

double COptions::GetWidthWithShadow(double factor) const {
  double width = m_baseWidth;
  if (m_graphicType == kGraphic3DHeading) width = m_scale > 0 ? m_measuredWidth / m_scale : 0;
  return factor * m_shadowAllowanceWidth + factor * width;
}

double COptions::GetHeightWithShadow(double factor) const {
  double height = m_baseHeight;
  if (m_graphicType == kGraphic3DHeading) height = m_scale > 0 ? m_measuredHeight / m_scale : 0;
  return factor * m_shadowAllowanceHeight + factor * height;
}

double COptions::UnitsToPixels(double units) const {
  return units * m_scale / kEngineUnitsPerPixel;
}

long COptions::PixelsToUnits(double pixels) const {
  if (!(m_scale > 0)) return 0;
  return ClampToInt(pixels * kEngineUnitsPerPixel / m_scale);
}

void COptions::SetPageSize(double width, double height) {
  m_pageWidth = width;
  m_pageHeight = height;
  SetModified();
}

void COptions::SetMeasuredSize(int width, int height) {
  m_measuredWidth = width;
  m_measuredHeight = height;
  SetModified();
}

void COptions::SetShadowAllowance(double width, double height) {
  m_shadowAllowanceWidth = width;
  m_shadowAllowanceHeight = height;
  SetModified();
}

// ---------------------------------------------------------------------------------------------
// Fonts and stories

double COptions::GetFontSize(int story) const {
  if (m_graphicType == kGraphic3DHeading) return m_scale * kPointsPer3DScale;
  return m_fontSizeOriginal.At(Index(story)) * 0.001 * m_scale;
}

void COptions::SetFontSize(double points, int story) {
  if (m_graphicType == kGraphic3DHeading) {
    SetScale(Clamp(points, kMin3DPoints, kMax3DPoints) / kPointsPer3DScale);
    return;
  }
  double value = m_scale > 0 ? points * 1000.0 / m_scale : kMaxFontSizeOriginal;
  value = Clamp(value, 1.0, kMaxFontSizeOriginal);
  if (m_fontSizeOriginal.Set(Index(story), value)) SetModified();
}

double COptions::GetFontSizeOriginal(int story) const {
  if (m_graphicType == kGraphic3DHeading) return m_scale * kPointsPer3DScale * 1000.0;
  return m_fontSizeOriginal.At(Index(story));
}

void COptions::SetFontSizeOriginal(double value, int story) {
  if (m_graphicType == kGraphic3DHeading) {
    SetScale(value / (kPointsPer3DScale * 1000.0));
    return;
  }
  if (m_fontSizeOriginal.Set(Index(story), value)) SetModified();
}

bool COptions::SetStyleFromFont(const CInstalledFont* font, int story) {
  int bold = 0;
  int italic = 0;
  if (font) {
    CString style = font->styleName;
    style.MakeUpper();
    bold = (font->weight >= 700 || style.Find("BOLD") >= 0) ? 1 : 0;
    italic = font->italic ? 1 : 0;
  }
  m_flags |= kOptionsFontStyle;
  m_bold.Set(Index(story), bold);
  m_italic.Set(Index(story), italic);
  SetModified();
  return bold || italic;
}

bool COptions::ApplyFontStyles() {
  COptionsServices& services = GetOptionsServices();
  bool styled = false;
  const unsigned stories = std::min(m_numberOfStories, GetLongestStoryArray());
  for (unsigned story = 0; story < stories; ++story) {
    CInstalledFont font;
    const bool installed = services.FindInstalledFont(GetFont(static_cast<int>(story)), font);
    if (SetStyleFromFont(installed ? &font : nullptr, static_cast<int>(story))) styled = true;
  }
  return styled;
}

int COptions::CountTextLines(const CString& text) {
  // Lines are ended by CR LF. A piece that is only the LF of an empty line counts when text
  // follows it, so trailing empty lines do not count.
  int lines = 0;
  int pendingBlank = 0;
  int start = 0;
  const int length = text.GetLength();
  while (start <= length) {
    int end = text.Find('\r', start);
    if (end < 0) end = length;
    if (end > start) {
      CString piece = text.Mid(start, end - start);
      if (piece == "\n") {
        ++pendingBlank;
      } else {
        lines += pendingBlank + 1;
        pendingBlank = 0;
      }
    }
    start = end + 1;
  }
  return lines;
}

int COptions::GetStoryLineCount(int story) const { return CountTextLines(GetStoryText(story)); }

void COptions::SetTemplateStoryText(const CString& text, int story) {
  if (GetStoryText(story).IsEmpty()) m_flags &= ~kOptionsUserText;
  if (!(m_flags & kOptionsUserText) && !text.IsEmpty()) SetStoryText(text, story);
  m_templateLineCount.Set(Index(story), CountTextLines(text));
  SetModified();
}

bool COptions::HasTextPosition(int story) const {
  return m_hasPosition && GetTextPosition(story) != -1;
}

bool COptions::HasTextPosRange(int story) const {
  return m_hasPosition && GetTextPosRange(story) != 1;
}

bool COptions::UsesPositionOnly(int story) const {
  return HasTextPosition(story) && !HasTextPosRange(story);
}

// ---------------------------------------------------------------------------------------------
// Colours by kind

void COptions::SetBackgroundColour(COLORREF colour) {
  if (CColourProperty* entry = Colour(0)) {
    entry->SetValue(colour);
    SetModified();
  }
}

COLORREF COptions::GetBackgroundColour() const {
  const CColourProperty* entry = Colour(0);
  return entry ? entry->GetValue() : 0;
}

COLORREF COptions::GetBackgroundColourRGB() const {
  const COLORREF colour = GetBackgroundColour();
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

bool COptions::SetColourByKind(int kind, COLORREF colour, const CString& text) {
  for (auto& entry : m_colours.items) {
    const bool blank = entry->GetName().IsEmpty() && entry->GetQuestion().IsEmpty() &&
                       entry->GetStyleName().IsEmpty();
    if (!blank && entry->GetKind() != kind) continue;
    entry->SetValue(colour);
    entry->SetName(text);
    entry->SetQuestion(text);
    entry->SetStyleName(text);
    entry->SetKiqIndex(-1);
    entry->SetShown(1);
    entry->SetKind(kind);
    SetModified();
    return true;
  }
  return false;
}

COLORREF COptions::GetColourByKind(int kind) const {
  for (const auto& entry : m_colours.items)
    if (entry->GetKind() == kind) return entry->GetValue();
  return 0;
}

void COptions::SetTexReplacementColour(COLORREF colour) {
  m_texReplacementColour = colour;
  SetModified();
  COptionsServices& services = GetOptionsServices();
  if (services.HasCurrentHandler()) services.WriteColourSwatch(colour);
}

// ---------------------------------------------------------------------------------------------
// Texture colours

bool COptions::LinkTextureColours(int texture, COLORREF* colourA, COLORREF* colourB) {
  if (texture <= 0 || static_cast<unsigned>(texture) >= m_numberOfTextures ||
      !m_haveLoadedContoneBitmap)
    return false;
  CTextureProperty* target = Texture(texture);
  if (!target) return false;
  CString nameA1, nameA2, nameB1, nameB2;
  nameA1.Format("BMPColourA Texture %d", texture);
  nameA2.Format("%s %d", kColourAOfTexture, texture);
  nameB1.Format("BMPColourB Texture %d", texture);
  nameB2.Format("%s %d", kColourBOfTexture, texture);
  bool foundA = false;
  bool foundB = false;
  // Whole names only: "Texture 1" must not pick up the entries of texture 12.
  for (std::size_t i = 0; i < m_colours.items.size(); ++i) {
    const CString name = m_colours.items[i]->GetName();
    const COLORREF value = m_colours.items[i]->GetValue();
    if (name == nameA1 || name == nameA2) {
      if (colourA) *colourA = value;
      target->SetColourAIndex(static_cast<int>(i));
      foundA = true;
    } else if (name == nameB1 || name == nameB2) {
      if (colourB) *colourB = value;
      target->SetColourBIndex(static_cast<int>(i));
      foundB = true;
    }
  }
  return foundA && foundB;
}

bool COptions::GetTextureColour(int texture, COLORREF& colour) const {
  if (texture < 0 || static_cast<unsigned>(texture) >= m_numberOfTextures) return false;
  if (texture == 0) {
    for (const auto& entry : m_colours.items) {
      if (entry->GetKind() == kColourKindBackground &&
          entry->GetQuestion().Compare(kBackgroundName) == 0) {
        colour = entry->GetValue();
        return true;
      }
    }
    return false;
  }
  if (!m_haveLoadedContoneBitmap) return false;
  CString name1, name2;
  name1.Format("BMPColourA Texture %d", texture);
  name2.Format("%s %d", kColourAOfTexture, texture);
  for (const auto& entry : m_colours.items) {
    const CString name = entry->GetName();
    if (name.CompareNoCase(name1) == 0 || name.CompareNoCase(name2) == 0) {
      colour = entry->GetValue();
      return true;
    }
  }
  return false;
}

bool COptions::GetTextureColourIndices(int texture, int* indexA, int* indexB) const {
  if (static_cast<unsigned>(texture) >= m_numberOfTextures || !indexA || !indexB) return false;
  const CTextureProperty* entry = Texture(texture);
  if (!entry) return false;
  *indexA = entry->GetColourAIndex();
  *indexB = entry->GetColourBIndex();
  return true;
}

void COptions::ClearTextureFiles(const CString& questionPrefix) {
  for (unsigned i = 0; i < m_numberOfTextures; ++i) {
    CTextureProperty* texture = Texture(static_cast<int>(i));
    if (texture && StartsWithNoCase(texture->GetQuestion(), questionPrefix) &&
        !texture->GetFileName().IsEmpty())
      texture->SetFileName(CString());
  }
  GetOptionsServices().NotifyTextureChanged(false, 1);
}

bool COptions::FindBackgroundTextureFile(CString& file) const {
  for (unsigned i = 0; i < m_numberOfTextures; ++i) {
    const CTextureProperty* texture = Texture(static_cast<int>(i));
    if (texture && texture->GetName().Compare(kBackgroundName) == 0 &&
        !texture->GetFileName().IsEmpty()) {
      file = texture->GetFileName();
      return true;
    }
  }
  file.Empty();
  return false;
}

int COptions::SetUserBitmap(int width, int height, const DWORD* pixels) {
  SetModified();
  m_userBitmapGeneration = 0;
  m_userBitmap.clear();
  m_userBitmap.shrink_to_fit();
  m_userBitmapWidth = 0;
  m_userBitmapHeight = 0;
  if (width > 0 && height > 0 && pixels) {
    const long long count = static_cast<long long>(width) * height;
    ++g_userBitmapGeneration;
    if (count > kMaxUserBitmapPixels) return 0;
    try {
      m_userBitmap.assign(pixels, pixels + count);
    } catch (const std::bad_alloc&) {
      return 0;
    }
    m_userBitmapWidth = width;
    m_userBitmapHeight = height;
    m_userBitmapGeneration = g_userBitmapGeneration;
    return m_userBitmapGeneration;
  }
  if (HasTextures()) {
    m_backgroundImageFile.Empty();
    for (CTextureProperty& texture : m_textures)
      if (texture.GetName().CompareNoCase(kBackgroundName) == 0) texture.SetFileName(CString());
  }
  return 0;
}

const DWORD* COptions::GetUserBitmapPixels() const {
  return m_userBitmap.empty() ? nullptr : m_userBitmap.data();
}

// ---------------------------------------------------------------------------------------------
// Picture thumbnail

void COptions::SetThumbnailMode(bool on) {
  if (on && !m_picture.thumbnailFitted) FitThumbnail();
  m_picture.thumbnailMode = on ? 1 : 0;
}

void COptions::FitThumbnail() {
  if (m_baseWidth >= m_baseHeight)
    SetWidthKeepAspect(kThumbnailPixels);
  else
    SetHeightKeepAspect(kThumbnailPixels);
  m_picture.thumbnailFitted = 1;
}

void COptions::SetWidthKeepAspect(int pixels) {
  double scale = m_baseWidth > 0 ? pixels / m_baseWidth : m_scale;
  m_picture.thumbnailScale = std::max(std::min(scale, m_scale), kMinThumbnailScale);
}

void COptions::SetHeightKeepAspect(int pixels) {
  double scale = m_baseHeight > 0 ? pixels / m_baseHeight : m_scale;
  m_picture.thumbnailScale = std::max(std::min(scale, m_scale), kMinThumbnailScale);
}

double COptions::GetThumbnailScale() const { return std::min(m_scale, m_picture.thumbnailScale); }

void COptions::SetThumbnailScale(double scale) {
  m_picture.thumbnailScale = std::max(scale, kMinThumbnailScale);
}

int COptions::GetThumbnailHeight() const { return RoundToInt(GetThumbnailScale() * m_baseHeight); }

// ---------------------------------------------------------------------------------------------
// Shadow

void COptions::SetShadowOffset(double x, double y) {
  // Kept at scale 1; a record without a valid scale keeps the pixels as they are.
  const double scale = m_scale > 0 ? m_scale : 1.0;
  m_shadowPositionXPixels = Clamp(x, -kMaxShadowOffset, kMaxShadowOffset) / scale;
  m_shadowPositionYPixels = Clamp(y, -kMaxShadowOffset, kMaxShadowOffset) / scale;
  SetModified();
}

void COptions::GetShadowOffset(int& x, int& y) const {
  x = static_cast<int>(Clamp(RoundToInt(m_shadowPositionXPixels * m_scale), -kMaxShadowOffset,
                             kMaxShadowOffset));
  y = static_cast<int>(Clamp(RoundToInt(m_shadowPositionYPixels * m_scale), -kMaxShadowOffset,
                             kMaxShadowOffset));
}

double COptions::GetShadowOffsetX() const {
  return Clamp(m_shadowPositionXPixels * m_scale, -kMaxShadowOffset, kMaxShadowOffset);
}

double COptions::GetShadowOffsetY() const {
  return Clamp(m_shadowPositionYPixels * m_scale, -kMaxShadowOffset, kMaxShadowOffset);
}

void COptions::SetDefaultShadow() {
  m_shadowOn = 1;
  m_shadowType = 1;
  SetShadowOffset(3, 4);
  m_shadowColour = 0;
  m_shadowDarkness01 = 0.65f;
  m_shadowBlurrinessPixels = 7.0;
  m_shadowSet = 1;
  SetModified();
  GetOptionsServices().NotifyShadowChanged(false);
}

bool COptions::IsShadowShown() const {
  if (m_graphicType == kGraphicPicture) return false;
  if (m_numberOfStories == 0 || HasTextPosition(0)) return m_shadowOn != 0;
  for (unsigned story = 0; story < m_numberOfStories && story < m_text.GetSize(); ++story)
    if (!GetStoryText(static_cast<int>(story)).IsEmpty()) return m_shadowOn != 0;
  return false;
}

// ---------------------------------------------------------------------------------------------
// States and constraints

void COptions::SetStateCount(int count) {
  if (count < 0) count = 0;
  m_stateCount = count;
  m_stateDelays.assign(static_cast<std::size_t>(count), kDefaultStateDelay);
}

void COptions::SetStateDelay(int index, unsigned time) {
  if (index >= 0 && index < m_stateCount && static_cast<std::size_t>(index) < m_stateDelays.size())
    m_stateDelays[static_cast<std::size_t>(index)] = time;
}

unsigned COptions::GetStateDelay(int index) const {
  if (index >= 0 && index < m_stateCount && static_cast<std::size_t>(index) < m_stateDelays.size())
    return m_stateDelays[static_cast<std::size_t>(index)];
  return kDefaultStateDelay;
}

unsigned COptions::GetCurrentStateDelay() const {
  if (m_currentState < 1 || m_currentState > m_stateCount) return kDefaultStateDelay;
  return GetStateDelay(m_currentState - 1);
}

unsigned COptions::SelectState(int state) {
  m_currentState = state;
  COptionsServices& services = GetOptionsServices();
  if (!services.HasOperationsManager()) return kDefaultStateDelay;
  services.SelectState(state);
  return GetCurrentStateDelay();
}

int COptions::NextState() {
  m_currentState = m_currentState >= m_stateCount ? 1 : m_currentState + 1;
  COptionsServices& services = GetOptionsServices();
  if (!services.HasOperationsManager()) return 0;
  return services.SelectState(m_currentState);
}

bool COptions::SetStateConstraintCount(int count) {
  m_stateConstraints.clear();
  if (count <= 0) return true;
  try {
    m_stateConstraints.resize(static_cast<std::size_t>(count));
  } catch (const std::bad_alloc&) {
    m_stateConstraints.clear();
    ReportInternalError(__LINE__);
    return false;
  }
  return true;
}

CStateConstraint* COptions::Constraint(int state) const {
  if (state == -1) return const_cast<CStateConstraint*>(&m_ownConstraint);
  if (state < 0 || static_cast<std::size_t>(state) >= m_stateConstraints.size()) return nullptr;
  return const_cast<CStateConstraint*>(&m_stateConstraints[static_cast<std::size_t>(state)]);
}

void COptions::SetConstrainedWidth(double value, int state) {
  if (CStateConstraint* record = Constraint(state)) record->m_currentWidth = value;
}
void COptions::SetConstrainedHeight(double value, int state) {
  if (CStateConstraint* record = Constraint(state)) record->m_currentHeight = value;
}
void COptions::SetLastSetConstrainedWidth(double value, int state) {
  if (CStateConstraint* record = Constraint(state)) record->m_lastSetWidth = value;
}
void COptions::SetLastSetConstrainedHeight(double value, int state) {
  if (CStateConstraint* record = Constraint(state)) record->m_lastSetHeight = value;
}
void COptions::SetTemplateConstraintWidth(double value, int state) {
  if (CStateConstraint* record = Constraint(state)) record->m_templateWidth = value;
}
void COptions::SetTemplateConstraintHeight(double value, int state) {
  if (CStateConstraint* record = Constraint(state)) record->m_templateHeight = value;
}
double COptions::GetConstrainedWidth(int state) const {
  const CStateConstraint* record = Constraint(state);
  return record ? record->m_currentWidth : 0;
}
double COptions::GetConstrainedHeight(int state) const {
  const CStateConstraint* record = Constraint(state);
  return record ? record->m_currentHeight : 0;
}
double COptions::GetLastSetConstrainedWidth(int state) const {
  const CStateConstraint* record = Constraint(state);
  return record ? record->m_lastSetWidth : 0;
}
double COptions::GetLastSetConstrainedHeight(int state) const {
  const CStateConstraint* record = Constraint(state);
  return record ? record->m_lastSetHeight : 0;
}
double COptions::GetTemplateConstraintWidth(int state) const {
  const CStateConstraint* record = Constraint(state);
  return record ? record->m_templateWidth : 0;
}
double COptions::GetTemplateConstraintHeight(int state) const {
  const CStateConstraint* record = Constraint(state);
  return record ? record->m_templateHeight : 0;
}

void COptions::SetConstraintFlags(int horizontal, int vertical) {
  m_horizontalConstraint = horizontal;
  m_verticalConstraint = vertical;
  SetModified();
}

// ---------------------------------------------------------------------------------------------
// Templates

bool COptions::LocateTemplateFile(CString& path) const {
  COptionsServices& services = GetOptionsServices();
  const CString root = services.GetRootPath();
  const CString cd = services.GetCdPath();
  const bool haveCd = !cd.IsEmpty() && DocumentFiles::FolderExists(cd);
  const CString templates = services.GetTemplatesFolderName() + "\\";
  const CString fileName = DocumentFiles::GetFileName(m_kiqFileName);
  if (fileName.IsEmpty()) return false;

  CString candidates[4];
  int count = 0;
  // A record that was never read from a style file has no style folder: its folder is not the
  // root of the current drive.
  if (!m_styleFolder.IsEmpty()) candidates[count++] = WithBackslash(m_styleFolder) + fileName;
  if (!m_kiqPath.IsEmpty()) candidates[count++] = m_kiqPath;
  if (haveCd) candidates[count++] = WithBackslash(cd) + m_kiqFileName;
  if (!root.IsEmpty()) candidates[count++] = root + m_kiqFileName;
  for (int i = 0; i < count; ++i) {
    if (DocumentFiles::FileExists(candidates[i])) {
      path = candidates[i];
      return true;
    }
  }
  CString found;
  if (haveCd) found = services.FindFileRecursive(WithBackslash(cd) + templates, fileName, "", "");
  if (found.IsEmpty() && !root.IsEmpty())
    found = services.FindFileRecursive(root + templates, fileName, "", "");
  if (found.IsEmpty()) return false;
  path = found;
  return true;
}

CString COptions::FindReplacementTemplate() const {
  COptionsServices& services = GetOptionsServices();
  CString suffix;
  CString subfolder;
  switch (m_graphicType) {
    case kGraphicButton: suffix = "_button"; break;
    case kGraphicBullet: suffix = "_bullet"; break;
    case kGraphic3DHeading: subfolder = k3dHeadingsFolder; break;
    case kGraphicHDivider: suffix = "_hdivider"; break;
    case kGraphicPicture: subfolder = kBackgroundsFolder; break;
    case kGraphicBannerAd: subfolder = kBannerAdsFolder; break;
    case kGraphicNavBar:
    case kGraphicNavBarAlt: suffix = "_hnavbar_off"; break;
    case kGraphicLogo: suffix = "_logo"; break;
    default: suffix = "_heading"; break;
  }
  const CString root = services.GetRootPath();
  const CString templates = services.GetTemplatesFolderName() + "\\";
  CString found = services.FindFileRecursive(root + templates + subfolder, "*", "qtw", suffix);
  const CString cd = services.GetCdPath();
  if (found.IsEmpty() && !cd.IsEmpty()) {
    const CString cdTemplates = WithBackslash(cd) + templates;
    if (DocumentFiles::FolderExists(cdTemplates))
      found = services.FindFileRecursive(cdTemplates + subfolder, "*", "qtw", suffix);
  }
  if (found.IsEmpty()) found.Format("%sSysResources\\Graphics\\NoMatch.qtw", (LPCTSTR)root);
  return found;
}
