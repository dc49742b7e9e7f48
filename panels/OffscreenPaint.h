// A control's WM_PAINT drawn into a compatible bitmap of its client size and copied to the
// window in one piece when the object goes, so the control never shows half a picture.
#pragma once

#include <windows.h>

class COffscreenPaint {
public:
    explicit COffscreenPaint(HWND window) : m_window(window)
    {
        m_target = ::BeginPaint(window, &m_paint);
        ::GetClientRect(window, &m_client);
        m_width = m_client.right > 0 ? m_client.right : 1;
        m_height = m_client.bottom > 0 ? m_client.bottom : 1;
        m_dc = ::CreateCompatibleDC(m_target);
        m_bitmap = ::CreateCompatibleBitmap(m_target, m_width, m_height);
        m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    }
    ~COffscreenPaint()
    {
        ::BitBlt(m_target, 0, 0, m_width, m_height, m_dc, 0, 0, SRCCOPY);
        ::SelectObject(m_dc, m_oldBitmap);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
        ::EndPaint(m_window, &m_paint);
    }
    COffscreenPaint(const COffscreenPaint&) = delete;
    COffscreenPaint& operator=(const COffscreenPaint&) = delete;

    HDC GetDC() const { return m_dc; }
    const RECT& GetClient() const { return m_client; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint;
    HDC m_target;
    RECT m_client;
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
};
