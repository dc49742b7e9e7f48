// The navigation bar's strings in the style file: the HTML string with the button list, the
// menu records and the menu settings string; and the menu colours and font the bar derives
// from its graphic when the user has not chosen them.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <new>

#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr const char kUnit[] = "NavBar";
void InternalError(int line) { GetNavBarServices().SetInternalError(line, kUnit); }

constexpr COLORREF kDefaultMenuColours[5] = {0xAAAAAA, 0x000000, 0xAA0000, 0xFFFFFF, 0x000000};

// Layout word of the HTML string.
constexpr unsigned kSizingCodeMask = 0x7;
constexpr unsigned kSizingLongestText = 1;  // sizing mode 0
constexpr unsigned kSizingOwnText = 2;      // sizing mode 1
// Manual widths (mode 2). Readers take every code but 1 and 2 as manual widths, so this code
// brings mode 2 back where the code of mode 1 would lose it.
constexpr unsigned kSizingManual = 3;
constexpr unsigned kJustifyCentre = 8;
constexpr unsigned kJustifyRight = 16;
constexpr unsigned kJustifyLeft = 32;
constexpr unsigned kStateEnabledShift = 6;
constexpr unsigned kVerticalBit = 0x400;
constexpr unsigned kSpacingShift = 16;

// A menu record's item position beyond this is not a menu anyone built: such a record would
// only make the reader create that many placeholder items, so it is skipped.
constexpr long kMaxMenuItemPosition = 100;

// Indexes of the settings string.
enum {
  kSetDirection, kSetAnimation, kSetReserved, kSetFontSize, kSetFontFamily,
  kSetColour0, kSetColour1, kSetColour2, kSetColour3, kSetBold, kSetItalic,
  kSetItemSpacing, kSetTransparency, kSetBorder, kSetColour4,
};

struct CFamily {
  UINT id;
  const char* text;
};
constexpr CFamily kMenuFontFamilies[] = {
    {33169, "Arial, Helvetica, sans-serif"},
    {33170, "Times New Roman, Times, serif"},
    {33171, "Courier New, Courier, mono"},
    {33172, "Georgia, Times New Roman, Times, serif"},
    {33173, "Verdana, Arial, Helvetica, sans-serif"},
    {33174, "Tahoma, Verdana, Arial, sans-serif"},
    {33215, "Trebuchet MS, Arial, sans-serif"},
};
constexpr int kMenuFontFamilyCount = 7;

// Decimal integer conversion: leading blanks, a sign and digits; 0 when there are none.
// Values beyond 32 bits are held at the nearest end.
long ReadInteger(const CString& text) {
  long long value = std::strtoll(text, nullptr, 10);
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<long>(value);
}

int Clamp(long value, long low, long high) { return static_cast<int>(std::min(std::max(value, low), high)); }

// Splits text at every separator; the text after the last separator is one more token.
std::vector<CString> Split(const CString& text, char separator) {
  std::vector<CString> tokens;
  int start = 0;
  for (;;) {
    const int end = text.Find(separator, start);
    if (end < 0) {
      tokens.push_back(text.Mid(start));
      return tokens;
    }
    tokens.push_back(text.Mid(start, end - start));
    start = end + 1;
  }
}

int Red(COLORREF c) { return static_cast<int>(c & 0xFF); }
int Green(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
COLORREF Rgb(int r, int g, int b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}

}  // namespace

// ---- HTML string ---------------------------------------------------------------------------

unsigned CNavBar::BuildLayoutWord() const {
  unsigned word = m_sizingMode == 0 ? kSizingLongestText : m_sizingMode == 1 ? kSizingOwnText : kSizingManual;
  word |= m_justification == 1 ? kJustifyCentre : m_justification == 2 ? kJustifyRight : kJustifyLeft;
  for (int state = 0; state < CNavBarItem::kStateCount; ++state)
    if (m_stateEnabled[state]) word |= 1u << (kStateEnabledShift + state);
  if (m_vertical) word |= kVerticalBit;
  word += static_cast<unsigned>(m_buttonSpacing) << kSpacingShift;
  return word;
}

void CNavBar::ApplyLayoutWord(unsigned word) {
  const unsigned sizing = word & kSizingCodeMask;
  m_sizingMode = sizing == kSizingLongestText ? 0 : sizing == kSizingOwnText ? 1 : 2;
  const unsigned justify = word & 0x38;
  m_justification = justify == kJustifyCentre ? 1 : justify == kJustifyRight ? 2 : 0;
  for (int state = 0; state < CNavBarItem::kStateCount; ++state)
    m_stateEnabled[state] = (word >> (kStateEnabledShift + state)) & 1;
  m_vertical = (word & kVerticalBit) ? 1 : 0;
  // The spacing is held to its range like every other way of setting it.
  SetButtonSpacing(static_cast<int>(word >> kSpacingShift));
}

int CNavBar::BuildHTMLString(const CString& name, CString* html) const {
  if (!html) {
    InternalError(902);
    return 0;
  }
  const CString base = CFileUtils::RemoveExtension(name);
  if (base.IsEmpty()) {
    InternalError(905);
    return 0;
  }
  CString text;
  text.Format("%s%c%u", static_cast<LPCTSTR>(base), kNavBarSeparator, BuildLayoutWord());
  for (const CNavBarButton* button : m_buttons) {
    text += kNavBarSeparator;
    text += button->GetText();
    text += kNavBarSeparator;
    text += button->GetURL();
    text += kNavBarSeparator;
    text += button->GetAltText(false);
    text += kNavBarSeparator;
    text += button->GetTarget();
  }
  *html = text;
  return 1;
}

int CNavBar::ParseButtonList(const CString& list, char separator) {
  const COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic) return 0;
  CString text = list;
  if (text.IsEmpty() || text[text.GetLength() - 1] != separator) text += separator;
  const bool oldForm = separator != kNavBarSeparator;
  const bool defaultLinks = graphic->GetTemplateFlag() != 0 || std::fabs(graphic->GetVersion() - 2.1) < 1e-9;

  std::vector<CString> fields[4];
  int position = 0;
  while (position < text.GetLength()) {
    for (auto& field : fields) {
      CString token;
      const int end = position < text.GetLength() ? text.Find(separator, position) : -1;
      if (end < 0) {
        position = text.GetLength();
      } else {
        token = text.Mid(position, end - position);
        position = end + 1;
      }
      // The old form pads every field with one blank on each side.
      if (oldForm) token = token.GetLength() >= 2 ? token.Mid(1, token.GetLength() - 2) : CString();
      field.push_back(token);
    }
    if (fields[1].back().IsEmpty() && defaultLinks) fields[1].back() = kDefaultURL;
  }
  return SetButtons(fields[0], fields[1], fields[2], fields[3]);
}

bool CNavBar::HTMLRefersToBar(const CString& html) const {
  if (m_htmlName.IsEmpty()) return false;
  CString name = m_htmlName;
  CString text = html;
  return text.MakeLower().Find(name.MakeLower()) >= 0;
}

// ---- Menu records --------------------------------------------------------------------------

int CNavBar::WriteMenuRecords(std::vector<CString>* list) const {
  if (!list) return 0;
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    CString key;
    key.Format("B%d", static_cast<int>(i) + 1);
    WriteMenuItems(m_buttons[i], key, list);
  }
  return 1;
}

int CNavBar::WriteMenuItems(const CNavBarItem* item, const CString& key, std::vector<CString>* list) const {
  if (!list || !item) return 0;
  for (int j = 0; j < item->GetChildCount(); ++j) {
    const CNavBarMenuItem* child = item->GetChild(j);
    CString part;
    part.Format("_M%d", j + 1);
    CString record;
    record.Format("%s%s%c%s%c%s%c%s", static_cast<LPCTSTR>(key), static_cast<LPCTSTR>(part), kNavBarSeparator,
                  static_cast<LPCTSTR>(child->GetText()), kNavBarSeparator, static_cast<LPCTSTR>(child->GetURL()),
                  kNavBarSeparator, static_cast<LPCTSTR>(child->GetTarget()));
    list->push_back(record);
    if (child->GetChildCount() > 0) WriteMenuItems(child, key + part, list);
  }
  return 1;
}

int CNavBar::ReadMenuRecords(std::vector<CString>* list) {
  m_hasMenus = 0;
  if (!list) return 0;
  ClearMenus();
  m_hasMenus = list->empty() ? 0 : 1;
  while (!list->empty()) {
    const CString record = list->front();
    list->erase(list->begin());
    if (record.IsEmpty() || record[0] != 'B') {
      InternalError(3874);
      return 0;
    }
    const int keyEnd = record.Find(kNavBarSeparator);
    const CString key = keyEnd < 0 ? record : record.Left(keyEnd);
    const int firstLevel = key.Find("_M");
    const long buttonNumber = firstLevel < 0 ? 0 : ReadInteger(key.Mid(1, firstLevel - 1));
    CNavBarButton* button = GetButton(static_cast<int>(buttonNumber) - 1);
    if (buttonNumber <= 0 || !button) continue;

    std::vector<long> path;
    for (int at = firstLevel; at >= 0 && static_cast<int>(path.size()) < kMaxMenuLevels; at = key.Find("_M", at + 2))
      path.push_back(ReadInteger(key.Mid(at + 2)));
    if (std::any_of(path.begin(), path.end(), [](long index) { return index > kMaxMenuItemPosition; })) continue;

    CNavBarItem* item = button;
    for (long index : path) {
      if (index <= 0) {
        InternalError(3849);
        return 0;
      }
      while (item->GetChildCount() < index) {
        if (!item->AppendChild(nullptr)) {
          InternalError(3956);
          return 0;
        }
      }
      item = item->GetChild(static_cast<int>(index) - 1);
    }

    CString fields = keyEnd < 0 ? CString() : record.Mid(keyEnd + 1);
    const int textEnd = fields.Find(kNavBarSeparator);
    const CString text = textEnd < 0 ? fields : fields.Left(textEnd);
    fields = textEnd < 0 ? CString() : fields.Mid(textEnd + 1);
    const int linkEnd = fields.Find(kNavBarSeparator);
    const CString link = linkEnd < 0 ? fields : fields.Left(linkEnd);
    const CString target = linkEnd < 0 ? CString() : fields.Mid(linkEnd + 1);
    item->SetText(text);
    item->SetURL(link, false);
    AddURLChoice(link);
    item->SetTarget(target);
  }
  return 1;
}

// ---- Menu settings -------------------------------------------------------------------------

CString CNavBar::GetSettingsString() const {
  const long values[kMenuSettingCount] = {
      m_menuDirection, m_menuAnimation, m_reservedMenuSetting, m_menuFontSize, m_menuFontFamily,
      static_cast<long>(m_menuColours[0]), static_cast<long>(m_menuColours[1]),
      static_cast<long>(m_menuColours[2]), static_cast<long>(m_menuColours[3]), m_menuBold, m_menuItalic,
      m_menuItemSpacing, m_menuTransparency, m_menuBorderWidth, static_cast<long>(m_menuColours[4])};
  CString text;
  for (int i = 0; i < kMenuSettingCount; ++i) {
    if (i > 0) text += kNavBarSeparator;
    CString value;
    value.Format("%ld", values[i]);
    text += value;
  }
  return text;
}

int CNavBar::SetSettingsString(const CString& text) {
  m_menuDirection = m_vertical ? 1 : 0;
  m_menuAnimation = 0;
  m_reservedMenuSetting = 0;
  m_menuFontSize = 10;
  m_menuFontFamily = 0;
  m_menuItemSpacing = 0;
  m_menuTransparency = 0;
  m_menuBorderWidth = 0;
  m_menuColoursUserSet = 0;
  if (text.IsEmpty()) return 1;
  const std::vector<CString> tokens = Split(text, kNavBarSeparator);
  const int count = static_cast<int>(tokens.size());
  if (count < 8) return 1;
  const auto value = [&](int index) { return index < count ? ReadInteger(tokens[static_cast<std::size_t>(index)]) : 0L; };
  const auto colour = [&](int index) { return static_cast<COLORREF>(Clamp(value(index), 0, 0xFFFFFF)); };
  // Values from a file are held to the ranges the editor offers, so that no page gets a
  // negative font size or a border a hundred pixels wide.
  m_menuDirection = Clamp(value(kSetDirection), 0, 2);
  m_menuAnimation = Clamp(value(kSetAnimation), 0, 300);
  m_reservedMenuSetting = static_cast<int>(value(kSetReserved));
  m_menuFontSize = Clamp(value(kSetFontSize), 4, 48);
  m_menuFontFamily = Clamp(value(kSetFontFamily), 0, kMenuFontFamilyCount - 1);
  for (int i = 0; i < 4; ++i) m_menuColours[i] = colour(kSetColour0 + i);
  if (count > kSetBold) m_menuBold = value(kSetBold) ? 1 : 0;
  if (count > kSetItalic) m_menuItalic = value(kSetItalic) ? 1 : 0;
  if (count > kSetItemSpacing) m_menuItemSpacing = Clamp(value(kSetItemSpacing), 0, 50);
  if (count > kSetTransparency) m_menuTransparency = Clamp(value(kSetTransparency), 0, 100);
  if (count > kSetBorder) m_menuBorderWidth = Clamp(value(kSetBorder), 0, 5);
  if (count > kSetColour4) m_menuColours[4] = colour(kSetColour4);
  return 1;
}

void CNavBar::MarkSettingsUserSet(int flag) {
  for (int& set : m_settingsUserSet) set = flag ? 0 : 1;
  m_menuColoursUserSet = 0;
}

bool CNavBar::IsSettingUserSet(int index) const {
  return index >= 0 && index < kMenuSettingCount && m_settingsUserSet[index] != 0;
}

void CNavBar::SetSettingUserSet(int index, bool set) {
  if (index >= 0 && index < kMenuSettingCount) m_settingsUserSet[index] = set ? 1 : 0;
}

void CNavBar::SetMenuFont(int index) {
  m_menuFontFamily = index;
  m_settingsUserSet[kSetFontFamily] = 1;
}

CString CNavBar::GetMenuFontFamily() const {
  const int index = m_menuFontFamily >= 0 && m_menuFontFamily < kMenuFontFamilyCount ? m_menuFontFamily : 0;
  return LoadAppString(kMenuFontFamilies[index].id, kMenuFontFamilies[index].text);
}

COLORREF CNavBar::GetMenuColour(int index) const {
  if (index < 0 || index > 4) return 0xFFFFFF;
  return m_menuColours[index];
}

bool CNavBar::SetMenuColour(int index, COLORREF colour) {
  if (index < 0 || index > 4) return false;
  m_menuColours[index] = colour;
  m_menuColoursUserSet = 1;
  return true;
}

void CNavBar::ResetMenuColours() {
  for (int i = 0; i < 5; ++i) m_menuColours[i] = kDefaultMenuColours[i];
}

int CNavBar::UpdateMenuColours() {
  if (m_menuColoursUserSet || m_rendering) return 1;
  return ChooseMenuColours(0);
}

int CNavBar::ChooseMenuColours(int checkOnly) {
  if (m_rendering) return 1;
  COLORREF work[5] = {0, m_menuColours[1], 0, m_menuColours[3], m_menuColours[4]};

  std::vector<COLORREF> candidates;
  const int previous = m_currentState;
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  for (int state = 0; state < CNavBarItem::kStateCount && graphic && candidates.size() < 5; ++state) {
    SetCurrentState(state, 0, 1);
    for (unsigned i = 0; i < graphic->GetColourCount() && candidates.size() < 5; ++i) {
      const int kind = graphic->GetColourKind(static_cast<int>(i));
      const COLORREF value = graphic->GetColourValue(static_cast<int>(i));
      if (kind == 1 || kind == 2 || value == 0 || value >= 0xFFFFFF) continue;
      if (std::find(candidates.begin(), candidates.end(), value) != candidates.end()) continue;
      candidates.push_back(value);
    }
  }
  if (graphic) SetCurrentState(previous, 0, 1);

  bool haveMenu = false, haveHighlight = false, haveFallback = false;
  COLORREF menu = 0, highlight = 0, fallback = 0;
  int fallbackSum = -1;
  for (COLORREF c : candidates) {
    const int r = Red(c), g = Green(c), b = Blue(c);
    const int sum = r + g + b;
    const int spread = std::max({r, g, b}) - std::min({r, g, b});
    if (sum < 200 && spread < 90) {
      if (sum > fallbackSum) {
        fallbackSum = sum;
        fallback = c;
        haveFallback = true;
      }
    } else if (sum < 704) {
      if (!haveMenu) {
        menu = c;
        haveMenu = true;
      } else if (!haveHighlight) {
        highlight = c;
        haveHighlight = true;
      }
    }
  }
  bool derived = false;
  if (!haveMenu) {
    menu = highlight = haveFallback ? fallback : 0;
    derived = true;
  } else if (!haveHighlight) {
    highlight = haveFallback ? fallback : menu;
    derived = true;
  }

  const int channels[3] = {Red(menu), Green(menu), Blue(menu)};
  if (derived) {
    // The made-up highlight is a lighter or darker version of itself, away from the menu
    // background; the darker of the two is always the menu background.
    int v = 0;
    for (int c : channels) v += c < 128 ? 1 : -1;
    const int r = Red(highlight), g = Green(highlight), b = Blue(highlight);
    if (v > 0) {
      highlight = Rgb(r + (255 - r) / 2, g + (255 - g) / 2, b + (255 - b) / 2);
    } else if (v < 0) {
      highlight = Rgb(r - r / 2, g - g / 2, b - b / 2);
      std::swap(menu, highlight);
    }
  } else {
    const int other[3] = {Red(highlight), Green(highlight), Blue(highlight)};
    int v = 0;
    for (int i = 0; i < 3; ++i) v += channels[i] > other[i] ? 1 : -1;
    if (v > 0) std::swap(menu, highlight);
  }
  const auto textOn = [](COLORREF background) {
    int v = 0;
    for (int c : {Red(background), Green(background), Blue(background)}) v += c < 136 ? 1 : -1;
    return v > 0 ? COLORREF(0xFFFFFF) : COLORREF(0x000000);
  };
  work[0] = menu;
  work[2] = highlight;
  work[1] = textOn(menu);
  work[3] = textOn(highlight);
  work[4] = work[3];

  if (!checkOnly) {
    for (int i = 0; i < 5; ++i) m_menuColours[i] = work[i];
  } else {
    for (int i = 0; i < 5; ++i)
      if (work[i] != m_menuColours[i]) m_menuColoursUserSet = 1;
  }
  return 1;
}

int CNavBar::TakeMenuFontFromGraphic() {
  if (m_rendering) return 1;
  const COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic) return 0;
  const int size = static_cast<int>(graphic->GetFontSize(0));
  const CString face = graphic->GetFont(0);
  bool serif = false, bold = false, italic = false;
  bool found = true;
  if (face.CompareNoCase("arial black") == 0)
    bold = true;
  else
    found = GetNavBarServices().LookupFontFamily(face, serif, bold, italic);
  // A face that is not installed says nothing about the menu font: the settings stay.
  if (!found) return 1;
  if (!m_settingsUserSet[kSetFontSize]) m_menuFontSize = size;
  if (!m_settingsUserSet[kSetBold]) m_menuBold = bold ? 1 : 0;
  if (!m_settingsUserSet[kSetItalic]) m_menuItalic = italic ? 1 : 0;
  if (!m_settingsUserSet[kSetFontFamily]) m_menuFontFamily = serif ? 1 : 0;
  return 1;
}
