// CNavBar: the document of a navigation bar. An ordered row or column of buttons, an optional
// pair of end caps, a tree of drop-down menu items under each button, four button states
// (0 Off, 1 Over, 2 Clicked, 3 Selected) each with its own style record, the bar's layout
// settings, its drop-down menu settings and the links the user has typed.
//
// While the operations manager edits a bar, the current graphic holds the style of the state
// being edited; every edit reaches the bar through OnGraphicChanged, and every switch of state
// copies the style between the current graphic and the state records by change group.
//
// The bar is stored in the style files of its states: the HTML string (name, layout word and
// button list), one menu record per menu item and the menu settings string, all separated by
// the byte 0xB6.
#pragma once

#include <memory>
#include <vector>

#include "document/Options.h"
#include "framework/core/CObject.h"
#include "framework/core/CString.h"
#include "framework/core/CTime.h"
#include "framework/core/WinTypes.h"
#include "navbar/NavBarButton.h"

class CMenuRenderWnd;
class CNavBarBitmap32;
class CNavBarRenderer;
class CNavBarItem;

// The separator of the bar's strings (a pilcrow in the Windows Latin-1 code page).
constexpr char kNavBarSeparator = static_cast<char>(0xB6);

// Every group but shadow, replacement colour and button state, export, and navigation-bar
// data: those four are shared by all states and stay as the current graphic has them.
constexpr StyleChangeMask kNavBarStateMask = 0xFFFFAF6F;

// The number of values in the menu settings string.
constexpr int kMenuSettingCount = 15;
// Menu record keys honour at most this many levels; deeper parts land on the last level.
constexpr int kMaxMenuLevels = 8;

// Graphic types that can become the buttons of a bar: 0, 3 and 7.
bool CanBeNavBarButton(int graphicType);
// The file exists (a file another process holds open counts as existing).
bool FileExists(const CString& path);
// The base path of a bar's state or cap style file: the path without extension and without
// one trailing suffix "_off", "_over", "_on", "_clicked", "_top", "_bottom", "_left" or
// "_right" (letter case counts), or else one trailing "#1".."#4"; empty when none matched.
CString StripNavBarSuffix(const CString& path);
// The bar name an exported image file name ("base_b12_over.gif") carries; empty for others.
CString GetNavBarBaseName(const CString& imageFileName);
// Deletes the bar's state and cap style files that exist for base.
void DeleteNavBarStyleFiles(const CString& base);
// The pointer over the preview of the manager's bar (point in bar coordinates from the top-left,
// the same point on the screen, mouse flags); a point with both coordinates negative means it
// left the preview and clears the hover. Nothing happens outside navigation-bar mode.
void OnNavBarPreviewMouse(POINT point, POINT screen, int flags);

class CNavBar : public CObject {
 public:
  CNavBar();
  ~CNavBar() override;
  CNavBar(const CNavBar&) = delete;
  CNavBar& operator=(const CNavBar&) = delete;

  // Creates the renderer and the four default buttons; 0 when the renderer is missing.
  int CreateDefaultButtons();
  int CopyFrom(CNavBar* source);

  // Buttons and caps.
  int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
  CNavBarButton* GetButton(int index) const;
  bool InsertButton(int position, const CString& text);
  bool DeleteButton(int index);
  bool MoveButton(int from, int to);
  int IndexOfButton(const CNavBarItem* item) const;
  CString GetButtonText(int index) const;
  void SetButtonText(int index, const CString& text);
  int SetButtons(const std::vector<CString>& texts, const std::vector<CString>& links,
                 const std::vector<CString>& altTexts, const std::vector<CString>& targets);
  bool HasMenus();
  void ClearMenus();
  bool HasCaps() const { return m_firstCap && m_secondCap; }
  CNavBarCapButton* GetFirstCap() const { return m_firstCap; }
  CNavBarCapButton* GetSecondCap() const { return m_secondCap; }
  void DeleteCaps();

  // States.
  int IsStateEnabled(int state) const;
  void SetStateEnabled(int state, int enabled);
  int GetCurrentState() const { return m_currentState; }
  int SetCurrentState(int state, int remember, int swap);
  COptions* GetStateRecord(int state) const;

  // Layout settings.
  void SetButtonSpacing(int pixels);
  int GetButtonSpacing() const { return m_buttonSpacing; }
  void SetJustification(int justification);
  int GetJustification() const { return m_justification; }
  void SetSizingMode(int mode);
  int GetSizingMode() const { return m_sizingMode; }
  bool IsVertical() const { return m_vertical != 0; }
  void SetVertical(bool vertical) { m_vertical = vertical ? 1 : 0; }
  int GetBarWidth() const { return m_barWidth; }
  int GetBarHeight() const { return m_barHeight; }
  void SetBarSize(int width, int height) {
    m_barWidth = width;
    m_barHeight = height;
  }
  int GetHoverButton() const { return m_hoverButton; }
  int GetHoverKind() const { return m_hoverKind; }
  void SetHover(int index, int kind) {
    m_hoverButton = index;
    m_hoverKind = kind;
  }
  // The pointer over the preview: the hovered button (-1 none) and the kind of hover (1 the
  // pointer is over it, 3 a mouse button is held down: the Selected state). Other values are
  // ignored; a change redraws the bar, through the hover display over the exported bar when
  // the current window manager follows the pointer leaving it, else by a render.
  void SetHoverButton(int index, int kind);
  // Hovers the button under point (bar coordinates from the top-left); a mouse button held (low
  // byte of flags) hovers with kind 3. The current graphic keeps its current colour and is
  // marked modified. Answers that colour index.
  unsigned TrackMouse(POINT point, POINT screen, int flags);
  // The drop-down menu preview of a button, opened at the button's rectangle on the screen as
  // the menu direction says (0 below it, 1 beside it, 2 to its left); any open one is closed
  // first and index -1 only closes. 0 when nothing opened (no menus, no menu items).
  int ShowMenuPreview(int index, const RECT& buttonRect = RECT{0, 0, 0, 0});
  // Destroys the open preview; false when none was open.
  bool CloseMenuPreview();
  // Hides the open preview (the popups ask for it when the pointer leaves them and the program).
  void HideMenuPreview();
  CMenuRenderWnd* GetMenuPreview() const { return m_menuPreview; }
#ifdef _WIN32
  // Publishes the menu settings and builds the popups of a button's menu under parent; null when
  // the button does not exist or has no menu items.
  CMenuRenderWnd* BuildMenuPreview(int index, HWND parent);
  // One level: a popup with an entry per child of item (their own levels built first); false
  // when memory ran out, with nothing left built.
  bool BuildMenuLevel(HWND parent, const CNavBarItem* item, CMenuRenderWnd*& popup, bool useItemWidth,
                      bool dropDown);
#endif

  // Names and links.
  void SetName(const CString& name) { m_name = name; }
  CString GetName() const { return m_name; }
  CString GetImageFolder() const { return m_imageFolder; }
  void SetImageFolder(const CString& folder) { m_imageFolder = folder; }
  CString GetHTMLName() const { return m_htmlName; }
  void SetHTMLName(const CString& name) { m_htmlName = name; }
  CString GetButtonURL(int index, bool forceDefault) const;
  bool IsLocalPageLink(int index) const;
  static CString ResolveLink(const CString& folder, const CString& link);
  bool HasLinkFileName(int index) const;
  bool AddURLChoice(const CString& link);
  void ClearURLChoices() { m_linkChoices.clear(); }
  int GetURLChoices(const CNavBarItem* item, std::vector<CString>& list) const;

  // Change notification and rendering.
  void OnGraphicChanged(DWORD changeFlags, DWORD originFlags);
  static int PropagateColours(const COptions* source, COptions* target, int* unchanged);
  int Render(bool redraw, int flags);
  bool IsRendering() const { return m_rendering != 0; }
  bool IsSwitchingState() const { return m_switchingState != 0; }
  bool IsOverSameAsSelected(int index, bool recompute);
  void ResetStateComparisons();
  CNavBarRenderer* GetRenderer() const { return m_renderer; }
  // The matrix text that continues texture 1 from one item of the bar to the next.
  CString ComputeTextureMatrix(const CString& matrix, const CNavBarItem* item) const;
  // The index of the button whose text is widest (the first of equals); -1 and 0 without any.
  int GetWidestTextButton(int& width) const;
  // The button under point in bar coordinates: index -1 and an empty rectangle when none.
  void HitTest(POINT point, int& index, RECT& rect) const;
  POINT GetButtonOrigin(int index) const;

  // Single graphic and bar.
  int ToggleNavBarMode();
  void SetNavBarMode(bool on);
  int ConvertGraphicToNavBar();
  int ApplyGraphicToStates();
  int LoadFromSingleGraphic(const CString& stylePath, bool vertical);
  unsigned AskNavBarOrientation();
  bool HTMLRefersToBar(const CString& html) const;

  // The strings of the style file.
  int BuildHTMLString(const CString& name, CString* html) const;
  // The layout word of the HTML string (sizing, justification, enabled states, orientation,
  // spacing) and its inverse.
  unsigned BuildLayoutWord() const;
  void ApplyLayoutWord(unsigned word);
  int ParseButtonList(const CString& text, char separator);
  int WriteMenuRecords(std::vector<CString>* list) const;
  int WriteMenuItems(const CNavBarItem* item, const CString& key, std::vector<CString>* list) const;
  int ReadMenuRecords(std::vector<CString>* list);
  CString GetSettingsString() const;
  int SetSettingsString(const CString& text);
  void MarkSettingsUserSet(int flag);
  bool IsSettingUserSet(int index) const;
  void SetSettingUserSet(int index, bool set);
  void SetMenuFont(int index);
  CString GetMenuFontFamily() const;
  COLORREF GetMenuColour(int index) const;
  bool SetMenuColour(int index, COLORREF colour);
  bool AreMenuColoursUserSet() const { return m_menuColoursUserSet != 0; }
  void ResetMenuColours();
  int UpdateMenuColours();
  int ChooseMenuColours(int checkOnly);
  int TakeMenuFontFromGraphic();
  int GetMenuDirection() const { return m_menuDirection; }
  void SetMenuDirection(int direction) { m_menuDirection = direction; }
  int GetMenuAnimation() const { return m_menuAnimation; }
  void SetMenuAnimation(int milliseconds) { m_menuAnimation = milliseconds; }
  int GetMenuFontSize() const { return m_menuFontSize; }
  void SetMenuFontSize(int points) { m_menuFontSize = points; }
  int GetMenuFontIndex() const { return m_menuFontFamily; }
  int GetMenuTransparency() const { return m_menuTransparency; }
  void SetMenuTransparency(int percent) { m_menuTransparency = percent; }
  int GetMenuBorderWidth() const { return m_menuBorderWidth; }
  void SetMenuBorderWidth(int pixels) { m_menuBorderWidth = pixels; }
  bool IsMenuBold() const { return m_menuBold != 0; }
  void SetMenuBold(bool bold) { m_menuBold = bold ? 1 : 0; }
  bool IsMenuItalic() const { return m_menuItalic != 0; }
  void SetMenuItalic(bool italic) { m_menuItalic = italic ? 1 : 0; }
  int GetMenuItemSpacing() const { return m_menuItemSpacing; }
  void SetMenuItemSpacing(int pixels) { m_menuItemSpacing = pixels; }
  int GetReservedMenuSetting() const { return m_reservedMenuSetting; }

  // State files.
  int Save(const CString& path, const CTime* fileTime, bool makeThumbnail, bool setFileNames);
  bool SaveStateFile(COptions& record, const CString& html, const CString& path, const CTime* fileTime);
  CNavBarBitmap32* BuildThumbnail();
  int LoadFromTemplate(const CString& html, const CString& stylePath, std::vector<CString>* menuRecords,
                       const CString& settings, int coloursFromFile, int settingsOrigin);
  void SetParseButtons(bool parse) { m_parseButtons = parse ? 1 : 0; }
  bool GetParseButtons() const { return m_parseButtons != 0; }
  int GetStateTemplateCount() const { return m_stateTemplateCount; }
  bool IsColourSpreadingArmed() const { return m_colourSpreadingArmed != 0; }

 private:
  friend class CNavBarRenderer;
  void DropAllImages();
  void DropMultiTextureImages();

  int m_menuDirection = 1;
  int m_menuAnimation = 0;
  int m_menuFontSize = 10;
  int m_reservedMenuSetting = 0;
  int m_menuTransparency = 0;
  int m_menuBorderWidth = 0;
  int m_menuFontFamily = 0;
  COLORREF m_menuColours[5];
  int m_menuColoursUserSet = 0;
  int m_hasMenus = 0;
  std::vector<CString> m_linkChoices;
  int m_menuBold = 0;
  int m_menuItalic = 0;
  int m_menuItemSpacing = 2;
  int m_settingsUserSet[kMenuSettingCount] = {};
  int m_stateTemplateCount = 1;
  int m_colourSpreadingArmed = 1;
  CNavBarRenderer* m_renderer = nullptr;
  std::vector<CNavBarButton*> m_buttons;
  CNavBarCapButton* m_firstCap = nullptr;
  CNavBarCapButton* m_secondCap = nullptr;
  int m_buttonSpacing = 0;
  int m_justification = 1;
  int m_sizingMode = 0;
  int m_vertical = 1;
  std::unique_ptr<COptions> m_states[CNavBarItem::kStateCount];
  int m_currentState = 0;
  // The last state shown with the remember flag and the last one swapped into the current
  // graphic; 4 means none.
  int m_lastRememberedState = 4;
  int m_lastSwappedState = 4;
  int m_rendering = 0;
  int m_switchingState = 0;
  int m_stateEnabled[CNavBarItem::kStateCount] = {0, 0, 0, 0};
  CString m_htmlName;
  int m_barWidth = 0;
  int m_barHeight = 0;
  int m_hoverButton = -1;
  int m_hoverKind = 0;
  CMenuRenderWnd* m_menuPreview = nullptr;
  BYTE m_parseButtons = 0;
  CString m_name;
  CString m_imageFolder;
};
