#include "editors/FontListBox.h"

#include "panels/PanelMessage.h"
#include "panels/PanelServices.h"

#include <cctype>
#include <cstring>
#include <new>

namespace {

const int kRowHeight = 21;
// The outline size of "q" in a font drawn from strokes rather than outlines of its own.
const DWORD kStrokeOutlineSize = 88;
const char kSymbolSample[] = "AaBbCc";

CString FullNameOf(const ENUMLOGFONTA* font)
{
    return font ? GetFullName(*font) : CString();
}

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

}  // namespace

CFontListBox::CFontListBox()
    : m_textColour(8), m_backColour(5), m_selectedTextColour(13), m_selectedBackColour(14), m_owner(nullptr)
{
}

CFontListBox::~CFontListBox()
{
    // The rows' records go while this object can still delete them.
    if (m_hWnd && ::IsWindow(m_hWnd))
        ResetContent();
}

CFontListItem* CFontListBox::GetRow(int row) const
{
    if (!m_hWnd || row < 0)
        return nullptr;
    const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(row));
    if (data == LB_ERR)
        return nullptr;
    return reinterpret_cast<CFontListItem*>(data);
}

CString CFontListBox::GetRowName(int row) const
{
    CFontListItem* item = GetRow(row);
    return item ? FullNameOf(item->font) : CString();
}

int CFontListBox::Fill(const CFontList& list)
{
    ResetContent();
    for (int i = 0; i < list.GetCount(); ++i) {
        CFontListItem* item = new (std::nothrow) CFontListItem{list.GetFont(i), 0, 0};
        if (!item)
            continue;
        const LRESULT row = SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        if (row == LB_ERR || row == LB_ERRSPACE)
            delete item;
    }
    return 1;
}

int CFontListBox::FindFace(const CString& face) const
{
    const int rows = GetCount();
    for (int row = 0; row < rows; ++row)
        if (GetRowName(row).CompareNoCase(face) == 0)
            return row;
    for (int row = 0; row < rows; ++row) {
        const CString name = GetRowName(row);
        const int blank = name.Find(' ');
        const CString word = blank < 0 ? name : name.Left(blank);
        if (!word.IsEmpty() && face.Find(word) >= 0)
            return row;
    }
    return -1;
}

void CFontListBox::SelectFace(const CString& face)
{
    SetCurSel(FindFace(face));
}

void CFontListBox::SetEnabled(bool enable)
{
    if (GetPanelServices().HasCursorService()) {
        if (enable) {
            m_backColour = ::GetSysColor(COLOR_WINDOW);
            m_textColour = ::GetSysColor(COLOR_WINDOWTEXT);
            m_selectedBackColour = ::GetSysColor(COLOR_HIGHLIGHT);
            m_selectedTextColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        } else {
            m_backColour = m_selectedBackColour = ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
            m_textColour = m_selectedTextColour = ::GetSysColor(COLOR_INACTIVECAPTION);
        }
    }
    EnableWindow(enable ? TRUE : FALSE);
}

bool CFontListBox::HasOutline(CFontListItem* item)
{
    if (item->probed)
        return item->outline != 0;
    item->probed = 1;
    item->outline = 1;
    HDC screen = ::GetDC(nullptr);
    HDC memory = screen ? ::CreateCompatibleDC(screen) : nullptr;
    HFONT font = memory ? ::CreateFontIndirectA(&item->font->elfLogFont) : nullptr;
    if (font) {
        HGDIOBJ previous = ::SelectObject(memory, font);
        GLYPHMETRICS metrics;
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        const DWORD size = ::GetGlyphOutlineA(memory, 'q', GGO_NATIVE, &metrics, 0, nullptr, &identity);
        item->outline = size == kStrokeOutlineSize ? 0 : 1;
        ::SelectObject(memory, previous);
        ::DeleteObject(font);
    }
    if (memory)
        ::DeleteDC(memory);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return item->outline != 0;
}

void CFontListBox::DrawItem(LPDRAWITEMSTRUCT draw)
{
    if (!draw)
        return;
    const RECT& row = draw->rcItem;
    CFontListItem* item = static_cast<int>(draw->itemID) >= 0 ? reinterpret_cast<CFontListItem*>(draw->itemData) : nullptr;
    if (item && item->font && (draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        HDC dc = draw->hDC;
        const ENUMLOGFONTA* record = item->font;
        HFONT font = ::CreateFontIndirectA(&record->elfLogFont);
        HGDIOBJ previous = font ? ::SelectObject(dc, font) : nullptr;
        const bool selected = (draw->itemState & ODS_SELECTED) != 0;
        const COLORREF oldText = ::SetTextColor(dc, selected ? m_selectedTextColour : m_textColour);
        const COLORREF oldBack = ::SetBkColor(dc, selected ? m_selectedBackColour : m_backColour);

        const CString fullName = FullNameOf(record);
        CString text = fullName;
        if (!HasOutline(item))
            text.MakeUpper();
        if (record->elfLogFont.lfCharSet != SYMBOL_CHARSET && fullName != "Geotype TT") {
            ::ExtTextOutA(dc, row.left + 5, row.top, ETO_OPAQUE, &row, text, static_cast<UINT>(text.GetLength()),
                          nullptr);
        } else {
            // A symbol font's letters say nothing: a sample in the font, the name in the list's own.
            ::ExtTextOutA(dc, 100, row.top, ETO_OPAQUE, &row, kSymbolSample, sizeof kSymbolSample - 1, nullptr);
            if (previous)
                ::SelectObject(dc, previous);
            RECT left = row;
            left.right = 99;
            ::ExtTextOutA(dc, 5, row.top + 8, ETO_OPAQUE, &left, text, static_cast<UINT>(text.GetLength()), nullptr);
        }
        ::SetTextColor(dc, oldText);
        ::SetBkColor(dc, oldBack);
        if (previous)
            ::SelectObject(dc, previous);
        if (font)
            ::DeleteObject(font);
    }
    if (draw->itemAction & ODA_FOCUS)
        ::DrawFocusRect(draw->hDC, &row);
}

void CFontListBox::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
    if (measure)
        measure->itemHeight = kRowHeight;
}

int CFontListBox::CompareItem(LPCOMPAREITEMSTRUCT compare)
{
    const CFontListItem* first = compare ? reinterpret_cast<const CFontListItem*>(compare->itemData1) : nullptr;
    const CFontListItem* second = compare ? reinterpret_cast<const CFontListItem*>(compare->itemData2) : nullptr;
    if (!first || !second || !first->font || !second->font)
        return 0;
    const CString firstFace = GetFaceName(*first->font);
    const CString secondFace = GetFaceName(*second->font);
    if (firstFace != secondFace)
        return Sign(firstFace.CompareNoCase(secondFace));
    return Sign(FullNameOf(first->font).GetLength() - FullNameOf(second->font).GetLength());
}

void CFontListBox::DeleteItem(LPDELETEITEMSTRUCT item)
{
    if (item)
        delete reinterpret_cast<CFontListItem*>(item->itemData);
}

BOOL CFontListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && (HIWORD(wParam) == LBN_SELCHANGE || HIWORD(wParam) == LBN_SELCANCEL)) {
        OnSelectionChange();
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CFontListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN)
        OnKeyDown(static_cast<UINT>(wParam));
    else if (message == WM_MOUSEMOVE)
        OnMouseMove();
    return CListBox::WindowProc(message, wParam, lParam);
}

void CFontListBox::OnSelectionChange()
{
    const int row = GetCurSel();
    CFontListItem* item = GetRow(row);
    if (item && m_owner)
        m_owner->OnFontChosen(FullNameOf(item->font), item->font);
}

void CFontListBox::OnKeyDown(UINT key)
{
    const bool typeAhead = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    const int rows = GetCount();
    if (!typeAhead || rows <= 0)
        return;
    const int wanted = std::toupper(static_cast<unsigned char>(::MapVirtualKeyA(key, MAPVK_VK_TO_CHAR)));
    int row = 0;
    for (; row < rows; ++row) {
        const CString name = GetRowName(row);
        if (!name.IsEmpty() && std::toupper(static_cast<unsigned char>(name[0])) >= wanted)
            break;
    }
    SetCurSel(row < rows ? row : rows - 1);
    OnSelectionChange();
}

void CFontListBox::OnMouseMove()
{
    CMouseMoveMessage message(-1, -1);
    GetPanelServices().SendMessageToManagers(&message, 0);
}
