#include "navbar/NavBar.h"

#include <cstdio>
#include <new>

#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "util/TextFilters.h"
#include "document/DocumentFiles.h"
#include "navbar/NavBarRenderer.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr const char kUnit[] = "NavBar";
void InternalError(int line) { GetNavBarServices().SetInternalError(line, kUnit); }

constexpr COLORREF kDefaultMenuColours[5] = {0xAAAAAA, 0x000000, 0xAA0000, 0xFFFFFF, 0x000000};
constexpr int kMaxButtonSpacing = 50;

// Engine units per base unit of a design size, and per half of one.
constexpr int kEngineUnits = 750;
constexpr int kHalfEngineUnits = 375;

}  // namespace

bool CanBeNavBarButton(int graphicType) {
  return graphicType == kGraphicButton || graphicType == kGraphic3DHeading || graphicType == kGraphicNavBar;
}

bool FileExists(const CString& path) {
  return !path.IsEmpty() && DocumentFiles::FileExists(path) && !DocumentFiles::FolderExists(path);
}

CNavBar::CNavBar() {
  for (int i = 0; i < 5; ++i) m_menuColours[i] = kDefaultMenuColours[i];
  for (auto& record : m_states) record = std::make_unique<COptions>();
  SetName("NavBar Name");
}

CNavBar::~CNavBar() {
  CloseMenuPreview();
  for (CNavBarButton* button : m_buttons) delete button;
  m_buttons.clear();
  DeleteCaps();
  delete m_renderer;
}

int CNavBar::CreateDefaultButtons() {
  if (!m_renderer) m_renderer = new (std::nothrow) CNavBarRenderer(*this);
  if (!m_renderer) {
    InternalError(172);
    return 0;
  }
  static const struct {
    UINT id;
    const char* text;
  } kDefaults[] = {{33051, "Your Button Text"}, {33052, "Links"}, {33053, "Downloads"}, {33054, "Home"}};
  for (const auto& entry : kDefaults) {
    CNavBarButton* button = new (std::nothrow) CNavBarButton;
    if (!button) continue;
    button->SetText(LoadAppString(entry.id, entry.text));
    button->SetState(0);
    try {
      m_buttons.push_back(button);
    } catch (const std::bad_alloc&) {
      delete button;
    }
  }
  return 1;
}

void CNavBar::DeleteCaps() {
  delete m_firstCap;
  delete m_secondCap;
  m_firstCap = m_secondCap = nullptr;
}

int CNavBar::CopyFrom(CNavBar* source) {
  if (!source || source == this) return 0;
  try {
    std::vector<CString> texts, links, alts, targets;
    for (const CNavBarButton* button : source->m_buttons) {
      texts.push_back(button->GetText());
      links.push_back(button->GetURL());
      alts.push_back(button->GetAltText(false));
      targets.push_back(button->GetTarget());
    }
    if (!texts.empty() && !SetButtons(texts, links, alts, targets)) return 0;
    std::unique_ptr<CNavBarCapButton> first, second;
    if (source->HasCaps()) {
      first = std::make_unique<CNavBarCapButton>();
      second = std::make_unique<CNavBarCapButton>();
      source->m_firstCap->GetRecord().CopyTo(first->GetRecord(), 0, kChangeAll);
      source->m_secondCap->GetRecord().CopyTo(second->GetRecord(), 0, kChangeAll);
    }
    for (int i = 0; i < CNavBarItem::kStateCount; ++i) source->m_states[i]->CopyTo(*m_states[i], 0, kChangeAll);
    DeleteCaps();
    m_firstCap = first.release();
    m_secondCap = second.release();
    for (int i = 0; i < CNavBarItem::kStateCount; ++i) m_stateEnabled[i] = source->m_stateEnabled[i];
    m_buttonSpacing = source->m_buttonSpacing;
    m_justification = source->m_justification;
    m_htmlName = source->m_htmlName;
    m_vertical = source->m_vertical;
    m_sizingMode = source->m_sizingMode;
    std::vector<CString> records;
    source->WriteMenuRecords(&records);
    ClearMenus();
    ReadMenuRecords(&records);
    SetSettingsString(source->GetSettingsString());
  } catch (const std::bad_alloc&) {
    return 0;
  }
  SetCurrentState(source->m_currentState, 0, 0);
  return 1;
}

// ---- Buttons -------------------------------------------------------------------------------

CNavBarButton* CNavBar::GetButton(int index) const {
  if (index < 0 || index >= GetButtonCount()) return nullptr;
  return m_buttons[static_cast<std::size_t>(index)];
}

bool CNavBar::InsertButton(int position, const CString& text) {
  if (position < 0 || position > GetButtonCount()) return false;
  CNavBarButton* button = new (std::nothrow) CNavBarButton;
  if (!button) return false;
  button->SetText(text);
  button->SetState(m_currentState);
  button->SetAltText(LoadAppString(32933, kDefaultAltText));
  button->SetURL(LoadAppString(33275, kDefaultURL), false);
  try {
    m_buttons.insert(m_buttons.begin() + position, button);
  } catch (const std::bad_alloc&) {
    delete button;
    return false;
  }
  return true;
}

bool CNavBar::DeleteButton(int index) {
  CNavBarButton* button = GetButton(index);
  if (!button) return false;
  m_buttons.erase(m_buttons.begin() + index);
  delete button;
  return true;
}

bool CNavBar::MoveButton(int from, int to) {
  if (!GetButton(from) || !GetButton(to)) return false;
  if (from == to) return true;
  CNavBarButton* button = m_buttons[static_cast<std::size_t>(from)];
  m_buttons.erase(m_buttons.begin() + from);
  m_buttons.insert(m_buttons.begin() + to, button);
  return true;
}

int CNavBar::IndexOfButton(const CNavBarItem* item) const {
  for (std::size_t i = 0; i < m_buttons.size(); ++i)
    if (m_buttons[i] == item) return static_cast<int>(i);
  return -1;
}

CString CNavBar::GetButtonText(int index) const {
  const CNavBarButton* button = GetButton(index);
  return button ? button->GetText() : CString();
}

void CNavBar::SetButtonText(int index, const CString& text) {
  if (CNavBarButton* button = GetButton(index)) button->SetText(text);
}

int CNavBar::SetButtons(const std::vector<CString>& texts, const std::vector<CString>& links,
                        const std::vector<CString>& altTexts, const std::vector<CString>& targets) {
  const std::size_t count = texts.size();
  if (links.size() != count || altTexts.size() != count || targets.size() != count) {
    InternalError(843);
    return 0;
  }
  if (count == 0) {
    InternalError(839);
    return 0;
  }
  while (m_buttons.size() > count) {
    delete m_buttons.back();
    m_buttons.pop_back();
  }
  while (m_buttons.size() < count) {
    CNavBarButton* button = new (std::nothrow) CNavBarButton;
    if (!button) {
      InternalError(861);
      return 0;
    }
    try {
      m_buttons.push_back(button);
    } catch (const std::bad_alloc&) {
      delete button;
      InternalError(861);
      return 0;
    }
  }
  for (std::size_t j = 0; j < count; ++j) {
    CNavBarButton* button = m_buttons[j];
    button->SetState(m_currentState);
    button->SetText(texts[j]);
    button->SetURL(links[j], false);
    button->SetAltText(altTexts[j]);
    button->SetTarget(targets[j]);
    AddURLChoice(links[j]);
  }
  return 1;
}

bool CNavBar::HasMenus() {
  m_hasMenus = 0;
  for (const CNavBarButton* button : m_buttons)
    if (button->GetChildCount() > 0) m_hasMenus = 1;
  return m_hasMenus != 0;
}

void CNavBar::ClearMenus() {
  for (CNavBarButton* button : m_buttons)
    while (button->GetChildCount() > 0) button->RemoveChild(button->GetChild(0), true);
}

void CNavBar::DropAllImages() {
  for (CNavBarButton* button : m_buttons) button->DropImages();
}

// ---- States --------------------------------------------------------------------------------

int CNavBar::IsStateEnabled(int state) const {
  if (state < 0 || state >= CNavBarItem::kStateCount) return 0;
  return m_stateEnabled[state];
}

void CNavBar::SetStateEnabled(int state, int enabled) {
  if (state < 0 || state >= CNavBarItem::kStateCount) return;
  m_stateEnabled[state] = enabled;
}

COptions* CNavBar::GetStateRecord(int state) const {
  if (state < 0 || state >= CNavBarItem::kStateCount) return nullptr;
  return m_states[state].get();
}

int CNavBar::SetCurrentState(int state, int remember, int swap) {
  if (state < 0 || state >= CNavBarItem::kStateCount) return m_currentState;
  const bool changes = state != m_currentState || (remember && state != m_lastRememberedState) ||
                       (swap && state != m_lastSwappedState);
  if (!changes) return m_currentState;
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic) {
    InternalError(1602);
    return m_currentState;
  }
  if (swap) graphic->CopyTo(*m_states[m_currentState], 0, kNavBarStateMask);
  m_currentState = state;
  if (remember) m_lastRememberedState = state;
  if (swap) m_lastSwappedState = state;
  for (CNavBarButton* button : m_buttons) button->SetState(state);
  if (m_firstCap) m_firstCap->SetState(state);
  if (m_secondCap) m_secondCap->SetState(state);
  m_switchingState = 1;
  if (swap) m_states[state]->CopyTo(*graphic, remember ? 3 : 0, kNavBarStateMask);
  m_switchingState = 0;
  return m_currentState;
}

// ---- Layout settings -----------------------------------------------------------------------

void CNavBar::SetButtonSpacing(int pixels) {
  if (pixels < 0) pixels = 0;
  if (pixels > kMaxButtonSpacing) pixels = kMaxButtonSpacing;
  m_buttonSpacing = pixels;
}

void CNavBar::DropMultiTextureImages() {
  for (int state = 0; state < CNavBarItem::kStateCount; ++state) {
    const COptions& record = *m_states[state];
    if (record.GetGraphicType() == kGraphic3DHeading || record.GetNumberOfTextures() < 2) continue;
    for (CNavBarButton* button : m_buttons) button->SetImageValid(state, false);
  }
}

void CNavBar::SetJustification(int justification) {
  if (justification == m_justification) return;
  if (justification >= 0 && justification <= 2) m_justification = justification;
  // Multi-texture buttons place their texture by the justification.
  DropMultiTextureImages();
}

void CNavBar::SetSizingMode(int mode) {
  if (mode == m_sizingMode || mode < 0) return;
  if (mode == 0 || mode == 1) {
    m_sizingMode = mode;
    DropAllImages();
  } else if (mode == 2) {
    m_sizingMode = mode;
    const COptions* graphic = GetNavBarServices().GetCurrentOptions();
    const double width = graphic ? graphic->GetConstrainedWidth(-1) : 0;
    for (CNavBarButton* button : m_buttons)
      if (width <= 0 || button->Width() != static_cast<int>(width)) button->DropImages();
  }
}

// ---- Names and links -----------------------------------------------------------------------

CString CNavBar::GetButtonURL(int index, bool forceDefault) const {
  const CNavBarButton* button = GetButton(index);
  const CString link = (!button || forceDefault) ? CString(kDefaultURL) : button->GetURL();
  if (link != kDefaultURL) return link;
  for (const CNavBarButton* each : m_buttons)
    if (each->GetChildCount() > 0) return CString();
  CString name = m_name;
  if (name.IsEmpty())
    name = "page";
  else
    MakeScriptIdentifier(name);
  CString page;
  if (index == 0)
    page.Format("%s.html", static_cast<LPCTSTR>(name));
  else if (GetButtonCount() < 10)
    page.Format("%s%d.html", static_cast<LPCTSTR>(name), index + 1);
  else
    page.Format("%s%02d.html", static_cast<LPCTSTR>(name), index + 1);
  return page;
}

bool CNavBar::IsLocalPageLink(int index) const {
  const CString link = GetButtonURL(index, false);
  if (link.IsEmpty()) return false;
  if (link.Left(11).CompareNoCase("javascript:") == 0) return false;
  return !CFileUtils::IsURL(link);
}

CString CNavBar::ResolveLink(const CString& folder, const CString& link) {
  if (CFileUtils::IsAbsolutePath(link)) {
    const CString root = CFileUtils::GetDriveRoot(folder);
    if (root.IsEmpty()) return link;
    return CFileUtils::AddDriveLetter(link, root[0]);
  }
  return CFileUtils::CollapseDotDot(CFileUtils::WithBackslash(folder) + link);
}

bool CNavBar::HasLinkFileName(int index) const {
  const CString link = GetButtonURL(index, false);
  return !link.Mid(link.ReverseFind('\\') + 1).IsEmpty();
}

bool CNavBar::AddURLChoice(const CString& link) {
  if (link.IsEmpty() || link.CompareNoCase(kDefaultURL) == 0) return false;
  for (const CString& choice : m_linkChoices)
    if (choice.CompareNoCase(link) == 0) return true;
  m_linkChoices.push_back(link);
  return true;
}

int CNavBar::GetURLChoices(const CNavBarItem* item, std::vector<CString>& list) const {
  list.clear();
  bool menus = false;
  for (const CNavBarButton* button : m_buttons)
    if (button->GetChildCount() > 0) menus = true;
  if (item && item->GetKind() == 1 && !menus) list.push_back(kDefaultURL);
  for (const CString& choice : m_linkChoices) list.push_back(choice);
  list.push_back(LoadAppString(33188, "(Browse To File)"));
  return static_cast<int>(list.size());
}

// ---- Change notification -------------------------------------------------------------------

int CNavBar::PropagateColours(const COptions* source, COptions* target, int* unchanged) {
  if (!source || !target) return 0;
  for (unsigned i = 0; i < source->GetColourCount(); ++i) {
    const CString styleName = source->GetColourStyleName(static_cast<int>(i));
    if (styleName.IsEmpty()) continue;
    for (unsigned j = 0; j < target->GetColourCount(); ++j) {
      if (target->GetColourStyleName(static_cast<int>(j)).CompareNoCase(styleName) != 0) continue;
      target->SetColourNameShown(static_cast<int>(j), source->IsColourNameShown(static_cast<int>(i)));
      const COLORREF value = source->GetColourValue(static_cast<int>(i));
      if (target->GetColourValue(static_cast<int>(j)) != value) {
        target->SetColourValue(value, static_cast<int>(j));
        if (unchanged) *unchanged = 0;
      }
    }
  }
  return 1;
}

void CNavBar::OnGraphicChanged(DWORD changeFlags, DWORD originFlags) {
  if (m_rendering || m_switchingState || changeFlags == 0 || (originFlags & 0x84)) return;
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic || graphic->GetRenderQuality() == 4) return;

  bool rebuild = false;
  if ((changeFlags & kChangeColours) && m_stateTemplateCount > 1 && m_colourSpreadingArmed) {
    int unchanged = 1;
    for (auto& record : m_states) PropagateColours(graphic, record.get(), &unchanged);
    if (!unchanged) rebuild = true;
    if (HasCaps()) {
      int capsUnchanged = 1;
      PropagateColours(graphic, &m_firstCap->GetRecord(), &capsUnchanged);
      PropagateColours(graphic, &m_secondCap->GetRecord(), &capsUnchanged);
      if (!capsUnchanged) {
        m_firstCap->DropImages();
        m_secondCap->DropImages();
      }
    }
  }
  m_colourSpreadingArmed = 1;

  if ((changeFlags & kChangeBackgroundColour) && (changeFlags & kChangeColours)) {
    for (int i = 0; i < CNavBarItem::kStateCount; ++i)
      if (i != m_currentState) m_states[i]->SetBackgroundColour(graphic->GetBackgroundColour());
  } else if (changeFlags & kChangeTextures) {
    for (auto& record : m_states) graphic->CopyTo(*record, 0, kChangeTextures);
    rebuild = true;
  }

  if (!(originFlags & 2) || (changeFlags & kChangeSize)) {
    for (int i = 0; i < CNavBarItem::kStateCount; ++i) {
      if (i == m_currentState) continue;
      if (changeFlags & kChangeFonts) graphic->CopyTo(*m_states[i], 0, kChangeFonts);
      if (changeFlags & kChangeSize) graphic->CopyTo(*m_states[i], 0, kChangeSize);
      // The bevel light angle stays per state.
      if (changeFlags & kChangeBevelAnd3D) graphic->CopyTo(*m_states[i], 0, 0x370000);
    }
    if (changeFlags & (kChangeFonts | kChangeSize | kChangeBevelAnd3D)) {
      if (m_renderer) m_renderer->Reset();
      rebuild = true;
    }
    if (changeFlags & kChangeStories) rebuild = true;
    for (CNavBarButton* button : m_buttons) {
      if (rebuild)
        button->DropImages();
      else
        button->SetImageValid(m_currentState, false);
    }
  }
  if (HasCaps()) {
    m_firstCap->OnGraphicChanged(changeFlags);
    m_secondCap->OnGraphicChanged(changeFlags);
  }
}

int CNavBar::Render(bool redraw, int flags) {
  if (m_rendering || !m_renderer) return 1;
  m_rendering = 1;
  const int result = m_renderer->RenderBar(redraw, flags);
  m_rendering = 0;
  return result;
}

bool CNavBar::IsOverSameAsSelected(int index, bool recompute) {
  CNavBarButton* button = GetButton(index);
  if (!IsStateEnabled(1) || !IsStateEnabled(3) || !button) return false;
  if (!recompute && button->GetStateComparison() != 0) return button->GetStateComparison() == 1;
  const int previous = m_currentState;
  int answer = 2;
  try {
    SetCurrentState(1, 1, 1);
    button->RenderState(0);
    const int overWidth = button->Width();
    const int overHeight = button->Height();
    std::vector<std::uint32_t> over;
    if (button->Pixels())
      over.assign(button->Pixels(),
                  button->Pixels() + static_cast<std::size_t>(overWidth) * static_cast<std::size_t>(overHeight));
    SetCurrentState(3, 1, 1);
    button->RenderState(0);
    if (button->Pixels() && !over.empty() && button->Width() == overWidth && button->Height() == overHeight &&
        std::equal(over.begin(), over.end(), button->Pixels()))
      answer = 1;
  } catch (const std::bad_alloc&) {
    answer = 2;
  }
  button->SetStateComparison(answer);
  SetCurrentState(previous, 1, 1);
  return answer == 1;
}

void CNavBar::ResetStateComparisons() {
  for (CNavBarButton* button : m_buttons) button->SetStateComparison(0);
}

// ---- Texture continuity --------------------------------------------------------------------

CString CNavBar::ComputeTextureMatrix(const CString& matrix, const CNavBarItem* item) const {
  CString suffix = "A 1.0 B 0.0 C 0.0 D 1.0 E 0 F 0";
  if (matrix.IsEmpty() || !item) return suffix;
  const COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic) {
    InternalError(2834);
    return suffix;
  }
  const int fractal = matrix.Find("#:Fractal");
  if (fractal > 0) suffix = matrix.Mid(fractal);

  double a = 1, b = 0, c = 0, d = 1;
  int e = 0, f = 0;
  const int start = matrix.Find('A');
  if (start >= 0)
    std::sscanf(static_cast<LPCTSTR>(matrix) + start, "A %lf B %lf C %lf D %lf E %d F %d", &a, &b, &c, &d, &e, &f);

  const double w = graphic->GetBaseWidth();
  const double h = graphic->GetBaseHeight();
  const int k = graphic->GetTextAllignment(0);
  const double pageWidth = m_states[0]->GetPageWidth();
  const int s = k == 1 ? kHalfEngineUnits : kEngineUnits;
  const auto units = [](double value) { return static_cast<int>(value); };
  int x = 0;
  int y = 0;
  const bool vertical = IsVertical();
  const int count = GetButtonCount();

  if (item == m_firstCap) {
    if (vertical && count > 0)
      y = units(m_buttons[0]->GetDesignHeight() * kEngineUnits);
    else if (!vertical && k != 0)
      x = units(pageWidth * s);
  } else {
    bool found = k == 0 && count > 0 && item == m_buttons[0];
    int widestWidth = 0;
    const int widest = GetWidestTextButton(widestWidth);
    for (int i = k == 0 ? 1 : 0; i < count && !found; ++i) {
      const CNavBarButton* button = m_buttons[static_cast<std::size_t>(i)];
      found = item == button;
      if (vertical) {
        y += units((found ? h : button->GetDesignHeight()) * kEngineUnits);
        if (m_sizingMode != 0 && found && m_justification != 0 && widest >= 0)
          x += units((m_buttons[static_cast<std::size_t>(widest)]->GetDesignWidth() - w) * kHalfEngineUnits);
      } else if (k == 0) {
        x += units(m_buttons[static_cast<std::size_t>(i - 1)]->GetDesignWidth() * s);
      } else if (found) {
        x += units(w * s);
      } else {
        x += units(button->GetDesignWidth() * kEngineUnits);
      }
    }
    if (item == m_secondCap && item && !vertical && count > 0) {
      if (k == 0)
        x += units((m_buttons.back()->GetDesignWidth() - pageWidth) * s);
      else if (k == 1)
        x -= units(pageWidth * s);
    }
  }
  CString result;
  result.Format("Matrix A %lf B %lf C %lf D %lf E %d F %d X %d", a, b, c, d, e - x, f + y, 1);
  return result + suffix;
}

int CNavBar::ToggleNavBarMode() {
  CNavBarServices& services = GetNavBarServices();
  SetNavBarMode(!services.IsNavBarMode());
  return services.IsNavBarMode() ? 1 : 0;
}
