// Device contexts. CPaintDC, CClientDC and CWindowDC take their context in the constructor
// and give it back in the destructor, so a context never outlives the function that took it.
#pragma once

#include <windows.h>

#include "framework/core/Afx.h"
#include "framework/win/GdiObject.h"

class CWnd;

class CDC : public CObject {
public:
    CDC() : m_hDC(nullptr), m_temporary(FALSE) {}
    virtual ~CDC();

    HDC m_hDC;
    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    static CDC* FromHandle(HDC hdc);
    static void DeleteTempMap();
    static void DeleteTempHandle(HDC hdc);
    BOOL Attach(HDC hdc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();

    CGdiObject* SelectObject(CGdiObject* object);
    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    CGdiObject* SelectStockObject(int index) { return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index))); }
    HPALETTE SelectPalette(HPALETTE palette, BOOL forceBackground) { return ::SelectPalette(m_hDC, palette, forceBackground); }
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }

    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }
    COLORREF SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    void FillSolidRect(const RECT* rect, COLORREF colour);
    BOOL TextOut(int x, int y, LPCSTR text, int length) { return ::TextOutA(m_hDC, x, y, text, length); }
    CSize GetTextExtent(LPCSTR text, int length) const;
    BOOL GetTextMetrics(TEXTMETRICA* metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop);
    }

    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

private:
    BOOL m_temporary;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};
