// Answers the program's message boxes of this thread while it is in scope: each box that comes
// up has its text recorded and is closed by pressing one of its buttons (0: Esc). The timer is
// a thread timer, so a box's own modal loop dispatches it.
#pragma once

#include "app/Resource.h"

#include <windows.h>

#include <string>
#include <vector>

class CMessageBoxCloser {
public:
    explicit CMessageBoxCloser(int button = 0)
    {
        Button() = button;
        Texts().clear();
        m_timer = ::SetTimer(nullptr, 0, 30, Tick);
    }
    ~CMessageBoxCloser() { ::KillTimer(nullptr, m_timer); }
    CMessageBoxCloser(const CMessageBoxCloser&) = delete;
    CMessageBoxCloser& operator=(const CMessageBoxCloser&) = delete;

    // The texts of the boxes closed so far.
    static std::vector<std::string>& Texts()
    {
        static std::vector<std::string> texts;
        return texts;
    }

private:
    static int& Button()
    {
        static int button = 0;
        return button;
    }
    static BOOL CALLBACK Find(HWND window, LPARAM found)
    {
        if (::IsWindowVisible(window) && ::GetDlgItem(window, IDC_MSGBOX_TEXT)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND box = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), Find, reinterpret_cast<LPARAM>(&box));
        if (!box || ::GetPropA(box, "closing"))
            return;
        ::SetPropA(box, "closing", box);
        char text[1024] = {};
        ::GetDlgItemTextA(box, IDC_MSGBOX_TEXT, text, sizeof text - 1);
        Texts().push_back(text);
        const int id = IDC_MSGBOX_BUTTON1 + Button() - 1;
        if (Button() > 0)
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(box, id));
        else
            ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    }

    UINT_PTR m_timer;
};
