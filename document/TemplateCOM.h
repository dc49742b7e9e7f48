// CTemplateCOM: the program's client of the template engine.
//
// One instance holds one engine object with at most one loaded template. Life cycle:
//   CreateEngine -> LoadTemplate -> reads, writes, SelectState, RenderBitmap -> Close -> delete
// Loading reads every slot the template exposes, maps it to the program's property key
// (CTemplateSlotMapper) and copies the page size, the states and what the template offers into
// the current option record. Every engine call is guarded: a fault inside the engine fails the
// call instead of ending the program.
#pragma once

#ifdef _WIN32

#include <memory>
#include <vector>

#include "components/stylekit/StyleKitInterfaces.h"
#include "document/TemplateSlotInfo.h"
#include "document/TemplateSlotMapper.h"
#include "framework/core/CString.h"

class COptions;

// The enumerated slots of a loaded template, each queried for IStyleKitSlot.
class CTemplateSlotList {
 public:
  CTemplateSlotList() = default;
  CTemplateSlotList(const CTemplateSlotList&) = delete;
  CTemplateSlotList& operator=(const CTemplateSlotList&) = delete;
  virtual ~CTemplateSlotList();
  // One Next call for count slots; anything but S_OK with every slot fetched fails and
  // releases what was fetched.
  HRESULT Fill(IStyleKitSlotEnum* enumerator, int count);
  int GetCount() const { return static_cast<int>(m_slots.size()); }
  IStyleKitSlot* GetAt(int index) const {
    return index >= 0 && index < GetCount() ? m_slots[index] : nullptr;
  }

 private:
  std::vector<IStyleKitSlot*> m_slots;
  int m_fetched = 0;
  HRESULT m_result = S_OK;
};

class CTemplateCOM {
 public:
  // Makes the engine object; tests install a factory that hands out a fake engine.
  using EngineFactory = HRESULT (*)(IStyleKitEngine** engine);
  static void SetEngineFactory(EngineFactory factory);

  // Indices into the text key table.
  enum TextKey {
    kTextString, kTextFont, kTextSize, kTextAspect, kTextBold, kTextItalic, kTextPosition,
    kTextTracking, kTextKeyCount
  };
  static const char* const kTextKeys[kTextKeyCount];

  CTemplateCOM();
  CTemplateCOM(const CTemplateCOM&) = delete;
  CTemplateCOM& operator=(const CTemplateCOM&) = delete;
  virtual ~CTemplateCOM();

  void Reset();
  HRESULT CreateEngine();
  bool LoadTemplate(const CString& path);
  HRESULT OpenSlots(bool warn);
  bool ReadSlots();
  int ReadSizeAndStates();
  int CountTextObjects() const;
  int GetTextObjectCount() const { return m_textObjectCount; }
  void Close();

  // Text object n (from 0).
  CString GetTextString(int n) const { return TextValue(kTextString, n); }
  CString GetTextFont(int n) const { return TextValue(kTextFont, n); }
  int GetTextSize(int n) const;
  int GetTextAspect(int n) const;
  int GetTextTracking(int n) const;
  void GetTextPosition(int n, int* position, int* rangeFlag, int* nudgeX, int* nudgeY) const;
  HRESULT SetTextString(int lineSpacing, const CString& text, int n);
  HRESULT SetTextFont(const CString& font, int n) { return SetTextProperty(kTextFont, n, font); }
  HRESULT SetTextSize(unsigned size, int n) { return SetTextNumber(kTextSize, n, size); }
  HRESULT SetTextAspect(unsigned aspect, int n) { return SetTextNumber(kTextAspect, n, aspect); }
  HRESULT SetTextBold(unsigned bold, int n) { return SetTextNumber(kTextBold, n, bold); }
  HRESULT SetTextItalic(unsigned italic, int n) { return SetTextNumber(kTextItalic, n, italic); }
  HRESULT SetTextPosition(const CString& position, int n) {
    return SetTextProperty(kTextPosition, n, position);
  }
  HRESULT SetTextTracking(int tracking, int n);
  HRESULT SetTextProperty(int entry, int n, const CString& value);

  HRESULT SetSlotValue(const CString& key, const CString& value);
  bool SetSlotValueAt(int index, const CString& value);
  CString FindUserBitmapSlot(int n) const;
  bool GetConstraint(int index, double* height, double* width) const;
  int SelectState(int state);
  bool GetPageSize(unsigned* height, unsigned* width);
  bool GetPageSizeInches(double* height, double* width);
  bool RenderBitmap(int width, int height, void* extra, int quality, DWORD* pixels, int flag);
  bool ProbeRender();

  // What the last read found.
  int GetSlotCount() const { return m_slotCount; }
  int GetColourSlotCount() const { return m_mapper.colourCount; }
  int GetBitmapKinds() const { return m_mapper.bitmapKinds; }
  int GetBitmapCounter() const { return m_mapper.bitmapCounter; }
  int GetConstraintCount() const { return m_mapper.constraintCount; }
  int GetStateCount() const { return m_stateCount; }
  CString GetMissingProperties() const { return m_mapper.missing; }
  CString GetFontName() const { return m_mapper.fontName; }
  CString GetText() const { return m_mapper.text; }
  unsigned GetPageWidth() const { return m_pageWidth; }
  unsigned GetPageHeight() const { return m_pageHeight; }
  int GetRenderFlags() const { return m_renderFlags; }
  HRESULT GetLastResult() const { return m_lastResult; }
  const std::vector<std::unique_ptr<CTemplateSlotInfo>>& GetSlots() const { return m_records; }
  const StyleKitRect* GetClipRect() const { return m_clipRect.get(); }

 private:
  CString TextValue(int entry, int n) const;
  HRESULT SetTextNumber(int entry, int n, unsigned value);
  HRESULT CallSetValue(IStyleKitSlot* slot, const CString& value);
  void InternalError(int line) const;
  bool ReadClipViewport();

  CString m_clipViewportName;
  std::unique_ptr<StyleKitRect> m_clipRect;
  HRESULT m_lastResult = S_OK;
  int m_slotCount = 0;
  int m_renderFlags = 113;
  unsigned m_pageHeight = 0;
  unsigned m_pageWidth = 0;
  int m_loaded = 0;
  int m_textObjectCount = 0;
  int m_stateCount = 1;
  IStyleKitSlotEnum* m_enumerator = nullptr;
  std::unique_ptr<CTemplateSlotList> m_slotList;
  IStyleKitEngine* m_engine = nullptr;
  CTemplateSlotMapper m_mapper;
  std::vector<std::unique_ptr<CTemplateSlotInfo>> m_records;
};

#endif  // _WIN32
