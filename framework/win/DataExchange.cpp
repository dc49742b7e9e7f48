#include "framework/win/DataExchange.h"

#include "framework/win/Wnd.h"

#include <cerrno>
#include <cstdlib>

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), id);
    if (!control)
        throw Failure();
    m_lastControl = control;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_lastControl) {
        ::SetFocus(m_lastControl);
        ::SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
    }
    throw Failure();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        const int length = ::GetWindowTextLengthA(control);
        char* buffer = value.GetBuffer(length + 1);
        const int got = ::GetWindowTextA(control, buffer, length + 1);
        value.ReleaseBuffer(got < 0 ? 0 : got);
    } else {
        ::SetWindowTextA(control, value);
    }
}

static bool ParseLong(CDataExchange* dx, HWND control, long& out)
{
    char text[64] = {};
    ::GetWindowTextA(control, text, sizeof text);
    char* end = nullptr;
    errno = 0;
    out = std::strtol(text, &end, 10);
    while (end && (*end == ' ' || *end == '\t'))
        ++end;
    return end != text && end && *end == 0 && errno == 0;
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        long parsed = 0;
        if (!ParseLong(dx, control, parsed))
            dx->Fail();
        value = (int)parsed;
    } else {
        char text[32];
        wsprintfA(text, "%d", value);
        ::SetWindowTextA(control, text);
    }
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        long parsed = 0;
        if (!ParseLong(dx, control, parsed) || parsed < 0)
            dx->Fail();
        value = (UINT)parsed;
    } else {
        char text[32];
        wsprintfA(text, "%u", value);
        ::SetWindowTextA(control, text);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = (int)::SendMessageA(control, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(control, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND hWnd = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(hWnd))
        dx->Fail();
}
