// CPropertiesMenu: the style-properties popup of an editing page's style tile. For the panel of
// that page it lists the values a chosen style file holds for what the panel edits (the colours
// for the colour editors, width and height for the size panel...); choosing one sends the panel
// its command (kFirstPropertyCommand + entry index), and the panel copies the value into the
// current graphic. Entry 0 always is "C&reate Style": the current graphic becomes the listed
// style. One instance lives for the whole run; the popup is built anew on every show.
#pragma once

#include "framework/win/Afxwin.h"

#include <vector>

// Entry kinds: what an entry's value is, for the panel that receives its command.
enum PropertyEntryKind {
    kPropertyNone = 0,
    kPropertyCreateStyle = 1,
    kPropertyFont = 2,
    kPropertyText = 3,
    kPropertyShadowColour = 4,
    kPropertyHeight = 5,
    kPropertyWidth = 6,
    kPropertyNoStyle = 7,
    kPropertyCurrentStyle = 8,
    kPropertyTexture1 = 9,
    kPropertyTexture2 = 10,
    kPropertyTexture3 = 11,
    kPropertyColour = 12,
    kPropertyPointSize = 17,
    kPropertyAspect = 18,
    kPropertyLetterSpace = 20,
    kPropertyNudgeX = 22,
    kPropertyNudgeY = 23,
};

class CPropertiesMenu : public CObject {
public:
    static const UINT kFirstPropertyCommand = 2800;

    CPropertiesMenu();
    ~CPropertiesMenu() override;

    // The style file whose values are listed; empty: none chosen.
    void SetStyleFile(const CString& path) { m_styleFile = path; }
    CString GetStyleFile() const { return m_styleFile; }

    // Builds the entries for the panel and tracks the popup right-aligned at x, opening above
    // y (screen coordinates); a chosen entry is sent to the panel as its command. True when
    // an entry was chosen.
    bool Show(int x, int y, CWnd* panel);
    // Throws the previous popup away and builds the entries for a panel's run-time class name.
    void Build(const CString& panelClass);
    // The kind of an entry's command; 0 outside the entries that have one.
    int GetEntryKind(UINT id) const;
    // Appends an entry (a separator for empty text) with command kFirstPropertyCommand + index;
    // answers the index.
    int AddEntry(const CString& text, int kind);
    // Greys every entry from position 2 on.
    void DisableFromEntry2();

    int GetEntryCount() const { return (int)m_texts.size(); }
    CString GetEntryText(int index) const { return m_texts[index]; }
    CString GetPanelClass() const { return m_panelClass; }
    HMENU GetMenu() const { return m_menu.GetSafeHmenu(); }

private:
    void AddColourEntries(FILE* file);
    void AddTextureEntries(FILE* file);
    void AddSizeEntries(FILE* file);
    void AddTextEntries(FILE* file, bool advanced);

    CString m_styleFile;
    CString m_panelClass;
    CMenu m_menu;
    std::vector<CString> m_texts;
    std::vector<int> m_kinds;
};
