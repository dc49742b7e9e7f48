#include "document/TemplateCOM.h"

#ifdef _WIN32

#include <climits>
#include <cstring>
#include <new>

#include "document/EngineCallGuard.h"
#include "document/OperationsServices.h"
#include "document/Options.h"
#include "document/TemplateValues.h"

using namespace TemplateValues;

namespace {

const char kSource[] = "TemplateCOM";

enum : unsigned {
  kMsgComponentProblem = 32818,  // "There is a problem with %s.DLL. ..."
  kMsgNoProperties = 32821,
  kMsgFileMissing = 32828,
  kMsgRenderFault = 32922,
  kStrTexture = 33066,
};

// Internal error lines.
enum : int {
  kErrSizeNoRecord = 196, kErrZeroPage = 225, kErrNoSlotList = 264, kErrReadNoRecord = 423,
  kErrNoSlotRecord = 462, kErrClipViewport = 872, kErrNoSlotListForWrite = 1085,
  kErrSetValueFailed = 1087, kErrNoEnumerator = 1369, kErrSlotArray = 1376,
  kErrProbeNoEngine = 1485, kErrProbeNoBuffer = 1488, kErrEngineFault = 1490, kErrEngineHardwareFault = 1491,
};

constexpr double kUnits = kStyleKitUnitsPerPixel;
constexpr int kMaxRenderPixels = 64 * 1024 * 1024;  // far beyond any preview or export

CTemplateCOM::EngineFactory g_engineFactory = nullptr;

// BSTR <-> 8-bit text in the system code page.
BSTR ToBstr(const CString& text) {
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), nullptr, 0);
  BSTR result = ::SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (result && length > 0)
    ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), result, length);
  return result;
}

CString FromBstr(BSTR text) {
  if (!text) return CString();
  const int length = static_cast<int>(::SysStringLen(text));
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  CString result;
  if (bytes > 0) {
    char* buffer = result.GetBufferSetLength(bytes);
    ::WideCharToMultiByte(CP_ACP, 0, text, length, buffer, bytes, nullptr, nullptr);
    result.ReleaseBuffer(bytes);
  }
  return result;
}

// Takes a BSTR out-parameter's text and frees it.
CString TakeBstr(BSTR& text) {
  CString result = FromBstr(text);
  if (text) ::SysFreeString(text);
  text = nullptr;
  return result;
}

CString LoadText(unsigned id, const char* fallback) {
  CString text;
  if (!text.LoadString(id) || text.IsEmpty()) text = fallback;
  return text;
}

// Runs an engine call under the guard; an exception gives E_UNEXPECTED and sets faulted. Every
// call's failure of that kind is recorded as an internal error and told to the user (the render
// calls with their own message, through faulted; the others here, once for a run of failures so
// that releasing a broken engine's objects does not bring one box per object).
bool g_faultShown = false;

template <typename Call>
HRESULT Guarded(Call call, bool* faulted = nullptr) {
  HRESULT result = E_UNEXPECTED;
  const bool ok = CallGuarded([&] { result = call(); });
  if (ok) {
    g_faultShown = false;
    return result;
  }
  GetOperationsServices().InternalError(kErrEngineFault, kSource);
  if (faulted) {
    *faulted = true;
  } else if (!g_faultShown) {
    g_faultShown = true;
    GetOperationsServices().ShowMessage(MessageSeverity::kError, kMsgComponentProblem, "StyleKit");
  }
  return E_UNEXPECTED;
}

// A hardware fault inside the engine is not survived; it is at least in the internal error
// record before the program ends.
void RecordEngineFault(unsigned long) { GetOperationsServices().InternalError(kErrEngineHardwareFault, kSource); }

COptions* Record() { return GetOperationsServices().GetOptions(); }

void Message(MessageSeverity severity, unsigned id, const CString& argument) {
  GetOperationsServices().ShowMessage(severity, id, argument);
}

}  // namespace

const char* const CTemplateCOM::kTextKeys[kTextKeyCount] = {
    "TEXTSTRING", "TEXTFONT", "TEXTSIZE", "TEXTASPECT",
    "TEXTBOLD", "TEXTITALIC", "TEXTPOSITION", "TEXTTRACKING"};

void CTemplateCOM::SetEngineFactory(EngineFactory factory) { g_engineFactory = factory; }

// ---------------------------------------------------------------------------------------------
// Slot list

CTemplateSlotList::~CTemplateSlotList() {
  for (IStyleKitSlot* slot : m_slots)
    if (slot) Guarded([slot] { slot->Release(); return S_OK; });
}

HRESULT CTemplateSlotList::Fill(IStyleKitSlotEnum* enumerator, int count) {
  if (!enumerator) {
    GetOperationsServices().InternalError(kErrNoEnumerator, kSource);
    return E_POINTER;
  }
  if (count <= 0) return S_OK;
  std::vector<IUnknown*> fetchedObjects;
  try {
    fetchedObjects.assign(static_cast<std::size_t>(count), nullptr);
    m_slots.assign(static_cast<std::size_t>(count), nullptr);
  } catch (...) {
    GetOperationsServices().InternalError(kErrSlotArray, kSource);
    return E_OUTOFMEMORY;
  }
  ULONG fetched = 0;
  m_result = Guarded([&] {
    return enumerator->Next(static_cast<ULONG>(count), fetchedObjects.data(), &fetched);
  });
  m_fetched = static_cast<int>(fetched > static_cast<ULONG>(count) ? count : fetched);
  // Only a complete answer is used: a short one would leave slots the count promises unread.
  const bool complete = m_result == S_OK && m_fetched == count;
  for (int i = 0; i < m_fetched; ++i) {
    IUnknown* object = fetchedObjects[i];
    if (!object) continue;
    if (complete) {
      IStyleKitSlot* slot = nullptr;
      Guarded([&] { return object->QueryInterface(IID_IStyleKitSlot, reinterpret_cast<void**>(&slot)); });
      m_slots[i] = slot;
    }
    Guarded([object] { object->Release(); return S_OK; });
  }
  if (!complete) {
    for (IStyleKitSlot*& slot : m_slots) slot = nullptr;
    m_slots.clear();
    return FAILED(m_result) ? m_result : E_FAIL;
  }
  for (IStyleKitSlot* slot : m_slots)
    if (!slot) return E_NOINTERFACE;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Life cycle

CTemplateCOM::CTemplateCOM() { Reset(); }

CTemplateCOM::~CTemplateCOM() {
  Close();
  if (m_engine) {
    IStyleKitEngine* engine = m_engine;
    Guarded([engine] { engine->Release(); return S_OK; });
    m_engine = nullptr;
  }
  if (m_enumerator) {
    IStyleKitSlotEnum* enumerator = m_enumerator;
    Guarded([enumerator] { enumerator->Release(); return S_OK; });
    m_enumerator = nullptr;
  }
}

void CTemplateCOM::Reset() {
  m_clipViewportName.Empty();
  m_clipRect.reset();
  m_lastResult = S_OK;
  m_slotCount = 0;
  m_renderFlags = 113;
  m_pageHeight = m_pageWidth = 0;
  m_loaded = 0;
  m_textObjectCount = 0;
  m_stateCount = 1;
  m_mapper = CTemplateSlotMapper();
  m_records.clear();
}

void CTemplateCOM::InternalError(int line) const {
  GetOperationsServices().InternalError(line, kSource);
}

HRESULT CTemplateCOM::CreateEngine() {
  SetEngineFaultReporter(RecordEngineFault);
  if (m_engine) {
    IStyleKitEngine* engine = m_engine;
    Guarded([engine] { engine->Release(); return S_OK; });
    m_engine = nullptr;
  }
  IStyleKitEngine* engine = nullptr;
  HRESULT result;
  if (g_engineFactory)
    result = g_engineFactory(&engine);
  else
    result = ::CoCreateInstance(CLSID_StyleKitEngine, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IStyleKitEngine, reinterpret_cast<void**>(&engine));
  m_lastResult = result;
  if (FAILED(result) || !engine) {
    Message(MessageSeverity::kError, kMsgComponentProblem, "StyleKit");
    return FAILED(result) ? result : E_NOINTERFACE;
  }
  m_engine = engine;
  return result;
}

bool CTemplateCOM::LoadTemplate(const CString& path) {
  const bool warn = path.Find("Default.kiq", 1) < 1;
  m_clipRect.reset();
  HRESULT result = E_POINTER;
  if (m_engine) {
    BSTR text = ToBstr(path);
    result = Guarded([&] { return m_engine->LoadTemplate(text); });
    ::SysFreeString(text);
  }
  m_lastResult = result;
  if (FAILED(result)) {
    CString shown = path;
    shown.Replace("\\", "\\ ");
    Message(MessageSeverity::kWarning, kMsgFileMissing, shown);
    return false;
  }
  // Loaded before the slots are read, so that a failed read still unloads.
  m_loaded = 1;
  Guarded([&] { return m_engine->CompleteLoad(); });
  if (FAILED(OpenSlots(warn)) || !ReadSlots()) return false;
  m_textObjectCount = CountTextObjects();
  return ReadSizeAndStates() != 0;
}

HRESULT CTemplateCOM::OpenSlots(bool warn) {
  if (m_enumerator) {
    IStyleKitSlotEnum* old = m_enumerator;
    Guarded([old] { old->Release(); return S_OK; });
    m_enumerator = nullptr;
  }
  m_slotList.reset();
  LONG count = 0;
  IStyleKitSlotEnum* enumerator = nullptr;
  if (m_engine) m_lastResult = Guarded([&] { return m_engine->EnumSlots(&enumerator, &count); });
  m_enumerator = enumerator;
  m_slotCount = count > 0 ? static_cast<int>(count) : 0;
  if (!m_enumerator) {
    if (warn) Message(MessageSeverity::kWarning, kMsgNoProperties, CString());
    return -1;
  }
  auto list = std::make_unique<CTemplateSlotList>();
  const HRESULT filled = list->Fill(m_enumerator, m_slotCount);
  m_lastResult = filled;
  if (FAILED(filled)) {
    Message(MessageSeverity::kError, kMsgComponentProblem, "StyleOps");
    return filled;
  }
  m_slotList = std::move(list);
  return filled;
}

bool CTemplateCOM::ReadSlots() {
  COptions* record = Record();
  if (!record) {
    m_mapper = CTemplateSlotMapper();
    InternalError(kErrReadNoRecord);
    return false;
  }
  m_mapper.Begin(*record);
  m_records.clear();
  m_clipViewportName.Empty();
  const bool old = CTemplateSlotMapper::IsOldDocument(*record);
  for (int i = 0; i < m_slotCount; ++i) {
    IStyleKitSlot* slot = m_slotList ? m_slotList->GetAt(i) : nullptr;
    if (!slot) {
      // The list promised this slot; reading on would misnumber every later one.
      InternalError(kErrNoSlotRecord);
      return false;
    }
    CTemplateRawSlot raw;
    BSTR description = nullptr, tag = nullptr, key = nullptr, value = nullptr, name = nullptr;
    LONG type = 0;
    m_lastResult = Guarded([&] { return slot->GetInfo(&description, &tag, &key); });
    raw.description = TakeBstr(description);
    raw.tag = TakeBstr(tag);
    raw.key = TakeBstr(key);
    m_lastResult = Guarded([&] { return slot->GetType(&type); });
    raw.type = static_cast<int>(type);
    m_lastResult = Guarded([&] { return slot->GetValue(&value); });
    raw.value = TakeBstr(value);
    const HRESULT named = Guarded([&] { return slot->GetName(&name); });
    raw.name = SUCCEEDED(named) ? TakeBstr(name) : (TakeBstr(name), CString());
    std::unique_ptr<CTemplateSlotInfo> info;
    try {
      info = m_mapper.Map(raw, m_records, *record, old);
      m_records.push_back(std::move(info));
    } catch (...) {
      InternalError(kErrNoSlotRecord);
      return false;
    }
  }
  m_clipViewportName = m_mapper.clipViewportName;
  if (record->GetClipViewportFlag()) {
    if (!ReadClipViewport()) {
      record->SetClipViewportFlag(0);
      m_clipRect.reset();
      double h = 0, w = 0;
      GetPageSizeInches(&h, &w);
      InternalError(kErrClipViewport);
      return false;
    }
    record->SetCropRect(reinterpret_cast<const RECT*>(m_clipRect.get()));
  } else {
    double h = 0, w = 0;
    GetPageSizeInches(&h, &w);
  }
  m_mapper.Finish(*record);
  return SUCCEEDED(m_lastResult);
}

bool CTemplateCOM::ReadClipViewport() {
  IStyleKitDocument* document = nullptr;
  HRESULT result = Guarded([&] {
    return m_engine->QueryInterface(IID_IStyleKitDocument, reinterpret_cast<void**>(&document));
  });
  if (FAILED(result) || !document) return false;
  BSTR name = ToBstr(m_clipViewportName);
  LONG id = 0, resolved = 0;
  auto rect = std::make_unique<StyleKitRect>(StyleKitRect{0, 0, 0, 0});
  result = Guarded([&] { return document->FindObject(name, &id); });
  if (SUCCEEDED(result)) result = Guarded([&] { return document->ResolveObject(id, &resolved); });
  if (SUCCEEDED(result)) result = Guarded([&] { return document->GetObjectBounds(resolved, rect.get()); });
  ::SysFreeString(name);
  Guarded([document] { document->Release(); return S_OK; });
  m_lastResult = result;
  if (FAILED(result) || rect->right == rect->left || rect->bottom == rect->top) return false;
  m_clipRect = std::move(rect);
  return true;
}

int CTemplateCOM::ReadSizeAndStates() {
  COptions* record = Record();
  if (!record) {
    InternalError(kErrSizeNoRecord);
    return 0;
  }
  ULONG w = 0, h = 0;
  HRESULT result = E_POINTER;
  if (m_engine)
    result = Guarded([&] { return m_engine->GetSize(kStyleKitPageSizeKind, kUnits, kUnits, &w, &h); });
  if (SUCCEEDED(result) && w != 0 && h != 0) {
    record->SetPageSize(w / kUnits, h / kUnits);
    m_pageWidth = static_cast<unsigned>(w / kUnits);
    m_pageHeight = static_cast<unsigned>(h / kUnits);
    record->SetClipRenderOnce(0);
    unsigned height = 0, width = 0;
    GetPageSize(&height, &width);
    if (width == 0 || height == 0) {
      InternalError(kErrZeroPage);
      return 0;
    }
    record->SetBaseSize(width, height, 1.0);
    record->SetTemplateSizeFlag(1);
    record->SetModified();
  } else {
    m_pageWidth = m_pageHeight = 0;
    m_mapper.missing += "Size ";
  }
  if (!m_engine) return 0;
  LONG count = 1;
  Guarded([&] { return m_engine->GetStateCount(&count); });
  m_stateCount = count > 0 ? static_cast<int>(count) : 0;
  HRESULT last = Guarded([&] { return m_engine->SelectState(1); });
  record->SetStateCount(m_stateCount);
  for (int i = 1; i <= m_stateCount; ++i) {
    Guarded([&] { return m_engine->SelectState(i); });
    LONG value = 0;
    last = Guarded([&] { return m_engine->GetStateValue(&value); });
    record->SetStateDelay(i - 1, static_cast<unsigned>(value < 0 ? 0 : value));
  }
  Guarded([&] { return m_engine->SelectState(1); });
  m_lastResult = last;
  return SUCCEEDED(last) ? 1 : 0;
}

int CTemplateCOM::CountTextObjects() const {
  int count = 0;
  for (const auto& slot : m_records)
    if (slot && slot->inUse && slot->key.CompareNoCase("TEXTSTRING") == 0) ++count;
  return count;
}

void CTemplateCOM::Close() {
  m_slotList.reset();
  if (m_loaded) {
    m_loaded = 0;
    if (m_engine) Guarded([&] { return m_engine->Unload(); });
  }
  m_records.clear();
}

// ---------------------------------------------------------------------------------------------
// Text objects

CString CTemplateCOM::TextValue(int entry, int n) const {
  for (const auto& slot : m_records)
    if (slot && slot->key.CompareNoCase(kTextKeys[entry]) == 0 &&
        BelongsToTextObject(slot->tag, n, m_textObjectCount))
      return slot->value;
  return CString();
}

int CTemplateCOM::GetTextSize(int n) const {
  const CString value = TextValue(kTextSize, n);
  return value.IsEmpty() ? 0 : static_cast<int>(DecimalValue(value));
}

int CTemplateCOM::GetTextAspect(int n) const {
  const CString value = TextValue(kTextAspect, n);
  return value.IsEmpty() ? 100 : static_cast<int>(DecimalValue(value));
}

int CTemplateCOM::GetTextTracking(int n) const {
  const CString value = TextValue(kTextTracking, n);
  return value.IsEmpty() ? INT_MIN : static_cast<int>(DecimalValue(value));
}

void CTemplateCOM::GetTextPosition(int n, int* position, int* rangeFlag, int* nudgeX, int* nudgeY) const {
  ParseTextPosition(TextValue(kTextPosition, n), position, rangeFlag, nudgeX, nudgeY);
}

HRESULT CTemplateCOM::SetTextString(int lineSpacing, const CString& text, int n) {
  CString value;
  value.Format("lsvalue\r%d\r%s", lineSpacing, static_cast<LPCTSTR>(text));
  return SetTextProperty(kTextString, n, value);
}

HRESULT CTemplateCOM::SetTextTracking(int tracking, int n) {
  CString value;
  value.Format("%d", tracking);
  return SetTextProperty(kTextTracking, n, value);
}

HRESULT CTemplateCOM::SetTextNumber(int entry, int n, unsigned value) {
  CString text;
  text.Format("%u", value);
  return SetTextProperty(entry, n, text);
}

HRESULT CTemplateCOM::CallSetValue(IStyleKitSlot* slot, const CString& value) {
  if (!slot) return E_POINTER;
  BSTR text = ToBstr(value);
  const HRESULT result = Guarded([&] { return slot->SetValue(text); });
  ::SysFreeString(text);
  m_lastResult = result;
  return result;
}

HRESULT CTemplateCOM::SetTextProperty(int entry, int n, const CString& value) {
  if (entry < 0 || entry >= kTextKeyCount) return E_INVALIDARG;
  COptions* record = Record();
  const bool old = record && CTemplateSlotMapper::IsOldDocument(*record);
  HRESULT result = S_OK;
  const int count = m_slotCount < static_cast<int>(m_records.size()) ? m_slotCount
                                                                     : static_cast<int>(m_records.size());
  for (int i = 0; i < count; ++i) {
    const CTemplateSlotInfo* slot = m_records[i].get();
    if (!slot) continue;
    if (LeadingTagWord(slot->tag).CompareNoCase(kTextKeys[entry]) != 0 &&
        slot->key.CompareNoCase(kTextKeys[entry]) != 0)
      continue;
    if (m_textObjectCount > 1 && !BelongsToTextObject(slot->tag, n, m_textObjectCount)) continue;
    result = CallSetValue(m_slotList ? m_slotList->GetAt(i) : nullptr, value);
    if (!old) break;
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// Slots by key

HRESULT CTemplateCOM::SetSlotValue(const CString& key, const CString& value) {
  HRESULT result = S_OK;
  const COptions* record = Record();
  for (std::size_t i = 0; i < m_records.size(); ++i) {
    const CTemplateSlotInfo* slot = m_records[i].get();
    if (!slot || slot->key.CompareNoCase(key) != 0) continue;
    IStyleKitSlot* target = m_slotList ? m_slotList->GetAt(static_cast<int>(i)) : nullptr;
    if (key == "CONSTRAINED") {
      // Every constrained object is told the width together with the record's height.
      const double height = record ? record->GetConstrainedHeight(-1) : 0;
      result = CallSetValue(target, FormatConstraint(value, height));
      continue;
    }
    result = CallSetValue(target, value);
    break;
  }
  return result;
}

bool CTemplateCOM::SetSlotValueAt(int index, const CString& value) {
  if (!m_slotList) {
    InternalError(kErrNoSlotListForWrite);
    return false;
  }
  if (CallSetValue(m_slotList->GetAt(index), value) != S_OK) {
    InternalError(kErrSetValueFailed);
    return false;
  }
  return true;
}

CString CTemplateCOM::FindUserBitmapSlot(int n) const {
  CString key;
  key.Format("USERBITMAP%d", n);
  for (const auto& slot : m_records)
    if (slot && slot->key.CompareNoCase(key) == 0) return slot->tag;
  CString text;
  text.Format("%s %d", static_cast<LPCTSTR>(LoadText(kStrTexture, "Texture")), n);
  return text;
}

bool CTemplateCOM::GetConstraint(int index, double* height, double* width) const {
  if (index < -1 || index >= m_mapper.constraintCount || !height || !width) return false;
  if (index == -1) {
    *height = *width = 0;
    return true;
  }
  // The index-th constrained object in slot order answers.
  int seen = 0;
  for (const auto& slot : m_records) {
    if (!slot || slot->key.CompareNoCase("CONSTRAINED") != 0) continue;
    if (seen++ != index) continue;
    double w = 0, h = 0;
    if (!ParseConstraint(slot->value, w, h)) return false;
    *width = w;
    *height = h;
    return true;
  }
  return false;
}

int CTemplateCOM::SelectState(int state) {
  if (m_engine && state >= 1 && state <= m_stateCount)
    m_lastResult = Guarded([&] { return m_engine->SelectState(state); });
  return 1;
}

// ---------------------------------------------------------------------------------------------
// Page size and rendering

bool CTemplateCOM::GetPageSize(unsigned* height, unsigned* width) {
  COptions* record = Record();
  unsigned w = 0, h = 0;
  if (m_clipRect) {
    w = static_cast<unsigned>((m_clipRect->right - m_clipRect->left) / kStyleKitUnitsPerPixel);
    h = static_cast<unsigned>((m_clipRect->bottom - m_clipRect->top) / kStyleKitUnitsPerPixel);
  } else {
    ULONG gw = 0, gh = 0;
    const HRESULT result = m_engine ? Guarded([&] { return m_engine->GetSize(kStyleKitPageSizeKind, 1.0, 1.0, &gw, &gh); })
                                    : E_POINTER;
    m_lastResult = result;
    if (FAILED(result)) return false;
    w = gw;
    h = gh;
  }
  if (width) *width = w;
  if (height) *height = h;
  if (!record) return false;
  record->SetBaseSize(w, h, 0);
  record->SetClipRenderOnce(m_clipRect ? 1 : 0);
  return true;
}

bool CTemplateCOM::GetPageSizeInches(double* height, double* width) {
  COptions* record = Record();
  double w = 0, h = 0;
  if (m_clipRect) {
    w = (m_clipRect->right - m_clipRect->left) / kUnits;
    h = (m_clipRect->bottom - m_clipRect->top) / kUnits;
  } else {
    ULONG gw = 0, gh = 0;
    const HRESULT result =
        m_engine ? Guarded([&] { return m_engine->GetSize(kStyleKitPageSizeKind, 2500.0, 2500.0, &gw, &gh); })
                 : E_POINTER;
    m_lastResult = result;
    if (FAILED(result)) return false;
    w = gw * 0.0004;
    h = gh * 0.0004;
  }
  if (width) *width = w;
  if (height) *height = h;
  if (!record) return false;
  record->SetBaseSize(w, h, 0);
  record->SetClipRenderOnce(m_clipRect ? 1 : 0);
  return true;
}

bool CTemplateCOM::RenderBitmap(int width, int height, void* extra, int quality, DWORD* pixels, int flag) {
  if (!m_engine || !pixels || width <= 0 || height <= 0 ||
      static_cast<long long>(width) * height > kMaxRenderPixels)
    return false;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  COptions* record = Record();
  m_renderFlags = quality ? 2 : 0;
  if ((flag && record && record->GetGraphicType() != 5) || (record && record->GetInteractiveRender()))
    m_renderFlags |= 1;
  for (std::size_t i = 0; i < count; ++i) pixels[i] = 0xFF000000u;
  bool faulted = false;
  HRESULT result;
  const StyleKitRect* clip = m_clipRect.get();
  const LONG flags = m_renderFlags;
  if (record && record->GetClipRenderOnce()) {
    result = Guarded([&] { return m_engine->RenderClipped(width, height, clip, flags, extra, pixels); }, &faulted);
    record->SetClipRenderOnce(0);
  } else {
    result = Guarded([&] { return m_engine->Render(width, height, clip, flags, extra, pixels); }, &faulted);
  }
  m_lastResult = result;
  if (faulted) {
    GetOperationsServices().ShowError(kMsgRenderFault);
    return false;
  }
  if (FAILED(result)) return false;
  ConvertEnginePixels(reinterpret_cast<std::uint32_t*>(pixels), count);
  return true;
}

bool CTemplateCOM::ProbeRender() {
  if (!m_engine) {
    InternalError(kErrProbeNoEngine);
    return false;
  }
  DWORD* buffer = new (std::nothrow) DWORD[1];
  if (!buffer) {
    InternalError(kErrProbeNoBuffer);
    return false;
  }
  LONG extra[4] = {0, 0, 0, 0};
  bool faulted = false;
  const HRESULT result = Guarded([&] { return m_engine->RenderClipped(1, 1, nullptr, 0, extra, buffer); }, &faulted);
  delete[] buffer;
  m_lastResult = result;
  if (faulted) {
    Message(MessageSeverity::kError, kMsgComponentProblem, "StyleOps");
    return false;
  }
  if (FAILED(result)) {
    Message(MessageSeverity::kError, kMsgComponentProblem, "QuorDoc");
    return false;
  }
  return true;
}

#endif  // _WIN32
