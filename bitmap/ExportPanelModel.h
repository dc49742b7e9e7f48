// The rules of the advanced export panel, apart from its window: which controls show and are
// enabled for each output type, how the record's export settings become control values and
// back, and how typed and dragged values are limited. The panel window keeps one model and
// moves its controls to the model's values after every call.
#pragma once

// The option record as the export panel reads and writes it (setters mark it modified).
class ExportPanelRecord {
public:
  virtual ~ExportPanelRecord() = default;
  virtual int GetExportType() const = 0;  // 0 GIF, 1 JPEG, 4 PNG
  virtual void SetExportType(int type) = 0;
  virtual int GetExportBpp() const = 0;
  virtual void SetExportBpp(int bpp) = 0;
  virtual int GetExportDither() const = 0;  // 0 none, 2 error diffusion
  virtual void SetExportDither(int dither) = 0;
  virtual int GetExportPalette() const = 0;
  virtual void SetExportPalette(int palette) = 0;
  virtual void SetExportQuality(int quality) = 0;
  virtual int GetGifPaletteSize() const = 0;
  virtual void SetGifPaletteSize(int size) = 0;
  virtual int GetPngPaletteSize() const = 0;
  virtual void SetPngPaletteSize(int size) = 0;
  virtual int GetJpegQuality() const = 0;
  virtual void SetJpegQuality(int quality) = 0;
  virtual int GetTransparent() const = 0;
  virtual void SetTransparent(int transparent) = 0;
  virtual int GetInterlaced() const = 0;
  virtual void SetInterlaced(int interlaced) = 0;
  virtual int GetTransThreshold() const = 0;
  virtual void SetTransThreshold(int threshold) = 0;
  virtual void SetExportDlgPref(int value) = 0;
  virtual int GetGraphicType() const = 0;  // 5: a picture
  virtual int GetPixelWidth() const = 0;
  virtual int GetPixelHeight() const = 0;
};

// Colour-count slider modes: 4 gives 16..216, 8 gives 2..256, 50 gives 16..256, 100 gives 2..16.
enum ColourSliderMode { kSliderWebRange = 4, kSliderFullRange = 8, kSliderPng8 = 50, kSliderPng4 = 100 };

// Captions of the depth and threshold frame.
enum ExportPanelCaption {
  kCaptionHidden = 0,
  kCaptionDepthAndTrim = 32920,  // "Color depth (Bits per pixel) / Trim transparency"
  kCaptionTrim = 32921,          // "Trim transparency"
  kCaptionDepth = 32929,         // "Color depth (Bits per pixel)"
};

class CExportPanelModel {
public:
  // Control values.
  int type = 4;              // output type laid out (0, 1 or 4)
  bool diffused = false;     // "Di&ffused" checked, else "Non&e"
  int colourCount = 0;
  int clampedCount = 16;     // the count within 16..216
  int sliderMode = kSliderWebRange;
  int sliderValue = 16;
  bool transparent = false;
  bool interlaced = false;
  int depth = 24;            // PNG depth radio
  int quality = 0;
  int thresholdPosition = 0; // 0..98
  bool showTrimmed = false;
  // Control states.
  bool colourControlsEnabled = true;  // slider and edit
  bool ditherEnabled = true;
  bool transparentEnabled = true;
  bool transparentShown = true;
  bool interlacedEnabled = true;
  bool thresholdShown = false;
  int groupCaption = kCaptionHidden;
  bool trimmedEstimate = false;  // the file size estimate counts trimmed transparency

  // Record to controls for the record's export type.
  void Load(ExportPanelRecord& record);
  void LoadGif(ExportPanelRecord& record);
  void LoadPng(ExportPanelRecord& record);
  void LoadJpeg(ExportPanelRecord& record);
  // The refresh after every change: states from values, values into the record.
  void OptionChanged(ExportPanelRecord& record);
  // Controls to record.
  void WriteOptions(ExportPanelRecord& record) const;

  // An output type radio: the current controls are written first.
  void ChooseType(ExportPanelRecord& record, int newType);
  // A PNG depth radio (4, 8, 24 or 32).
  void ChooseDepth(ExportPanelRecord& record, int newDepth);
  // The end of a colour slider drag at a count.
  void SlideColours(ExportPanelRecord& record, int count);
  // A threshold trackbar position stored as a threshold (photos keep at least 1).
  void SlideThreshold(ExportPanelRecord& record, int position, bool photoHandlerActive);
  // A number typed into the colour-count edit and committed.
  void CommitColourCount(ExportPanelRecord& record, int value);
  // The quality edit or trackbar.
  void SetQuality(ExportPanelRecord& record, int value);

  static int ThresholdFromPosition(int position, bool photoHandlerActive);
  static void SliderRange(int mode, int& minimum, int& maximum);

private:
  bool IsPicture(const ExportPanelRecord& record) const;
  bool PngTrueColour() const { return type == 4 && depth >= 24; }
  bool ThresholdApplies() const { return transparent && (type == 0 || (type == 4 && depth <= 8)); }
  void SetSlider(int mode, int value);
  void LoadTransparencyAndInterlace(ExportPanelRecord& record);
};
