// The font list of the text panels: an owner-drawn list box (LBS_OWNERDRAWFIXED and LBS_NOTIFY,
// no LBS_HASSTRINGS, no LBS_SORT) that shows each installed font's name in the font itself and
// jumps to a name by its first letter or digit. Rows point into the application's font list,
// so the list box is filled again whenever that list is rebuilt.
#pragma once

#include "editors/FontList.h"
#include "framework/win/ListBox.h"

// What a font list box tells its owner: the row the user chose.
class CFontListOwner {
public:
    virtual ~CFontListOwner() = default;
    virtual void OnFontChosen(const CString& fullName, const ENUMLOGFONTA* font) = 0;
};

// A row's data: the font (not owned) and the cached answer of the outline probe.
struct CFontListItem {
    const ENUMLOGFONTA* font;
    DWORD probed;   // 0 until the probe has run
    DWORD outline;  // the font has outlines of its own
};

class CFontListBox : public CListBox {
public:
    CFontListBox();
    ~CFontListBox() override;

    void SetOwner(CFontListOwner* owner) { m_owner = owner; }

    // One row per record of the list, in its order; answers 1.
    int Fill(const CFontList& list);
    // The row showing face (its full name in any case, else the first row whose full name's
    // first word occurs in face); -1 when none does.
    int FindFace(const CString& face) const;
    void SelectFace(const CString& face);
    // The system's window colours when enabled, the inactive caption's when disabled.
    void SetEnabled(bool enable);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;
    int CompareItem(LPCOMPAREITEMSTRUCT item) override;
    void DeleteItem(LPDELETEITEMSTRUCT item) override;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The full name a row shows; empty for no row.
    CString GetRowName(int row) const;

private:
    CFontListItem* GetRow(int row) const;
    bool HasOutline(CFontListItem* item);
    void OnSelectionChange();
    void OnKeyDown(UINT key);
    void OnMouseMove();

    COLORREF m_textColour;
    COLORREF m_backColour;
    COLORREF m_selectedTextColour;
    COLORREF m_selectedBackColour;
    CFontListOwner* m_owner;
};
