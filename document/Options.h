// COptions: the option record, the document of one graphic.
//
// One record describes a graphic completely: the engine template it is an instance of, its
// stories (texts, fonts, sizes), colours and textures, size and scale, shadow, bevel, states,
// export settings, navigation-bar data and picture settings. Sizes are kept at scale 1 and turned
// into pixels with Scale; font sizes are kept in thousandths of a point at scale 1; shadow
// offsets are kept divided by Scale.
//
// Setters mark the record modified, except SetColourKind, SetColourCount, ClearTextureFiles and
// the state, state-constraint, thumbnail, rectangle and edit-in-progress setters.
//
// The record is copied and compared by change group (StyleChangeMask) and saved to and read from
// style files (.qtw). Everything it needs from the rest of the program goes through
// COptionsServices.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/ColourProperty.h"
#include "document/StateConstraint.h"
#include "document/StoryList.h"
#include "document/StyleChangeMask.h"
#include "document/TextureProperty.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/WinTypes.h"

struct CInstalledFont;

// Graphic types with a behaviour of their own.
enum GraphicTypeId {
  kGraphicButton = 0,
  kGraphicBullet = 1,
  kGraphicHeading = 2,
  kGraphic3DHeading = 3,
  kGraphicHDivider = 4,
  kGraphicPicture = 5,
  kGraphicBannerAd = 6,
  kGraphicNavBar = 7,
  kGraphicNavBarAlt = 9,
  kGraphicLogo = 10,
  kGraphicEmpty = 12,
};

// Bits of the flags word.
enum : int {
  kOptionsUserText = 0x1,   // the user typed story texts that a newly applied style keeps
  kOptionsFontStyle = 0x2,  // Bold and Italic were derived from the fonts
};

// Indices of the record's seven template capability flags (COptions::GetCapabilityFlag).
enum TemplateCapability : int {
  kCapabilityText = 0,
  kCapabilityColour = 1,
  kCapabilityBitmap = 2,
  kCapabilityBevel = 3,
  kCapabilityTemplateProperties = 4,  // the loaded template offered slots of its own
  kCapabilityFont = 5,
  kCapabilityTemplateLoaded = 6,
};

// Modes of COptions::LoadStyleFile.
enum StyleLoadMode { kLoadPlain = 0, kLoadUserWork = 1, kLoadTemplateStyle = 2 };

// Settings of a picture graphic and its thumbnail, in the order the record keeps them. The
// unnamed fields are carried for the picture panels.
struct COptionsPictureBlock {
  BYTE thumbnailMode = 0;
  BYTE flag = 1;
  CString caption;
  int int1 = 0;
  double thumbnailScale = 0.1;  // never below kMinThumbnailScale
  BYTE thumbnailFitted = 0;
  BYTE byte1 = 0;
  int int2 = 1;
  BYTE bytes3[3] = {0, 0, 0};
  int ints5[5] = {0, 0, 0, 0, 0};
  int int3 = 1;
  double real1 = 0;
  int ints6[6] = {100, 50, 0, 0, 0, 0};
  float reals2[2] = {1.0f, 0.0f};
  RECT pictureRect = {0, 0, 0, 0};
  BYTE rectFlag = 0;
  double real2 = 1.0;
  BYTE bytes2[2] = {0, 0};
  int int4 = 0;
  double real3 = 0;
  int ints2[2] = {100, 0};
};

class COptions : public CObject {
 public:
  static constexpr double kMinThumbnailScale = 0.02;
  static constexpr int kMaxShadowOffset = 20;
  static constexpr double kMaxPixelWidth = 1500;
  static constexpr double kMaxPixelHeight = 1000;
  static constexpr int kDefaultStateDelay = 10;  // hundredths of a second

  COptions();
  ~COptions() override;
  // A complete copy (every field, not by change group): what a failed read puts back.
  COptions(const COptions& other) = default;
  COptions& operator=(const COptions& other) = default;

  // Life cycle and persistence.
  void ResetToDefaults();
  bool LoadDialogPrefs();
  bool SaveDialogPrefs();
  bool SaveStyleFile(const CString& path, bool keepBrowseFolders = false, bool force = false);
  bool LoadStyleFile(const CString& path, StyleChangeMask mask, int selectedIndex = -1,
                     int mode = kLoadPlain);

  // Copy and compare by change group. CopyTo options: bit 0 notify the operations manager that
  // target changed; bit 1 locate and open the template again after copying the template group.
  bool CopyTo(COptions& target, int options, StyleChangeMask mask);
  bool IsEqual(const COptions& other, StyleChangeMask mask) const;

  // Document and template.
  bool IsModified() const { return m_modified != 0; }
  void SetModified(bool modified = true) { m_modified = modified ? 1 : 0; }
  int GetFlags() const { return m_flags; }
  void SetFlags(int flags) { m_flags = flags; SetModified(); }
  bool HasUserText() const { return (m_flags & kOptionsUserText) != 0; }
  void SetUserText(bool on);
  int GetGraphicType() const { return m_graphicType; }
  void SetGraphicType(int type) { m_graphicType = type; SetModified(); }
  CString GetKiqFileName() const { return m_kiqFileName; }
  void SetKiqFileName(const CString& name) { m_kiqFileName = name; SetModified(); }
  CString GetKiqPath() const { return m_kiqPath; }
  void SetKiqPath(const CString& path) { m_kiqPath = path; SetModified(); }
  CString GetStyleFolder() const { return m_styleFolder; }
  void SetStyleFolder(const CString& folder) { m_styleFolder = folder; SetModified(); }
  CString GetStylePath() const { return m_stylePath; }
  CString GetQTWFile() const { return m_qtwFile; }
  void SetQTWFile(const CString& path) { m_qtwFile = path; SetModified(); }
  int GetTemplateFlag() const { return m_template; }
  void SetTemplateFlag(int flag) { m_template = flag; SetModified(); }
  double GetVersion() const { return m_version; }
  void SetVersion(double version) { m_version = version; SetModified(); }
  RECT GetPageRect() const { return m_pageRect; }
  void SetPageRect(const RECT& rect) { m_pageRect = rect; SetModified(); }
  RECT GetCropRect() const { return m_cropRect; }
  void SetCropRect(const RECT* rect);
  int GetCapabilityFlag(int index) const;
  void SetCapabilityFlag(int index, int value);
  void SetAllStatesFlag(int value);
  int GetHasPositionFlag() const { return m_hasPosition; }
  void SetHasPositionFlag(int flag) { m_hasPosition = flag; SetModified(); }
  bool IsShadowSet() const { return m_shadowSet != 0; }
  int GetExportPanelFlag() const { return m_exportPanel; }
  void SetExportPanelFlag(int flag) { m_exportPanel = flag; SetModified(); }
  int GetEditInProgress() const { return m_editInProgress; }
  void SetEditInProgress(int flag) { m_editInProgress = flag; }
  int GetRenderQuality() const { return m_renderQuality; }
  void SetRenderQuality(int quality) { m_renderQuality = quality; SetModified(); }

  // Engine switches that live only while the program runs: never saved, not copied by change
  // group, kept by a reset, and their setters leave the modified flag alone.
  // Interactive render: set by default; cleared while bars and thumbnails render.
  int GetInteractiveRender() const { return m_engineSwitches.interactiveRender; }
  void SetInteractiveRender(int flag) { m_engineSwitches.interactiveRender = flag; }
  // One-shot clipped render: the next render goes through the clipped entry once.
  int GetClipRenderOnce() const { return m_engineSwitches.clipRenderOnce; }
  void SetClipRenderOnce(int flag) { m_engineSwitches.clipRenderOnce = flag; }
  // The base size came from the template.
  int GetTemplateSizeFlag() const { return m_engineSwitches.templateSize; }
  void SetTemplateSizeFlag(int flag) { m_engineSwitches.templateSize = flag; }
  // The template names a clip viewport object.
  int GetClipViewportFlag() const { return m_engineSwitches.clipViewport; }
  void SetClipViewportFlag(int flag) { m_engineSwitches.clipViewport = flag; }
  int GetTemplateJustification() const { return m_engineSwitches.templateJustification; }
  void SetTemplateJustification(int value) { m_engineSwitches.templateJustification = value; }
  // The Scale the preview buffer was last rendered at.
  double GetRenderedScale() const { return m_engineSwitches.renderedScale; }
  void SetRenderedScale(double scale) { m_engineSwitches.renderedScale = scale; }
  // The soft shadow must be made again at the next render.
  int GetShadowChanged() const { return m_engineSwitches.shadowChanged; }
  void SetShadowChanged(int flag) { m_engineSwitches.shadowChanged = flag; }
  // "Bitmap" when the template's fills are contone bitmaps, else "Flat".
  CString GetTemplateFillType() const { return m_engineSwitches.templateFillType; }
  void SetTemplateFillType(const CString& type) { m_engineSwitches.templateFillType = type; }

  // Stories. Getters past the end of a list answer its last element; setters past the end of
  // the list change nothing.
  unsigned GetStoryCount() const { return m_numberOfStories; }
  void SetStoryCount(unsigned count);
  unsigned GetLongestStoryArray() const;
  CString GetStoryText(int story) const { return m_text.At(Index(story)); }
  void SetStoryText(const CString& text, int story);
  CString GetFont(int story) const { return m_font.At(Index(story)); }
  void SetFont(const CString& face, int story);
  int GetBold(int story) const { return m_bold.At(Index(story)); }
  void SetBold(int bold, int story);
  int GetItalic(int story) const { return m_italic.At(Index(story)); }
  void SetItalic(int italic, int story);
  unsigned GetTextAspectRatio(int story) const { return m_textAspectRatio.At(Index(story)); }
  void SetTextAspectRatio(unsigned percent, int story);
  DWORD GetFontSizeValue(int story) const { return m_fontSize.At(Index(story)); }
  void SetFontSizeValue(DWORD value, int story);
  int GetLetterSpace(int story) const { return m_letterSpace.At(Index(story)); }
  void SetLetterSpace(int value, int story);
  int GetLineSpace(int story) const { return m_lineSpace.At(Index(story)); }
  void SetLineSpace(int value, int story);
  int GetTextAllignment(int story) const { return m_textAllignment.At(Index(story)); }
  void SetTextAllignment(int value, int story);
  int GetTextPosition(int story) const { return m_textPosition.At(Index(story)); }
  void SetTextPosition(int value, int story);
  int GetTextNudgeX(int story) const { return m_textNudgeX.At(Index(story)); }
  void SetTextNudgeX(int value, int story);
  int GetTextNudgeY(int story) const { return m_textNudgeY.At(Index(story)); }
  void SetTextNudgeY(int value, int story);
  int GetTextPosRange(int story) const { return m_textPosRange.At(Index(story)); }
  void SetTextPosRange(int value, int story);
  int GetTemplateLineCount(int story) const { return m_templateLineCount.At(Index(story)); }
  int GetCurrentStory() const { return m_currentStory; }
  void SetCurrentStory(int story) { m_currentStory = story; SetModified(); }

  // Fonts and story lines.
  double GetFontSize(int story) const;
  void SetFontSize(double points, int story);
  double GetFontSizeOriginal(int story) const;
  void SetFontSizeOriginal(double value, int story);
  bool ApplyFontStyles();
  bool SetStyleFromFont(const CInstalledFont* font, int story);
  int GetStoryLineCount(int story) const;
  static int CountTextLines(const CString& text);
  void SetTemplateStoryText(const CString& text, int story);
  bool HasTextPosition(int story) const;
  bool HasTextPosRange(int story) const;
  bool UsesPositionOnly(int story) const;

  // Size and scale.
  double GetScale() const { return m_scale; }
  void SetScale(double scale);
  void SetScaleFromWidth(int pixels);
  void SetScaleFromHeight(int pixels);
  double GetBaseWidth() const { return m_baseWidth; }
  double GetBaseHeight() const { return m_baseHeight; }
  void SetBaseSize(double width, double height, double scale);
  int GetPixelWidth(bool exact) const;
  int GetPixelHeight(bool exact) const;
  void SetPixelSize(int width, int height);
  double GetScaledWidth() const { return m_baseWidth * m_scale; }
  double GetScaledHeight() const { return m_baseHeight * m_scale; }
  int GetOutputWidth() const;
  int GetOutputHeight() const;
  void GetOutputSize(int& width, int& height) const;
  double GetWidthWithShadow(double factor) const;
  double GetHeightWithShadow(double factor) const;
  double UnitsToPixels(double units) const;
  long PixelsToUnits(double pixels) const;
  double GetPageWidth() const { return m_pageWidth; }
  double GetPageHeight() const { return m_pageHeight; }
  void SetPageSize(double width, double height);
  void SetMeasuredSize(int width, int height);
  void SetShadowAllowance(double width, double height);

  // Constraints and states.
  int GetHaveGotConstrainedObject() const { return m_haveGotConstrainedObject; }
  void SetHaveGotConstrainedObject(int flag) { m_haveGotConstrainedObject = flag; SetModified(); }
  int GetHaveLoadedContoneBitmap() const { return m_haveLoadedContoneBitmap; }
  void SetHaveLoadedContoneBitmap(int flag) { m_haveLoadedContoneBitmap = flag; SetModified(); }
  void SetConstraintFlags(int horizontal, int vertical);
  int GetHorizontalConstraint() const { return m_horizontalConstraint; }
  int GetVerticalConstraint() const { return m_verticalConstraint; }
  bool SetStateConstraintCount(int count);
  int GetStateConstraintCount() const { return static_cast<int>(m_stateConstraints.size()); }
  void SetConstrainedWidth(double value, int state);
  void SetConstrainedHeight(double value, int state);
  void SetLastSetConstrainedWidth(double value, int state);
  void SetLastSetConstrainedHeight(double value, int state);
  void SetTemplateConstraintWidth(double value, int state);
  void SetTemplateConstraintHeight(double value, int state);
  double GetConstrainedWidth(int state) const;
  double GetConstrainedHeight(int state) const;
  double GetLastSetConstrainedWidth(int state) const;
  double GetLastSetConstrainedHeight(int state) const;
  double GetTemplateConstraintWidth(int state) const;
  double GetTemplateConstraintHeight(int state) const;
  int GetStateCount() const { return m_stateCount; }
  void SetStateCount(int count);
  int GetCurrentState() const { return m_currentState; }
  void SetStateDelay(int index, unsigned time);
  unsigned GetStateDelay(int index) const;
  unsigned GetCurrentStateDelay() const;
  unsigned SelectState(int state);
  int NextState();

  // Colours.
  unsigned GetColourCount() const { return static_cast<unsigned>(m_colours.items.size()); }
  unsigned GetNumberOfColours() const { return m_numberOfColours; }
  void DeleteColourProperties();
  void SetColourCount(unsigned count, bool force);
  bool IsValidColourIndex(int index) const;
  CColourProperty* GetColourProperty(int index) const;
  void SetColourProperty(int index, COLORREF value, const CString& name, const CString& question,
                         int kiqIndex, int shown, const CString& styleName);
  bool SetColourValue(COLORREF value, int index);
  void SetColourPropertyValue(int index, COLORREF value);
  COLORREF GetColourValue(int index) const;
  COLORREF GetColourPropertyValue(int index) const { return GetColourValue(index); }
  CString GetColourName(int index) const;
  void SetColourName(int index, const CString& name);
  CString GetColourQuestion(int index) const;
  void SetColourQuestion(int index, const CString& question);
  CString GetColourStyleName(int index) const;
  int GetColourKiqIndex(int index) const;
  bool IsColourNameShown(int index) const;
  void SetColourNameShown(int index, bool shown);
  int GetColourKind(int index) const;
  void SetColourKind(int index, int kind);
  unsigned GetCurrentColourIndex() const { return m_currentColourIndex; }
  void SetCurrentColourIndex(unsigned index) { m_currentColourIndex = index; SetModified(); }
  unsigned GetSimpleColourIndexMax() const { return m_simpleColourIndexMax; }
  void SetSimpleColourIndexMax(unsigned value) { m_simpleColourIndexMax = value; SetModified(); }
  void SetBackgroundColour(COLORREF colour);
  COLORREF GetBackgroundColour() const;
  COLORREF GetBackgroundColourRGB() const;
  bool SetColourByKind(int kind, COLORREF colour, const CString& text);
  COLORREF GetColourByKind(int kind) const;
  COLORREF GetTexReplacementColour() const { return m_texReplacementColour; }
  void SetTexReplacementColour(COLORREF colour);
  int GetTexReplacementFlag() const { return m_texReplacementFlag; }
  void SetTexReplacementFlag(int flag) { m_texReplacementFlag = flag; SetModified(); }
  int GetColourButtonState() const { return m_colourButtonState; }
  void SetColourButtonState(int state) { m_colourButtonState = state; SetModified(); }
  int GetTextButtonState() const { return m_textButtonState; }
  void SetTextButtonState(int state) { m_textButtonState = state; SetModified(); }
  // The four colour-panel preferences: 0 unnamed, 1 ColourModel, 2 ColourDisplay,
  // 3 ColourInputType.
  int GetColourPanelPref(int index) const;
  void SetColourPanelPref(int index, int value);

  // Textures.
  bool HasTextureList() const { return m_hasTextureList; }
  unsigned GetNumberOfTextures() const { return m_numberOfTextures; }
  bool HasTextures() const { return m_numberOfTextures != 0; }
  bool IsValidTextureIndex(int index) const;
  CTextureProperty* GetTextureProperty(int index);
  const CTextureProperty* GetTextureProperty(int index) const;
  bool SetTextureCount(unsigned count);
  bool SetTextureProperty(int index, const CString& file, const CString& name,
                          const CString& question, int kiqIndex, const CString& fillType,
                          const CString& matrix);
  void SetTextureFileName(int index, const CString& text);
  void SetTextureFillType(int index, const CString& text);
  void SetTextureMatrix(int index, const CString& text);
  void SetTextureColourA(int index, COLORREF colour);
  void SetTextureColourB(int index, COLORREF colour);
  void SetTextureColourAIndex(int index, int colourIndex);
  void SetTextureColourBIndex(int index, int colourIndex);
  CString GetTextureFileName(int index) const;
  CString GetTextureFillType(int index) const;
  CString GetTextureMatrix(int index) const;
  CString GetTextureName(int index) const;
  CString GetTextureQuestion(int index) const;
  COLORREF GetTextureColourA(int index) const;
  COLORREF GetTextureColourB(int index) const;
  int GetTextureColourAIndex(int index) const;
  int GetTextureColourBIndex(int index) const;
  unsigned GetCurrentTextureIndex() const { return m_currentTextureIndex; }
  void SetCurrentTextureIndex(unsigned index) { m_currentTextureIndex = index; SetModified(); }
  void SetCurrentTextureString(const CString& text);
  CString GetBackgroundImageFile() const;
  bool LinkTextureColours(int texture, COLORREF* colourA, COLORREF* colourB);
  bool GetTextureColour(int texture, COLORREF& colour) const;
  bool GetTextureColourIndices(int texture, int* indexA, int* indexB) const;
  void ClearTextureFiles(const CString& questionPrefix);
  bool FindBackgroundTextureFile(CString& file) const;
  int SetUserBitmap(int width, int height, const DWORD* pixels);
  int GetUserBitmapWidth() const { return m_userBitmapWidth; }
  int GetUserBitmapHeight() const { return m_userBitmapHeight; }
  int GetUserBitmapGeneration() const { return m_userBitmapGeneration; }
  const DWORD* GetUserBitmapPixels() const;

  // Shadow. Offsets are pixels; the record keeps them at scale 1.
  int GetShadowType() const { return m_shadowType; }
  void SetShadowType(int type) { m_shadowType = type; SetModified(); }
  float GetShadowDarkness() const { return m_shadowDarkness01; }
  void SetShadowDarkness(float darkness) { m_shadowDarkness01 = darkness; SetModified(); }
  double GetShadowBlurriness() const { return m_shadowBlurrinessPixels; }
  void SetShadowBlurriness(double pixels) { m_shadowBlurrinessPixels = pixels; SetModified(); }
  long GetShadowTilt() const { return m_shadowTiltDegrees; }
  void SetShadowTilt(long degrees) { m_shadowTiltDegrees = degrees; SetModified(); }
  float GetShadowScale() const { return m_shadowScale01; }
  void SetShadowScale(float scale) { m_shadowScale01 = scale; SetModified(); }
  int GetShadowOn() const { return m_shadowOn; }
  void SetShadowOn(int on) { m_shadowOn = on; SetModified(); }
  COLORREF GetShadowColour() const { return m_shadowColour; }
  void SetShadowColour(COLORREF colour) { m_shadowColour = colour; SetModified(); }
  int GetShadowWord() const { return m_shadowWord; }
  void SetShadowWord(int word) { m_shadowWord = word; SetModified(); }
  void SetShadowOffset(double x, double y);
  void GetShadowOffset(int& x, int& y) const;
  double GetShadowOffsetX() const;
  double GetShadowOffsetY() const;
  void SetDefaultShadow();
  bool IsShadowShown() const;

  // Bevel and 3D.
  long GetBevelIndent() const { return m_bevelIndent; }
  void SetBevelIndent(long value) { m_bevelIndent = value; SetModified(); }
  long GetBevelContrast() const { return m_bevelContrast; }
  void SetBevelContrast(long value) { m_bevelContrast = value; SetModified(); }
  long GetBevelType() const { return m_bevelType; }
  void SetBevelType(long value) { m_bevelType = value; SetModified(); }
  long GetBevelLightAngle() const { return m_bevelLightAngle; }
  void SetBevelLightAngle(long value) { m_bevelLightAngle = value; SetModified(); }
  int GetBevelSelector() const { return m_bevelSelector; }
  void SetBevelSelector(int value) { m_bevelSelector = value; SetModified(); }
  unsigned GetQ3DCornerStyle() const { return m_q3dCornerStyle; }
  void SetQ3DCornerStyle(unsigned value) { m_q3dCornerStyle = value; SetModified(); }
  int GetQ3DUseOutline() const { return m_q3dUseOutline; }
  void SetQ3DUseOutline(int value) { m_q3dUseOutline = value; SetModified(); }

  // Export settings.
  int GetExportType() const { return m_exportType; }
  void SetExportType(int value) { m_exportType = value; SetModified(); }
  int GetExportQuality() const { return m_exportQuality; }
  void SetExportQuality(int value) { m_exportQuality = value; SetModified(); }
  int GetExportDither() const { return m_exportDither; }
  void SetExportDither(int value) { m_exportDither = value; SetModified(); }
  int GetExportPalette() const { return m_exportPalette; }
  void SetExportPalette(int value) { m_exportPalette = value; SetModified(); }
  unsigned GetExportBpp() const { return m_exportBpp; }
  void SetExportBpp(unsigned value) { m_exportBpp = value; SetModified(); }
  unsigned GetGIFPaletteSize() const { return m_gifPaletteSize; }
  void SetGIFPaletteSize(unsigned value) { m_gifPaletteSize = value; SetModified(); }
  unsigned GetPNGPaletteSize() const { return m_pngPaletteSize; }
  void SetPNGPaletteSize(unsigned value) { m_pngPaletteSize = value; SetModified(); }
  unsigned GetJPEGQuality() const { return m_jpegQuality; }
  void SetJPEGQuality(unsigned value) { m_jpegQuality = value; SetModified(); }
  int GetTransparent() const { return m_transparent; }
  void SetTransparent(int value) { m_transparent = value; SetModified(); }
  int GetInterlaced() const { return m_interlaced; }
  void SetInterlaced(int value) { m_interlaced = value; SetModified(); }
  BYTE GetTransThreshold() const { return m_transThreshold; }
  void SetTransThreshold(BYTE value) { m_transThreshold = value; SetModified(); }
  CString GetExportPathNameExt() const { return m_exportPathNameExt; }
  void SetExportPathNameExt(const CString& path);
  CString GetExportPathName() const { return m_exportName; }
  void SetExportPathName(const CString& name) { m_exportName = name; SetModified(); }
  DWORD GetExportCheckSum() const { return m_exportCheckSum; }
  void SetExportCheckSum(DWORD value) { m_exportCheckSum = value; SetModified(); }

  // Panel preferences kept with the record.
  int GetSizeSliderPref() const { return m_sizeSliderPref; }
  void SetSizeSliderPref(int value) { m_sizeSliderPref = value; SetModified(); }
  int GetTextDlgPref() const { return m_textDlgPref; }
  void SetTextDlgPref(int value) { m_textDlgPref = value; SetModified(); }
  int GetShadowDlgPref() const { return m_shadowDlgPref; }
  void SetShadowDlgPref(int value) { m_shadowDlgPref = value; SetModified(); }
  int GetExportDlgPref() const { return m_exportDlgPref; }
  void SetExportDlgPref(int value) { m_exportDlgPref = value; SetModified(); }

  // Navigation-bar data.
  CString GetHTML() const { return m_html; }
  void SetHTML(const CString& html) { m_html = html; SetModified(); }
  const std::vector<CString>& GetMenuRecords() const { return m_menuRecords; }
  void SetMenuRecords(const std::vector<CString>& records) { m_menuRecords = records; SetModified(); }
  CString GetMenuSettings() const { return m_menuSettings; }
  void SetMenuSettings(const CString& settings) { m_menuSettings = settings; SetModified(); }
  static constexpr int kBrowseFolderCount = 5;  // of which the style file keeps three
  CString GetBrowseDirectory(int index) const;
  void SetBrowseDirectory(int index, const CString& folder);
  void BackupBrowseDirectories();
  void ClearBrowseDirectories();
  void RestoreBrowseDirectories();

  // Picture block.
  const COptionsPictureBlock& GetPictureBlock() const { return m_picture; }
  COptionsPictureBlock& GetPictureBlock() { return m_picture; }
  CString GetCaptionText() const { return m_picture.caption; }
  void SetCaptionText(const CString& text) { m_picture.caption = text; SetModified(); }
  void SetPictureRect(const RECT& rect);
  void SetThumbnailMode(bool on);
  void FitThumbnail();
  void SetWidthKeepAspect(int pixels);
  void SetHeightKeepAspect(int pixels);
  double GetThumbnailScale() const;
  void SetThumbnailScale(double scale);
  int GetThumbnailHeight() const;

  // Templates.
  bool LocateTemplateFile(CString& path) const;
  CString FindReplacementTemplate() const;

 private:
  friend class CStyleFileReader;
  friend class CStyleFileWriter;

  // Owns its colour entries one by one; a copy of the list copies the entries.
  class COwnedColours {
   public:
    COwnedColours() = default;
    COwnedColours(const COwnedColours& other) { *this = other; }
    COwnedColours& operator=(const COwnedColours& other) {
      if (this == &other) return *this;
      std::vector<std::unique_ptr<CColourProperty>> copy;
      copy.reserve(other.items.size());
      for (const auto& entry : other.items) copy.push_back(std::make_unique<CColourProperty>(*entry));
      items.swap(copy);
      return *this;
    }
    std::vector<std::unique_ptr<CColourProperty>> items;
  };
  struct CDefaultsTag {};
  explicit COptions(CDefaultsTag);

  static std::size_t Index(int story) {
    return story < 0 ? static_cast<std::size_t>(-1) : static_cast<std::size_t>(story);
  }
  void ResetStories();
  void RescaleBlur(double newScale);
  CColourProperty* Colour(int index) const;
  CTextureProperty* Texture(int index) const;
  CStateConstraint* Constraint(int state) const;
  void AddDefaultColours();
  void ReportInternalError(int line) const;

  // Document and template.
  int m_flags = 0;
  int m_graphicType = kGraphicEmpty;
  CString m_kiqFileName;
  CString m_kiqPath;
  CString m_styleFolder;
  CString m_stylePath;
  CString m_qtwFile;
  int m_template = 1;
  double m_version = 0;
  int m_modified = 1;
  RECT m_pageRect = {0, 0, 0, 0};
  RECT m_cropRect = {0, 0, 0, 0};
  int m_capability[7] = {0, 0, 0, 0, 0, 0, 0};
  int m_hasPosition = 0;
  int m_shadowSet = 0;
  int m_exportPanel = 0;
  int m_editInProgress = 0;
  int m_renderQuality = 0;
  // The engine switches (see their accessors): they describe the engine's loaded template,
  // so a reset of the document keeps them.
  struct CEngineSwitches {
    int interactiveRender = 1;
    int clipRenderOnce = 0;
    int templateSize = 0;
    int clipViewport = 0;
    int templateJustification = 0;
    double renderedScale = 0;
    int shadowChanged = 0;
    CString templateFillType;
  } m_engineSwitches;

  // Stories.
  unsigned m_numberOfStories = 1;
  CStoryList<CString> m_text{CString("Barwright")};
  CStoryList<CString> m_font;
  CStoryList<int> m_bold{0};
  CStoryList<int> m_italic{0};
  CStoryList<unsigned> m_textAspectRatio{100u};
  CStoryList<DWORD> m_fontSize{100u};
  CStoryList<double> m_fontSizeOriginal{0.0};
  CStoryList<int> m_letterSpace{0};
  CStoryList<int> m_lineSpace{0};
  CStoryList<int> m_textAllignment{0};
  CStoryList<int> m_textPosition{-1};
  CStoryList<int> m_textNudgeX{0};
  CStoryList<int> m_textNudgeY{0};
  CStoryList<int> m_textPosRange{0};
  CStoryList<int> m_templateLineCount{1};
  int m_currentStory = 0;
  int m_textsInt = 0;  // kept with the texts

  // Size and constraint.
  double m_scale = 1.0;
  double m_baseWidth = 100.0;
  double m_baseHeight = 40.0;
  double m_pageWidth = 1.0;
  double m_pageHeight = 1.0;
  int m_pixelWidth = 0;
  int m_pixelHeight = 0;
  int m_measuredWidth = 0;
  int m_measuredHeight = 0;
  double m_shadowAllowanceWidth = 0;
  double m_shadowAllowanceHeight = 0;
  int m_haveGotConstrainedObject = 0;
  int m_horizontalConstraint = 0;
  int m_verticalConstraint = 0;
  CStateConstraint m_ownConstraint;
  std::vector<CStateConstraint> m_stateConstraints;
  int m_haveLoadedContoneBitmap = 0;

  // Export.
  int m_exportType = 1;
  int m_exportQuality = 1;
  int m_exportDither = 2;
  int m_exportPalette = 1;
  unsigned m_exportBpp = 4;
  unsigned m_gifPaletteSize = 16;
  unsigned m_pngPaletteSize = 16;
  unsigned m_jpegQuality = 75;
  int m_transparent = 1;
  int m_interlaced = 0;
  BYTE m_transThreshold = 192;
  CString m_exportPathNameExt;
  CString m_exportName;
  DWORD m_exportCheckSum = 0;

  // Colours and textures.
  COwnedColours m_colours;
  unsigned m_numberOfColours = 4;
  unsigned m_currentColourIndex = 0;
  unsigned m_simpleColourIndexMax = 0;
  COLORREF m_texReplacementColour = 0xFF0000;
  int m_texReplacementFlag = 0;
  int m_colourButtonState = 0;
  int m_textButtonState = 0;
  int m_colourPanelPrefs[4] = {0, 1, 1, 0};
  bool m_hasTextureList = false;
  std::vector<CTextureProperty> m_textures;
  unsigned m_numberOfTextures = 0;
  unsigned m_currentTextureIndex = 0;
  CString m_backgroundImageFile;
  std::vector<DWORD> m_userBitmap;
  int m_userBitmapWidth = 0;
  int m_userBitmapHeight = 0;
  int m_userBitmapGeneration = 0;
  int m_pictureInts[3] = {1, 1, 1};

  // Shadow.
  int m_shadowType = 1;
  float m_shadowDarkness01 = 1.0f;
  double m_shadowBlurrinessPixels = 0;
  double m_shadowPositionXPixels = 0;
  double m_shadowPositionYPixels = 0;
  long m_shadowTiltDegrees = 0;
  float m_shadowScale01 = 1.0f;
  int m_shadowOn = 0;
  COLORREF m_shadowColour = 0;
  int m_shadowWord = 0;

  // Bevel and 3D.
  long m_bevelIndent = 0;
  long m_bevelContrast = 0;
  long m_bevelType = 1;
  long m_bevelLightAngle = 0;
  int m_bevelSelector = 0;
  unsigned m_q3dCornerStyle = 0;
  int m_q3dUseOutline = 0;

  // States.
  int m_stateCount = 1;
  int m_currentState = 1;
  std::vector<unsigned> m_stateDelays{10u};
  int m_stateInts[3] = {10, 1, 1};

  // Navigation-bar data.
  CString m_html;
  std::vector<CString> m_menuRecords;
  CString m_menuSettings;
  CString m_browse[kBrowseFolderCount];
  CString m_browseBackup[kBrowseFolderCount];
  int m_browseIndex = 0;

  COptionsPictureBlock m_picture;

  // Panel preferences.
  int m_sizeSliderPref = 1;
  int m_textDlgPref = 1;
  int m_shadowDlgPref = 1;
  int m_exportDlgPref = 0;
};
