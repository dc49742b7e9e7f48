#include "app/VyButtonWindow.h"

#include "app/BlankButtonWindow.h"
#include "app/CompactRendererInt.h"
#include "app/Errors.h"
#include "app/PageButtonDefs.h"

#include <new>

BEGIN_MESSAGE_MAP(VyButtonWindow, CStatic)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

const UINT kButtonId = 0xffff;

}  // namespace

VyButtonWindow::VyButtonWindow() : m_panes{}, m_lastRect{0, 0, 0, 0}, m_selectedIndex(0), m_previousPageId(0) {}

VyButtonWindow::~VyButtonWindow()
{
    ReleasePanes();
    for (CButtonWindow* button : m_pageButtons)
        delete button;
    m_pageButtons.clear();
    if (m_hWnd)
        DestroyWindow();
}

void VyButtonWindow::ReleasePanes()
{
    for (int i = 0; i < kPaneCount; ++i) {
        if (IsBlank(i))
            delete m_panes[i];
        m_panes[i] = nullptr;
    }
}

BOOL VyButtonWindow::Create(CWnd* parent, const RECT& rect, UINT id, DWORD style)
{
    // Without SS_NOTIFY a static control lets the pointer through: the main dialog takes the
    // bar's mouse input and tells the bar where the pointer is.
    return CreateEx(0, "STATIC", "", style | WS_CHILD | WS_CLIPCHILDREN, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : nullptr,
                    (HMENU)(UINT_PTR)id);
}

bool VyButtonWindow::IsBlank(int index) const
{
    CButtonWindow* pane = m_panes[index];
    if (!pane)
        return false;
    for (CButtonWindow* button : m_pageButtons)
        if (button == pane)
            return false;
    return true;
}

CButtonWindow* VyButtonWindow::GetPane(int index) const
{
    return index >= 0 && index < kPaneCount ? m_panes[index] : nullptr;
}

void VyButtonWindow::CreatePageDescriptors(const int* ids, int count)
{
    for (int i = 0; i < count; ++i) {
        CButtonDef definition;
        if (!MakePageButtonDef(ids[i], &definition))
            continue;
        CButtonWindow* button = new (std::nothrow) CButtonWindow(definition);
        if (button)  // out of memory for one button skips only that button
            m_pageButtons.push_back(button);
    }
}

CButtonWindow* VyButtonWindow::MakeBlank()
{
    CBlankButtonWindow* blank = new (std::nothrow) CBlankButtonWindow;
    if (!blank)
        return nullptr;
    if (m_hWnd) {
        RECT small = {0, 0, 10, 10};
        if (!blank->Create(this, small, kButtonId)) {
            delete blank;
            return nullptr;
        }
    }
    return blank;
}

int VyButtonWindow::OnCreate(LPCREATESTRUCT cs)
{
    if (Default() == -1)
        return -1;
    RECT client;
    GetClientRect(&client);
    for (CButtonWindow* button : m_pageButtons) {
        if (!button->Create(this, client, kButtonId)) {
            BW_INTERNAL_ERROR("VyButtonWindow.cpp");
            return -1;
        }
        button->ShowWindow(SW_HIDE);
    }
    for (int i = 0; i < kPaneCount; ++i) {
        m_panes[i] = MakeBlank();
        if (!m_panes[i]) {
            BW_INTERNAL_ERROR("VyButtonWindow.cpp");
            return -1;
        }
    }
    m_selectedIndex = 0;
    m_panes[0]->Select();
    Layout(0);
    GetWindowRect(&m_lastRect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&m_lastRect);
    return 0;
}

void VyButtonWindow::PaneHeights(int height, const bool blank[kPaneCount], int heights[kPaneCount])
{
    const int each = height / kPaneCount;
    int extraPane = kPaneCount - 1;
    for (int i = 0; i < kPaneCount; ++i)
        if (blank[i]) {
            extraPane = i;
            break;
        }
    for (int i = 0; i < kPaneCount; ++i)
        heights[i] = each + (i == extraPane ? height % kPaneCount : 0);
}

void VyButtonWindow::Layout(int rerender)
{
    if (!m_hWnd)
        return;
    RECT client;
    GetClientRect(&client);
    bool blank[kPaneCount];
    for (int i = 0; i < kPaneCount; ++i)
        blank[i] = IsBlank(i);
    int heights[kPaneCount];
    PaneHeights(client.bottom - client.top, blank, heights);
    int top = client.top;
    for (int i = 0; i < kPaneCount; ++i) {
        CButtonWindow* pane = m_panes[i];
        if (pane && pane->GetSafeHwnd()) {
            pane->SetWindowPos((HWND)nullptr, client.left, top, client.right - client.left, heights[i],
                               SWP_NOZORDER | SWP_SHOWWINDOW);
            if (rerender)
                pane->PreRenderStates(-1);
            ::RedrawWindow(pane->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        top += heights[i];
    }
}

void VyButtonWindow::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (!AreRendererTimersEnabled())
        return;
    RECT rect;
    GetWindowRect(&rect);
    if (CWnd* parent = GetParent())
        parent->ScreenToClient(&rect);
    if (rect.right - rect.left != m_lastRect.right - m_lastRect.left ||
        rect.bottom - rect.top != m_lastRect.bottom - m_lastRect.top) {
        Layout(0);
        m_lastRect = rect;
    }
}

void VyButtonWindow::OnPaint()
{
    ValidateRect(nullptr);
    ShowAllPanes();
}

void VyButtonWindow::OnDestroy()
{
    ReleasePanes();
    Default();
}

void VyButtonWindow::ShowPages(const int ids[kPaneCount], int relayout)
{
    if (m_pageButtons.empty() || !ids)
        return;
    for (int i = 0; i < kPaneCount; ++i) {
        if (m_panes[i]) {
            if (IsBlank(i))
                delete m_panes[i];
            else if (m_panes[i]->GetSafeHwnd())
                m_panes[i]->ShowWindow(SW_HIDE);
            m_panes[i] = nullptr;
        }
        if (ids[i] == 0) {
            m_panes[i] = MakeBlank();
            continue;
        }
        for (CButtonWindow* button : m_pageButtons)
            if (button->m_definition.m_pageId == ids[i]) {
                m_panes[i] = button;
                break;
            }
    }
    if (m_hWnd)
        Layout(relayout);
}

int VyButtonWindow::GetSelectedPage() const
{
    CButtonWindow* pane = GetPane(m_selectedIndex);
    return pane ? pane->m_definition.m_pageId : 0;
}

void VyButtonWindow::ActivatePage(int pageId)
{
    CButtonWindow* selected = GetPane(m_selectedIndex);
    if (selected && selected->m_definition.m_pageId != pageId) {
        m_previousPageId = selected->m_definition.m_pageId;
        selected->Deselect();
        m_selectedIndex = IndexOfPage(pageId);
    }
    if (CButtonWindow* pane = GetPane(m_selectedIndex))
        pane->Select();
}

void VyButtonWindow::ReselectPrevious()
{
    if (m_previousPageId)
        ActivatePage(m_previousPageId);
}

int VyButtonWindow::Press(int x, int y)
{
    RECT rect = {0, 0, 0, 0};
    if (m_hWnd)
        GetWindowRect(&rect);
    POINT point = {x, y};
    if (!::PtInRect(&rect, point))
        return GetSelectedPage();
    for (int i = 0; i < kPaneCount; ++i) {
        if (!m_panes[i])
            continue;
        m_panes[i]->Press(x, y);
        if (i != m_selectedIndex && m_panes[i]->IsSelected()) {
            if (CButtonWindow* old = GetPane(m_selectedIndex)) {
                m_previousPageId = old->m_definition.m_pageId;
                old->Deselect();
            }
            m_selectedIndex = i;
            break;
        }
    }
    return GetSelectedPage();
}

int VyButtonWindow::PageAt(int x, int y) const
{
    POINT point = {x, y};
    for (CButtonWindow* pane : m_panes) {
        if (!pane || !pane->GetSafeHwnd())
            continue;
        RECT rect;
        pane->GetWindowRect(&rect);
        if (::PtInRect(&rect, point))
            return pane->m_definition.m_pageId;
    }
    return 0;
}

int VyButtonWindow::PageForKey(int vk) const
{
    for (CButtonWindow* pane : m_panes)
        if (pane && pane->m_definition.m_shortcut == vk && vk != 0)
            return pane->m_definition.m_pageId;
    return 0;
}

int VyButtonWindow::IndexOfPage(int pageId) const
{
    for (int i = 0; i < kPaneCount; ++i)
        if (m_panes[i] && m_panes[i]->m_definition.m_pageId == pageId)
            return i;
    return 0;
}

bool VyButtonWindow::IsPageDisabled(int pageId) const
{
    for (CButtonWindow* pane : m_panes)
        if (pane && pane->m_definition.m_pageId == pageId)
            return pane->GetState() == CButtonWindow::kStateDisabled;
    return true;
}

void VyButtonWindow::TrackHover(int x, int y)
{
    for (CButtonWindow* pane : m_panes)
        if (pane)
            pane->TrackHover(x, y);
}

void VyButtonWindow::ResetHover()
{
    TrackHover(-100, -100);
}

bool VyButtonWindow::IsOverButton(int x, int y) const
{
    POINT point = {x, y};
    for (CButtonWindow* pane : m_panes) {
        if (!pane || !pane->GetSafeHwnd() || pane->GetState() != CButtonWindow::kStateOver)
            continue;
        RECT rect;
        pane->GetClientRect(&rect);
        pane->ClientToScreen(&rect);
        if (::PtInRect(&rect, point))
            return true;
    }
    return false;
}

void VyButtonWindow::EnablePage(int pageId)
{
    for (CButtonWindow* pane : m_panes)
        if (pane && pane->m_definition.m_pageId == pageId)
            pane->SetDisabled(0);
}

void VyButtonWindow::DisablePage(int pageId)
{
    for (CButtonWindow* pane : m_panes)
        if (pane && pane->m_definition.m_pageId == pageId)
            pane->SetDisabled(1);
}

void VyButtonWindow::ShowAllPanes()
{
    for (CButtonWindow* pane : m_panes)
        if (pane && pane->GetSafeHwnd()) {
            pane->ShowWindow(SW_SHOW);
            ::RedrawWindow(pane->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
}

void VyButtonWindow::RepaintAll()
{
    for (CButtonWindow* pane : m_panes)
        if (pane && pane->GetSafeHwnd()) {
            pane->Invalidate();
            pane->UpdateWindow();
        }
}
