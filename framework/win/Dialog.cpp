#include "framework/win/Dialog.h"

#include "framework/win/DataExchange.h"

namespace {
// The dialog manager calls this for the messages our subclass passes on; everything of
// interest has been handled by the object before.
INT_PTR CALLBACK BwDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}
}  // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog() : m_nIDHelp(0), m_templateId(0), m_parent(nullptr), m_modal(FALSE) {}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDHelp(templateId), m_templateId(templateId), m_parent(parent), m_modal(FALSE)
{
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd)
        return -1;
    m_modal = TRUE;
    HookCreation(this);
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId),
                                             m_parent ? m_parent->GetSafeHwnd() : nullptr, BwDialogProc, 0);
    UnhookCreation();
    m_modal = FALSE;
    if (m_hWnd)  // the window is gone; make sure the object forgets it
        Detach();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    if (m_hWnd)
        return FALSE;
    m_templateId = templateId;
    if (!m_nIDHelp)
        m_nIDHelp = templateId;
    m_parent = parent;
    m_modal = FALSE;
    HookCreation(this);
    HWND hWnd = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                     parent ? parent->GetSafeHwnd() : nullptr, BwDialogProc, 0);
    UnhookCreation();
    if (!hWnd) {
        if (m_hWnd)
            Detach();
        return FALSE;
    }
    return m_hWnd == hWnd;
}

void CDialog::EndDialog(int result)
{
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // A modeless dialog needs the dialog manager for Tab, Enter and Esc; a modal one has it
    // in its own loop.
    if (!m_modal && m_hWnd && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::IsDialogMessageA(m_hWnd, msg);
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // Our map may name WM_INITDIALOG; otherwise the virtual does the work.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result))
            return result;
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    const UINT code = HIWORD(wParam);
    if (code != BN_CLICKED && lParam)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    }
    return FALSE;
}
