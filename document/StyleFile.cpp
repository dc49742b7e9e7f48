// The style file (.qtw): the option record as text, one property per line.
//
//   Trimwork                      header ("Barwright" is read as well)
//   Key : value                   one line per property, carriage return and line feed
//
// Numbers are written with fixed printf conversions per key (%d, %u, %lu, %ld, and %g with six
// significant digits and a three-digit exponent); story texts keep their line feeds as the byte
// 0x02. The writer below and the reader after it are the only code that knows the format.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "util/StyleLine.h"
#include "util/StylePropertyTable.h"
#include "document/DocumentFiles.h"
#include "document/Options.h"
#include "document/OptionsServices.h"
#include "document/OptionsStrings.h"

namespace {

constexpr const char kStyleHeader[] = "Trimwork";
constexpr const char kStyleHeaderAlt[] = "Barwright";
constexpr const char kLineEnd[] = "\r\n";
// Limits of the reader. The header line is short; property lines may carry a navigation bar's
// HTML, so they are allowed to be long, but a line beyond the limit is dropped whole.
constexpr std::size_t kMaxHeaderLength = 254;
constexpr std::size_t kMaxStyleLineLength = 1024 * 1024;
// Counts taken from a file are capped before anything is allocated for them.
constexpr unsigned kMaxStyleColours = 1024;
constexpr unsigned kMaxStyleTextures = 256;
constexpr unsigned kMaxStyleStories = 1024;
// The read-only attribute of an existing style file is overridden only in this folder, whose
// files are the program's own read-only masters.
constexpr const char kReadOnlyOverrideFolder[] = "RO";
// Versions up to this one are old documents to the template engine client.
constexpr double kLastOldVersion = 1.2;
constexpr const char kTempCopyMarker[] = "~ast";

// Property ids of the style property table.
enum StyleKeyId {
  kKeyBevelContrast = 2, kKeyBevelIndent = 3, kKeyBevelLightAngle = 4, kKeyBevelType = 5,
  kKeyBold = 6, kKeyBrowseDirectory0 = 7, kKeyBrowseDirectory1 = 8, kKeyBrowseDirectory2 = 9,
  kKeyColourButtonState = 10, kKeyColPropName = 11, kKeyColPropQuestion = 12,
  kKeyColPropShowName = 13, kKeyColPropStyleName = 14, kKeyColPropValue = 15,
  kKeyColPropKiqIndex = 16, kKeyCurrentColourIndex = 17, kKeyCurrentConstrainedWidth = 18,
  kKeyCurrentTextureIndex = 19, kKeyDocPath = 20, kKeyExportBpp = 21, kKeyExportCheckSum = 22,
  kKeyExportDither = 23, kKeyExportPalette = 24, kKeyExportPathNameExt = 25,
  kKeyExportQuality = 26, kKeyExportType = 27, kKeyFont = 28, kKeyFontSize = 29,
  kKeyFontSizeOriginal = 30, kKeyGIFPaletteSize = 31, kKeyGraphicType = 32,
  kKeyHaveGotConstrainedObject = 33, kKeyHaveLoadedContoneBitmap = 34, kKeyHTML = 35,
  kKeyImageFolder = 36, kKeyInterlaced = 37, kKeyItalic = 38, kKeyJPEGQuality = 39,
  kKeyLastSetConstrainedWidth = 40, kKeyLetterSpace = 41, kKeyLineSpace = 42, kKeyMenu = 43,
  kKeyMenuProperties = 44, kKeyNumberOfColours = 45, kKeyNumberOfStories = 46,
  kKeyNumberOfTextures = 47, kKeyPixelHeight = 48, kKeyPixelWidth = 49, kKeyPNGPaletteSize = 50,
  kKeyScale = 51, kKeyShadowBlurrinessPixels = 52, kKeyShadowColour = 53,
  kKeyShadowDarkness01 = 54, kKeyShadowOn = 55, kKeyShadowPositionXPixels = 56,
  kKeyShadowPositionYPixels = 57, kKeyShadowScale01 = 58, kKeyShadowTiltDegrees = 59,
  kKeyShadowType = 60, kKeySimpleColourIndexMax = 61, kKeyTemplate = 62,
  kKeyTexReplacementColour = 63, kKeyTexReplacementFlag = 64, kKeyText = 65,
  kKeyTextAllignment = 66, kKeyTextAspectRatio = 67, kKeyTextButtonState = 68,
  kKeyTextNudgeX = 69, kKeyTextNudgeY = 70, kKeyTextPosition = 71, kKeyTextPosRange = 72,
  kKeyTexturePropFileName = 73, kKeyTexturePropFillType = 74, kKeyTexturePropMatrix = 75,
  kKeyTexturePropName = 76, kKeyTexturePropQuestion = 77, kKeyTexturePropKiqIndex = 78,
  kKeyTransparent = 79, kKeyTransThreshold = 80, kKeyVersion = 81, kKeyKiqFileName = 82,
  kKeyKiqPath = 83, kKeyQ3DCornerStyle = 84, kKeyQ3DUseOutline = 85, kKeyQTWFile = 86,
  kKeyIdLimit = 87,
};

// %g with six significant digits and a three-digit exponent ("1.23457e+006"), the same on every
// C runtime.
CString FormatReal(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%g", value);
  std::string text = buffer;
  const std::size_t e = text.find_first_of("eE");
  if (e != std::string::npos && e + 1 < text.size()) {
    std::size_t digits = e + 2;  // after the sign
    std::string exponent = text.substr(digits);
    while (exponent.size() < 3) exponent.insert(exponent.begin(), '0');
    while (exponent.size() > 3 && exponent[0] == '0') exponent.erase(exponent.begin());
    text = text.substr(0, digits) + exponent;
  }
  return CString(text.c_str(), static_cast<int>(text.size()));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool IsTemporaryCopy(const CString& path) {
  CString lower = path;
  lower.MakeLower();
  return lower.Find(kTempCopyMarker, 1) > 0;
}

// True when one of the folders of path is the read-only override folder itself.
bool InReadOnlyOverrideFolder(const CString& path) {
  const CString folder = DocumentFiles::GetFolder(path);
  int start = 0;
  while (start < folder.GetLength()) {
    int end = folder.Find('\\', start);
    if (end < 0) end = folder.GetLength();
    if (folder.Mid(start, end - start) == kReadOnlyOverrideFolder) return true;
    start = end + 1;
  }
  return false;
}

// Decimal integers as the writer's %d, %u and %lu put them: a value written unsigned (-1 as
// 4294967295) reads back as the same 32 bits.
std::uint32_t ParseBits(const CString& value) {
  return static_cast<std::uint32_t>(std::strtoll(value, nullptr, 10));
}
int ParseInt(const CString& value) { return static_cast<std::int32_t>(ParseBits(value)); }
unsigned ParseUnsigned(const CString& value) { return ParseBits(value); }
double ParseReal(const CString& value) {
  const double real = std::strtod(value, nullptr);
  return std::isfinite(real) ? real : 0.0;
}

unsigned CapCount(unsigned value, unsigned cap) { return value > cap ? cap : value; }

// The question of a colour without its trailing "Color" or "Colour"; "Light source" is numbered.
CString CleanColourQuestion(const CString& value) {
  CString question = value;
  question.TrimRight();
  for (const char* word : {"Color", "Colour"}) {
    const int length = static_cast<int>(std::char_traits<char>::length(word));
    if (question.GetLength() >= length && question.Right(length).CompareNoCase(word) == 0) {
      question = question.Left(question.GetLength() - length);
      question.TrimRight();
    }
  }
  if (question.CompareNoCase(kLightSource) == 0) question = kLightSourceOne;
  return question;
}

// Reads one line up to a line feed; a carriage return before it is dropped. Bytes of any value
// are data. A line longer than the limit is consumed and reported as too long.
enum class LineResult { kLine, kTooLong, kEnd };
LineResult ReadLine(std::FILE* file, std::size_t limit, std::string& line) {
  line.clear();
  bool any = false;
  bool tooLong = false;
  for (;;) {
    const int c = std::getc(file);
    if (c == EOF) break;
    any = true;
    if (c == '\n') break;
    if (line.size() < limit)
      line.push_back(static_cast<char>(c));
    else
      tooLong = true;
  }
  if (!any) return LineResult::kEnd;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return tooLong ? LineResult::kTooLong : LineResult::kLine;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Writer

class CStyleFileWriter {
 public:
  CStyleFileWriter(COptions& record, bool force) : m_record(record), m_force(force) {}

  CString Build() {
    COptions& r = m_record;
    COptionsServices& services = GetOptionsServices();
    const bool navBarMode = services.IsNavBarMode();

    m_text = kStyleHeader;
    m_text += kLineEnd;
    if (r.m_version != 0 && r.m_version <= kLastOldVersion)
      Line("Version", FormatReal(r.m_version));
    else
      Line("Version", services.GetVersionText());
    if (!r.m_kiqPath.IsEmpty()) Line("KiqPath", r.m_kiqPath);
    Line("KiqFileName", r.m_kiqFileName);
    Int("Template", r.m_template);
    Int("GraphicType", r.m_graphicType == kGraphicNavBar && !navBarMode ? 0 : r.m_graphicType);
    ULong("NumberOfStories", r.m_numberOfStories);
    for (unsigned i = 0; i < r.m_numberOfStories; ++i) {
      Line("Text", EscapeLineBreaks(r.m_text.At(i)));
      Line("Font", r.m_font.At(i));
      Int("Bold", r.m_bold.At(i));
      Int("Italic", r.m_italic.At(i));
      Unsigned("TextAspectRatio", r.m_textAspectRatio.At(i));
      ULong("FontSize", r.m_fontSize.At(i));
      Line("FontSizeOriginal", FormatReal(r.m_fontSizeOriginal.At(i)));
      Int("LetterSpace", r.m_letterSpace.At(i));
      Int("LineSpace", r.m_lineSpace.At(i));
      Int("TextAllignment", r.m_textAllignment.At(i));
      Int("TextPosition", r.m_textPosition.At(i));
      Int("TextNudgeX", r.m_textNudgeX.At(i));
      Int("TextNudgeY", r.m_textNudgeY.At(i));
      Int("TextPosRange", r.m_textPosRange.At(i));
    }
    int width = 0;
    int height = 0;
    r.GetOutputSize(width, height);
    Int("PixelWidth", width);
    Int("PixelHeight", height);
    Line("Scale", FormatReal(r.m_scale));
    Int("ExportType", r.m_exportType);
    Int("ExportQuality", r.m_exportQuality);
    Int("ExportDither", r.m_exportDither);
    Int("ExportPalette", r.m_exportPalette);
    Unsigned("ExportBpp", r.m_exportBpp);
    Int("TransThreshold", r.m_transThreshold);
    Unsigned("JPEGQuality", r.m_jpegQuality);
    Line("ExportPathNameExt", r.m_exportPathNameExt);
    ULong("ExportCheckSum", r.m_exportCheckSum);
    Unsigned("GIFPaletteSize", r.m_gifPaletteSize);
    Unsigned("PNGPaletteSize", r.m_pngPaletteSize);
    Int("Transparent", r.m_transparent);
    Int("Interlaced", r.m_interlaced);
    Int("NumberOfColours", static_cast<int>(r.GetColourCount()));
    Unsigned("CurrentColourIndex", r.m_currentColourIndex);
    Unsigned("SimpleColourIndexMax", r.m_simpleColourIndexMax);
    ULong("TexReplacementColour", r.m_texReplacementColour);
    Int("TexReplacementFlag", r.m_texReplacementFlag);
    for (const auto& colour : r.m_colours.items) {
      ULong("ColProp-Value", colour->GetValue());
      Line("ColProp-Name", colour->GetName());
      Line("ColProp-Question", colour->GetQuestion());
      ULong("ColProp-ShowName", static_cast<std::uint32_t>(colour->GetShowWord()));
      Line("ColProp-StyleName", colour->GetStyleName());
      Unsigned("ColProp-KiqIndex", static_cast<unsigned>(colour->GetKiqIndex()));
    }
    Unsigned("NumberOfTextures", r.m_numberOfTextures);
    Unsigned("CurrentTextureIndex", r.m_currentTextureIndex);
    if (r.m_hasTextureList) {
      for (unsigned i = 0; i < r.m_numberOfTextures && i < r.m_textures.size(); ++i) {
        const CTextureProperty& texture = r.m_textures[i];
        Line("TextureProp-FileName", texture.GetFileName());
        Line("TextureProp-Name", texture.GetName());
        Line("TextureProp-Question", texture.GetQuestion());
        Line("TextureProp-FillType", texture.GetFillType());
        Line("TextureProp-Matrix", texture.GetMatrix());
        Unsigned("TextureProp-KiqIndex", static_cast<unsigned>(texture.GetKiqIndex()));
      }
    }
    Line("ShadowDarkness01", FormatReal(r.m_shadowDarkness01));
    Line("ShadowBlurrinessPixels", FormatReal(r.m_shadowBlurrinessPixels));
    Line("ShadowPositionXPixels", FormatReal(r.m_shadowPositionXPixels));
    Line("ShadowPositionYPixels", FormatReal(r.m_shadowPositionYPixels));
    Long("ShadowTiltDegrees", r.m_shadowTiltDegrees);
    Line("ShadowScale01", FormatReal(r.m_shadowScale01));
    Int("ShadowType", r.m_shadowType);
    Int("ShadowOn", r.m_shadowOn);
    Unsigned("ShadowColour", r.m_shadowColour);
    Long("BevelIndent", r.m_bevelIndent);
    Long("BevelContrast", r.m_bevelContrast);
    Long("BevelType", r.m_bevelType);
    Long("BevelLightAngle", r.m_bevelLightAngle);
    Unsigned("Q3DCornerStyle", r.m_q3dCornerStyle);
    Int("Q3DUseOutline", r.m_q3dUseOutline);
    Int("ColourButtonState", r.m_colourButtonState);
    Int("TextButtonState", r.m_textButtonState);
    Int("HaveGotConstrainedObject", r.m_haveGotConstrainedObject);
    Line("CurrentConstrainedWidth", FormatReal(r.m_ownConstraint.m_currentWidth));
    Line("LastSetConstrainedWidth", FormatReal(r.m_ownConstraint.m_lastSetWidth));
    // Older readers look for two height lines; the height itself is not kept in files.
    Int("CurrentConstrainedHeight", 0);
    Int("CurrentConstrainedHeight", 0);
    Int("HaveLoadedContoneBitmap", r.m_haveLoadedContoneBitmap);
    if (!r.m_qtwFile.IsEmpty() && r.m_template == 0) Line("QTWFile", r.m_qtwFile);
    if (navBarMode && !r.m_html.IsEmpty()) {
      Line("HTML", r.m_html);
      if (services.HasNavBar()) {
        r.m_menuRecords.clear();
        services.NavBarWriteMenuRecords(r.m_menuRecords);
        r.m_menuSettings = services.NavBarGetSettingsString();
        for (const CString& record : r.m_menuRecords) Line("Menu", record);
        Line("Menu Properties", services.NavBarGetSettingsString());
      }
    }
    if (navBarMode && !m_force) {
      CString folder = services.NavBarGetImageFolder();
      Line("ImageFolder", folder.IsEmpty() ? CString("X") : folder);
    }
    for (int i = 0; i < 3; ++i) {
      if (r.m_browse[i].IsEmpty()) continue;
      CString key;
      key.Format("BrowseDirectory%d :", i);
      Raw(key + r.m_browse[i]);
    }
    if (services.IsHostedByEditor()) Raw("DocPath :" + services.GetDocPath());
    return m_text;
  }

 private:
  void Raw(const CString& line) {
    m_text += line;
    m_text += kLineEnd;
  }
  void Line(const char* key, const CString& value) { Raw(CString(key) + " : " + value); }
  void Int(const char* key, int value) { Format(key, "%d", value); }
  void Unsigned(const char* key, unsigned value) { Format(key, "%u", value); }
  void ULong(const char* key, std::uint32_t value) {
    Format(key, "%lu", static_cast<unsigned long>(value));
  }
  void Long(const char* key, long value) { Format(key, "%ld", value); }
  template <class T>
  void Format(const char* key, const char* format, T value) {
    CString text;
    text.Format(format, value);
    Line(key, text);
  }

  COptions& m_record;
  bool m_force;
  CString m_text;
};

bool COptions::SaveStyleFile(const CString& path, bool keepBrowseFolders, bool force) {
  if ((!force && m_graphicType == kGraphicEmpty) || m_kiqFileName.IsEmpty()) return true;

  // Without keep-browse-folders the folders stay out of the file and are back in the record on
  // every way out.
  struct BrowseFolderGuard {
    COptions* record;
    ~BrowseFolderGuard() {
      if (record) record->RestoreBrowseDirectories();
    }
  } guard{keepBrowseFolders ? nullptr : this};
  if (!keepBrowseFolders) {
    BackupBrowseDirectories();
    ClearBrowseDirectories();
  }

  COptionsServices& services = GetOptionsServices();
  if (DocumentFiles::CreateFolderOf(path) && DocumentFiles::FileExists(path) &&
      DocumentFiles::IsReadOnly(path)) {
    if (InReadOnlyOverrideFolder(path)) {
      if (!DocumentFiles::ClearAttributes(path)) return false;
    } else {
      services.InformError(kMsgReadOnlyFile);
      return false;
    }
  }

  CString text;
  try {
    text = CStyleFileWriter(*this, force).Build();
  } catch (const std::bad_alloc&) {
    return false;
  }

  // Written beside the target and then put in its place: a full disk or a failed write leaves
  // the previous file as it was.
  const CString temporary = path + ".~tmp";
  std::FILE* file = std::fopen(DocumentFiles::NativePath(temporary), "wb");
  if (!file) return false;
  const std::size_t length = static_cast<std::size_t>(text.GetLength());
  bool written = std::fwrite(static_cast<LPCTSTR>(text), 1, length, file) == length;
  written = std::fflush(file) == 0 && written;
  written = std::fclose(file) == 0 && written;
  if (!written || !DocumentFiles::ReplaceFile(temporary, path)) {
    DocumentFiles::RemoveFile(temporary);
    return false;
  }
  m_stylePath = path;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Reader

class CStyleFileReader {
 public:
  CStyleFileReader(COptions& record, const COptions& previous, const CString& path,
                   StyleChangeMask mask, int selected, int mode, bool navBarModeBefore)
      : r(record), m_previous(previous), m_path(path), m_mask(mask), m_selected(selected),
        m_mode(mode), m_navBarModeBefore(navBarModeBefore),
        m_temporaryCopy(IsTemporaryCopy(path)) {}

  enum class Outcome { kContinue, kFail, kStopDone };

  Outcome Apply(int id, const CString& value);
  bool Complete();

 private:
  // The first line of a list-wise key empties its list; later lines append.
  template <class T>
  void Append(int id, CStoryList<T>& list, const T& value) {
    if (!m_seen[id]) {
      list.RemoveAll();
      m_seen[id] = true;
    }
    if (list.GetSize() < kMaxStyleStories) list.Add(value);
  }
  // A story value: list-wise without a selection; with one, into the current story when the
  // lines follow the selected story's "Font" line.
  template <class T>
  void StoryValue(int id, CStoryList<T>& list, const T& value) {
    if (m_selected == -1)
      Append(id, list, value);
    else if (m_fontLines - 1 == m_selected / 2)
      list.Set(static_cast<std::size_t>(r.m_currentStory), value);
  }
  bool ApplyTextureFile(int index, const CString& value);
  CColourProperty* CurrentColour() const { return r.Colour(static_cast<int>(m_colourRecord)); }
  CTextureProperty* CurrentTexture() const { return r.Texture(static_cast<int>(m_textureRecord)); }

  COptions& r;
  const COptions& m_previous;
  CString m_path;
  StyleChangeMask m_mask;
  int m_selected;
  int m_mode;
  bool m_navBarModeBefore;
  bool m_temporaryCopy;

  bool m_seen[kKeyIdLimit] = {};
  int m_textLines = 0;
  bool m_textApplied = false;
  int m_fontLines = 0;
  unsigned m_colourRecord = 0;
  unsigned m_textureRecord = 0;
  bool m_templateOpened = false;
  bool m_replacementFlagRead = false;
  std::vector<CString> m_menus;
  CString m_menuSettings;
};

bool CStyleFileReader::ApplyTextureFile(int index, const CString& value) {
  CTextureProperty* texture = r.Texture(index);
  if (!texture) return false;
  if (value.IsEmpty() || value == "\\" || value == "None") {
    texture->SetFileName(CString());
    return true;
  }
  COptionsServices& services = GetOptionsServices();
  const CString absolute = DocumentFiles::MakeAbsolutePath(value, services.GetRootPath());
  if (DocumentFiles::FileExists(absolute)) {
    texture->SetFileName(value);
  } else {
    services.InformWarningWithPath(kMsgDataFileMissing, absolute + " (Texture file)");
    texture->SetFileName(CString());
  }
  return true;
}

CStyleFileReader::Outcome CStyleFileReader::Apply(int id, const CString& value) {
  COptionsServices& services = GetOptionsServices();
  const int s = m_selected;
  switch (id) {
    case kKeyVersion:
      r.m_version = ParseReal(value);
      break;
    case kKeyKiqPath:
      r.m_kiqPath = value;
      r.SetModified();
      break;
    case kKeyKiqFileName: {
      r.m_kiqFileName = value;
      r.m_styleFolder = DocumentFiles::GetFolder(m_path);
      r.m_exportName.Empty();
      if (value.IsEmpty()) break;
      CString found;
      if (!r.LocateTemplateFile(found)) {
        if (!m_temporaryCopy) services.ReportWarning(kMsgTemplateMissing, m_path);
        return Outcome::kFail;
      }
      m_templateOpened = true;
      if (!services.OpenDocument(found)) return Outcome::kFail;
      r.m_pageRect = services.GetPageRect();
      r.m_kiqPath = found;
      r.SetModified();
      break;
    }
    case kKeyGraphicType:
      r.m_graphicType = ParseInt(value);
      if (r.m_graphicType == kGraphicBannerAd) r.m_styleFolder.Empty();
      break;
    case kKeyNumberOfStories: {
      const unsigned count = CapCount(ParseUnsigned(value), kMaxStyleStories);
      r.m_numberOfStories = count;
      if (count != m_previous.m_numberOfStories) r.m_text.SetSize(count ? count : 1);
      break;
    }
    case kKeyText: {
      const CString text = UnescapeLineBreaks(value);
      const int k = m_textLines++;
      const bool keepUserText =
          m_mode != kLoadUserWork && m_previous.HasUserText() &&
          m_previous.m_graphicType == r.m_graphicType && r.m_graphicType != kGraphicBannerAd &&
          !m_navBarModeBefore &&
          !(r.m_graphicType == kGraphicHeading && r.m_numberOfStories == 1 &&
            text.GetLength() == 1 && m_previous.m_numberOfStories != 1);
      if (keepUserText) {
        r.m_flags |= kOptionsUserText;
        if (static_cast<unsigned>(k) < r.m_text.GetSize() &&
            static_cast<unsigned>(k) <= m_previous.m_numberOfStories)
          r.m_text.Set(static_cast<std::size_t>(k), m_previous.m_text.At(static_cast<std::size_t>(k)));
        break;
      }
      if (m_mode == kLoadUserWork)
        r.m_flags |= kOptionsUserText;
      else
        r.m_flags &= ~kOptionsUserText;
      if (s == -1) {
        r.m_text.Set(static_cast<std::size_t>(k), text);
        m_textApplied = true;
      } else if (k == (s - 1) / 2) {
        r.SetStoryText(text, r.m_currentStory);
      }
      break;
    }
    case kKeyFont: {
      CString face = value;
      if (s == -1) {
        if (!m_seen[id]) {
          r.m_font.RemoveAll();
          m_seen[id] = true;
        }
        if (r.m_font.GetSize() < r.m_numberOfStories) services.SubstituteFont(face);
        if (r.m_font.GetSize() < kMaxStyleStories) r.m_font.Add(face);
      } else if (m_fontLines == s / 2) {
        services.SubstituteFont(face);
        r.m_font.Set(static_cast<std::size_t>(r.m_currentStory), face);
      }
      ++m_fontLines;
      break;
    }
    case kKeyBold:
      StoryValue(id, r.m_bold, ParseInt(value));
      break;
    case kKeyItalic:
      if (m_mask & kChangeFonts) StoryValue(id, r.m_italic, ParseInt(value));
      break;
    case kKeyTextAspectRatio:
      if (m_mask & (kChangeSize | kChangeAspectRatio))
        StoryValue(id, r.m_textAspectRatio, ParseUnsigned(value));
      break;
    case kKeyFontSize:
      StoryValue(id, r.m_fontSize, static_cast<DWORD>(ParseUnsigned(value)));
      break;
    case kKeyFontSizeOriginal:
      StoryValue(id, r.m_fontSizeOriginal, ParseReal(value));
      break;
    case kKeyLetterSpace:
      StoryValue(id, r.m_letterSpace, ParseInt(value));
      break;
    case kKeyLineSpace:
      StoryValue(id, r.m_lineSpace, ParseInt(value));
      break;
    case kKeyTextAllignment:
      StoryValue(id, r.m_textAllignment, ParseInt(value));
      break;
    case kKeyTextPosition:
      Append(id, r.m_textPosition, ParseInt(value));
      break;
    case kKeyTextNudgeX:
      Append(id, r.m_textNudgeX, ParseInt(value));
      break;
    case kKeyTextNudgeY:
      Append(id, r.m_textNudgeY, ParseInt(value));
      break;
    case kKeyTextPosRange:
      Append(id, r.m_textPosRange, ParseInt(value));
      break;
    case kKeyTemplate: r.m_template = ParseInt(value); break;
    case kKeyHaveLoadedContoneBitmap: r.m_haveLoadedContoneBitmap = ParseInt(value); break;
    case kKeyHaveGotConstrainedObject: r.m_haveGotConstrainedObject = ParseInt(value); break;
    case kKeyCurrentConstrainedWidth: r.m_ownConstraint.m_currentWidth = ParseReal(value); break;
    case kKeyLastSetConstrainedWidth: r.m_ownConstraint.m_lastSetWidth = ParseReal(value); break;
    case kKeyColourButtonState: r.m_colourButtonState = ParseInt(value); break;
    case kKeyTextButtonState: r.m_textButtonState = ParseInt(value); break;
    case kKeyBevelIndent: r.m_bevelIndent = ParseInt(value); break;
    case kKeyBevelContrast: r.m_bevelContrast = ParseInt(value); break;
    case kKeyBevelType: r.m_bevelType = ParseInt(value); break;
    case kKeyBevelLightAngle: r.m_bevelLightAngle = ParseInt(value); break;
    case kKeyQ3DCornerStyle: r.m_q3dCornerStyle = ParseUnsigned(value); break;
    case kKeyQ3DUseOutline: r.m_q3dUseOutline = ParseInt(value); break;
    case kKeyTexReplacementColour: r.m_texReplacementColour = ParseUnsigned(value); break;
    case kKeyTexReplacementFlag:
      r.m_texReplacementFlag = ParseInt(value);
      m_replacementFlagRead = true;
      break;
    case kKeyExportCheckSum: r.m_exportCheckSum = ParseUnsigned(value); break;
    case kKeyExportPathNameExt:
      r.m_exportPathNameExt = value;
      r.m_exportName = DocumentFiles::GetFileTitle(value);
      break;
    case kKeyPixelWidth:
      if (m_mask & (kChangeSize | kChangePixelWidth)) {
        r.m_pixelWidth = ParseInt(value);
        r.SetScaleFromWidth(r.m_pixelWidth);
      }
      break;
    case kKeyPixelHeight:
      if (m_mask & (kChangeSize | kChangePixelHeight)) {
        r.m_pixelHeight = ParseInt(value);
        r.SetScaleFromHeight(r.m_pixelHeight);
      }
      break;
    case kKeyScale: {
      const double scale = ParseReal(value);
      if (scale > 0) r.m_scale = scale;  // a zero scale would divide every size by zero
      r.m_pixelWidth = r.GetPixelWidth(false);
      r.m_pixelHeight = r.GetPixelHeight(false);
      break;
    }
    case kKeyExportType:
    case kKeyExportQuality:
    case kKeyExportPalette:
    case kKeyTransThreshold:
    case kKeyTransparent:
    case kKeyInterlaced:
    case kKeyJPEGQuality:
    case kKeyPNGPaletteSize:
      if (!(m_mask & kChangeExport)) break;
      switch (id) {
        case kKeyExportType: r.m_exportType = ParseInt(value); break;
        case kKeyExportQuality: r.m_exportQuality = ParseInt(value); break;
        case kKeyExportPalette: r.m_exportPalette = ParseInt(value); break;
        case kKeyTransThreshold: r.m_transThreshold = static_cast<BYTE>(ParseInt(value)); break;
        case kKeyTransparent: r.m_transparent = ParseInt(value); break;
        case kKeyInterlaced: r.m_interlaced = ParseInt(value); break;
        case kKeyJPEGQuality: r.m_jpegQuality = ParseUnsigned(value); break;
        default: r.m_pngPaletteSize = ParseUnsigned(value); break;
      }
      break;
    case kKeyExportDither:
      if ((m_mask & kChangeExport) || r.m_stateCount > 1) r.m_exportDither = ParseInt(value);
      break;
    case kKeyGIFPaletteSize:
      if ((m_mask & kChangeExport) || r.m_graphicType == kGraphicBannerAd)
        r.m_gifPaletteSize = ParseUnsigned(value);
      break;
    case kKeyExportBpp:
      if (m_mask & kChangeExport) {
        r.m_exportBpp = ParseUnsigned(value);
        r.m_gifPaletteSize = r.m_exportBpp < 5 ? 16 : 256;
      }
      break;
    case kKeyQTWFile:
      if (!value.IsEmpty()) r.m_qtwFile = value;
      break;
    case kKeyNumberOfColours:
      if (m_mask & (kChangeTemplate | kChangeColours)) {
        r.m_numberOfColours = CapCount(ParseUnsigned(value), kMaxStyleColours);
        r.SetColourCount(r.m_numberOfColours, !m_templateOpened);
      }
      break;
    case kKeyCurrentColourIndex: {
      unsigned index = ParseUnsigned(value);
      if (index >= r.GetColourCount()) index = r.GetColourCount() > 1 ? 1 : 0;
      if (r.m_graphicType != kGraphic3DHeading) r.m_currentColourIndex = index;
      break;
    }
    case kKeySimpleColourIndexMax: r.m_simpleColourIndexMax = ParseUnsigned(value); break;
    case kKeyColPropValue:
      if (r.m_colours.items.empty()) break;
      if (s == -1) {
        if (CColourProperty* colour = CurrentColour()) colour->SetValue(ParseUnsigned(value));
      } else if (static_cast<unsigned>(s) == m_colourRecord) {
        if (CColourProperty* colour = r.Colour(static_cast<int>(r.m_currentColourIndex)))
          colour->SetValue(ParseUnsigned(value));
      }
      break;
    case kKeyColPropName:
      if (s == -1 && (m_mask & kChangeTemplate))
        if (CColourProperty* colour = CurrentColour()) colour->SetName(value);
      break;
    case kKeyColPropQuestion:
      if (CColourProperty* colour = CurrentColour()) colour->SetQuestion(CleanColourQuestion(value));
      break;
    case kKeyColPropShowName:
      if (m_mask & kChangeTemplate)
        if (CColourProperty* colour = CurrentColour()) colour->SetShowWord(ParseInt(value));
      break;
    case kKeyColPropStyleName:
      if (CColourProperty* colour = CurrentColour()) colour->SetStyleName(value);
      break;
    case kKeyColPropKiqIndex:
      // The slot index comes from the template when it is opened; the line ends the record.
      ++m_colourRecord;
      break;
    case kKeyShadowDarkness01:
    case kKeyShadowBlurrinessPixels:
    case kKeyShadowPositionXPixels:
    case kKeyShadowPositionYPixels:
    case kKeyShadowTiltDegrees:
    case kKeyShadowScale01:
    case kKeyShadowType:
    case kKeyShadowOn:
    case kKeyShadowColour:
      switch (id) {
        case kKeyShadowDarkness01: r.m_shadowDarkness01 = static_cast<float>(ParseReal(value)); break;
        case kKeyShadowBlurrinessPixels: r.m_shadowBlurrinessPixels = ParseReal(value); break;
        case kKeyShadowPositionXPixels: r.m_shadowPositionXPixels = ParseReal(value); break;
        case kKeyShadowPositionYPixels: r.m_shadowPositionYPixels = ParseReal(value); break;
        case kKeyShadowTiltDegrees: r.m_shadowTiltDegrees = ParseInt(value); break;
        case kKeyShadowScale01: r.m_shadowScale01 = static_cast<float>(ParseReal(value)); break;
        case kKeyShadowType: r.m_shadowType = ParseInt(value); break;
        case kKeyShadowOn: r.m_shadowOn = ParseInt(value); break;
        default: r.m_shadowColour = ParseUnsigned(value); break;
      }
      if (r.m_graphicType != kGraphicPicture) r.m_shadowSet = 1;
      break;
    case kKeyBrowseDirectory0: r.m_browse[0] = value; break;
    case kKeyBrowseDirectory1: r.m_browse[1] = value; break;
    case kKeyBrowseDirectory2: r.m_browse[2] = value; break;
    case kKeyNumberOfTextures:
      if (!r.SetTextureCount(CapCount(ParseUnsigned(value), kMaxStyleTextures)))
        return Outcome::kFail;
      break;
    case kKeyCurrentTextureIndex:
      r.m_currentTextureIndex = ParseUnsigned(value);
      if (r.m_currentTextureIndex >= r.m_numberOfTextures) r.m_numberOfTextures = 0;
      break;
    case kKeyTexturePropFileName:
      if (s == -1)
        ApplyTextureFile(static_cast<int>(m_textureRecord), value);
      else if (static_cast<unsigned>(s) == m_textureRecord)
        ApplyTextureFile(static_cast<int>(r.m_currentTextureIndex), value);
      break;
    case kKeyTexturePropName:
      if (s == -1)
        if (CTextureProperty* texture = CurrentTexture()) texture->SetName(value);
      break;
    case kKeyTexturePropFillType:
      if (s == -1)
        if (CTextureProperty* texture = CurrentTexture()) texture->SetFillType(value);
      break;
    case kKeyTexturePropQuestion:
      if (s == -1 && (m_mask & kChangeTemplate))
        if (CTextureProperty* texture = CurrentTexture()) texture->SetQuestion(value);
      break;
    case kKeyTexturePropMatrix:
      if (s == -1) {
        if (CTextureProperty* texture = CurrentTexture()) texture->SetMatrix(value);
      } else if (static_cast<unsigned>(s) == m_textureRecord) {
        if (CTextureProperty* texture = r.Texture(static_cast<int>(r.m_currentTextureIndex)))
          texture->SetMatrix(value);
      }
      break;
    case kKeyTexturePropKiqIndex:
      if (s == -1) {
        if (m_mask & kChangeTemplate)
          if (CTextureProperty* texture = CurrentTexture()) texture->SetKiqIndex(ParseInt(value));
      } else if (static_cast<unsigned>(s) == m_textureRecord) {
        return Outcome::kStopDone;  // the selected texture is complete
      }
      ++m_textureRecord;
      break;
    case kKeyHTML:
      r.m_html = UnescapeLineBreaks(value);
      break;
    case kKeyImageFolder:
      if (m_navBarModeBefore) {
        CString folder = UnescapeLineBreaks(value);
        if (folder.CompareNoCase("x") == 0 || folder.CompareNoCase(" x") == 0) folder.Empty();
        services.NavBarSetImageFolder(folder);
      }
      break;
    case kKeyDocPath:
      break;
    case kKeyMenu: {
      CString record = value;
      record.TrimLeft();
      if (m_menus.size() < kMaxStyleStories * 16) m_menus.push_back(UnescapeLineBreaks(record));
      break;
    }
    case kKeyMenuProperties: {
      CString settings = value;
      settings.TrimLeft();
      m_menuSettings = UnescapeLineBreaks(settings);
      break;
    }
    default:
      break;
  }
  return Outcome::kContinue;
}

bool CStyleFileReader::Complete() {
  COptionsServices& services = GetOptionsServices();
  if (r.m_qtwFile.IsEmpty()) r.m_qtwFile = m_path;
  r.m_numberOfStories = r.GetLongestStoryArray();
  // The template's own line counts are not in the file: one per story, as the template left them.
  r.m_templateLineCount.SetSize(r.m_numberOfStories ? r.m_numberOfStories : 1);

  if (m_replacementFlagRead && r.m_texReplacementFlag && (m_mask & kChangePanels))
    r.SetTexReplacementColour(r.m_texReplacementColour);
  if (((m_mask & kChangePanels) && !m_replacementFlagRead) ||
      r.m_graphicType == kGraphic3DHeading) {
    r.m_texReplacementFlag = 0;
    r.SetModified();
  }

  for (unsigned i = 0; i < r.m_numberOfTextures; ++i)
    r.LinkTextureColours(static_cast<int>(i), nullptr, nullptr);

  if ((m_mask & kChangeTemplate) && m_mode == kLoadTemplateStyle &&
      r.m_graphicType != kGraphicPicture) {
    if (r.m_numberOfTextures == 0 || r.m_textures.empty()) {
      if (!r.SetTextureCount(1)) return false;
    }
    CTextureProperty& background = r.m_textures[0];
    if (m_previous.HasTextures() && !m_previous.m_textures.empty()) {
      background.SetFileName(m_previous.m_textures[0].GetFileName());
      background.SetFillType(m_previous.m_textures[0].GetFillType());
    } else {
      background.SetFileName(CString());
    }
    background.SetQuestion(kBackgroundName);
    background.SetName(kBackgroundName);
    r.m_backgroundImageFile = background.GetFileName();
    if (r.m_backgroundImageFile.IsEmpty()) r.SetUserBitmap(0, 0, nullptr);
  }
  // The panel preferences belong to the user, not to the style.
  r.m_textDlgPref = m_previous.m_textDlgPref;
  r.m_shadowDlgPref = m_previous.m_shadowDlgPref;
  r.m_exportDlgPref = m_previous.m_exportDlgPref;
  r.m_sizeSliderPref = m_previous.m_sizeSliderPref;
  r.m_colourPanelPrefs[1] = m_previous.m_colourPanelPrefs[1];

  if ((m_mask & kChangeBackgroundColour) && r.m_graphicType != kGraphicPicture) {
    if ((m_mask & kChangeKeepBackground) && !r.m_colours.items.empty() &&
        !m_previous.m_colours.items.empty() &&
        m_previous.m_colours.items[0]->GetKind() == kColourKindBackground && !m_temporaryCopy) {
      r.SetBackgroundColour(m_previous.GetBackgroundColour());
    } else if (m_mode == kLoadUserWork || m_temporaryCopy) {
      r.SetBackgroundColour(r.GetColourByKind(kColourKindBackground));
    }
  }

  if (services.IsHostedByEditor()) {
    COLORREF background = 0;
    if (services.TakeHostBackgroundColour(background)) {
      if (r.m_colours.items.empty()) r.SetColourCount(1, true);
      r.SetBackgroundColour(background);
      r.m_colours.items[0]->SetQuestion(kBackgroundName);
      r.m_colours.items[0]->SetName(kBackgroundName);
    }
    if (!r.m_exportPathNameExt.IsEmpty()) services.OfferExportPath(r.m_exportPathNameExt);
  }

  if (!m_textApplied) {
    for (unsigned story = 0; story < r.m_numberOfStories; ++story) {
      const int i = static_cast<int>(story);
      if (!r.UsesPositionOnly(i)) continue;
      const int templateLines = std::max(1, r.GetTemplateLineCount(i));
      const int lines = std::max(1, r.GetStoryLineCount(i));
      if (templateLines != lines) r.SetFontSize(r.GetFontSize(i) * templateLines / lines, i);
    }
  }

  services.NotifyTextureChanged(false, 0);
  services.NotifyConstraintChanged(false);

  if (!(m_mask & kChangeStories) && m_previous.HasUserText()) {
    const unsigned stories = std::min(r.m_numberOfStories, m_previous.m_numberOfStories);
    for (unsigned i = 0; i < stories; ++i) r.m_text.Set(i, m_previous.m_text.At(i));
    services.NotifyTextChanged(false, -1);
    r.m_flags |= kOptionsUserText;
  }

  if (r.m_graphicType == kGraphic3DHeading) {
    const double scale = r.m_scale > 0 ? r.m_scale : 1.0;
    r.m_pageWidth = r.m_pixelWidth / scale;
    r.m_pageHeight = r.m_pixelHeight / scale;
  }

  r.ApplyFontStyles();

  if (r.m_html.IsEmpty()) return true;
  bool loaded = true;
  if ((m_mask & kChangeNavBar) && services.HasNavBar()) {
    CString settings = m_menuSettings;
    int coloursFromFile = 1;
    int settingsOrigin = 1;
    if (m_mode == kLoadUserWork || m_temporaryCopy) {
      r.m_menuRecords = m_menus;
      r.m_menuSettings = m_menuSettings;
      services.NavBarClearURLChoices();
      services.NavBarSetParseButtons();
      coloursFromFile = 0;
      settingsOrigin = ((m_mask & kChangeNavBarReload) || m_temporaryCopy) ? 2 : 0;
    } else {
      settings.Empty();
    }
    loaded = services.NavBarLoadFromTemplate(r.m_html, m_path, r.m_menuRecords, settings,
                                             coloursFromFile, settingsOrigin);
  }
  services.SetNavBarMode(loaded);
  return loaded;
}

bool COptions::LoadStyleFile(const CString& path, StyleChangeMask mask, int selectedIndex,
                             int mode) {
  COptionsServices& services = GetOptionsServices();
  std::FILE* file = std::fopen(DocumentFiles::NativePath(path), "rb");
  if (!file) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);

  std::string line;
  if (ReadLine(file, kMaxHeaderLength, line) != LineResult::kLine ||
      !(CString(line.c_str()).CompareNoCase(kStyleHeader) == 0 ||
        CString(line.c_str()).CompareNoCase(kStyleHeaderAlt) == 0) ||
      line.find('\0') != std::string::npos) {
    closer.reset();
    services.InformError(kMsgNotAStyleFile);
    return false;
  }
  if (!services.HasOperationsManager()) {
    ReportInternalError(__LINE__);
    return false;
  }

  // A failed read puts the document and the navigation-bar mode back as they were.
  const bool navBarModeBefore = services.IsNavBarMode();
  std::unique_ptr<COptions> original;
  try {
    original = std::make_unique<COptions>(*this);
  } catch (const std::bad_alloc&) {
    return false;
  }
  auto fail = [&]() {
    *this = *original;
    services.SetNavBarMode(navBarModeBefore);
    return false;
  };
  try {
    services.SetNavBarMode(false);
    if (mask & kChangeTemplate) services.StopPreviewStateDisplay();

    m_ownConstraint.m_lastSetWidth = 0;
    SetStateCount(1);
    m_currentState = 1;
    if (mask & kChangeTemplate) {
      m_kiqPath.Empty();
      SetModified();
    }
    if (mask & kChangeNavBar) m_html.Empty();
    if (mask & kChangeSize) {
      if (m_scale > 0) m_shadowBlurrinessPixels /= m_scale;
      m_scale = 1.0;
      SetModified();
    }
    if (mask & kChangeStories) m_numberOfStories = 0;
    m_version = 0;
    m_qtwFile.Empty();

    const COptions previous(*this);
    CStyleFileReader reader(*this, previous, path, mask, selectedIndex, mode, navBarModeBefore);
    for (;;) {
      const LineResult result = ReadLine(file, kMaxStyleLineLength, line);
      if (result == LineResult::kEnd) break;
      if (result == LineResult::kTooLong) continue;
      CString text(line.data(), static_cast<int>(line.size()));
      int first = 0;
      while (first < text.GetLength() && IsBlank(text[first])) ++first;
      const int colon = text.Find(':', first);
      // The key ends two characters before the colon: the blank in front of it is not part of
      // the key. A line without a colon or without a key is not a property.
      const int keyEnd = colon - 1;
      if (colon < 0 || keyEnd <= first) continue;
      const CString key = text.Mid(first, keyEnd - first);
      int valueStart = colon + 1;
      while (valueStart < text.GetLength() && IsBlank(text[valueStart])) ++valueStart;
      CString value = text.Mid(valueStart);
      value.TrimRight();

      DWORD keyMask = 0;
      const int id = LookupPropertyName(key, &keyMask);
      if (id <= 0 || id >= kKeyIdLimit || (keyMask & mask) != keyMask) continue;
      switch (reader.Apply(id, value)) {
        case CStyleFileReader::Outcome::kContinue: break;
        case CStyleFileReader::Outcome::kFail: return fail();
        case CStyleFileReader::Outcome::kStopDone:
          services.SetNavBarMode(navBarModeBefore);
          return true;
      }
    }
    closer.reset();
    if (!reader.Complete()) return fail();
    return true;
  } catch (const std::bad_alloc&) {
    return fail();
  }
}
