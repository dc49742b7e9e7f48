// GDI objects. The object deletes its handle when destroyed; a handle selected into a device
// context must be selected out again first (CDC::SelectObject returns the previous one).
#pragma once

#include <windows.h>

#include "framework/core/Afx.h"

class CGdiObject : public CObject {
public:
    CGdiObject() : m_hObject(nullptr), m_temporary(FALSE) {}
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ m_hObject;
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // A wrapper for a handle that no object owns; deleted at the next idle, never owns it.
    static CGdiObject* FromHandle(HGDIOBJ handle);
    static void DeleteTempMap();

    BOOL Attach(HGDIOBJ handle)
    {
        if (m_hObject || !handle)
            return FALSE;
        m_hObject = handle;
        return TRUE;
    }
    HGDIOBJ Detach()
    {
        HGDIOBJ handle = m_hObject;
        m_hObject = nullptr;
        return handle;
    }
    BOOL DeleteObject()
    {
        if (!m_hObject || m_temporary)
            return FALSE;
        return ::DeleteObject(Detach());
    }

    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

private:
    BOOL m_temporary;
};

class CPen : public CGdiObject {
public:
    CPen() {}
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    BOOL CreatePen(int style, int width, COLORREF colour) { return Attach(::CreatePen(style, width, colour)); }
    operator HPEN() const { return (HPEN)GetSafeHandle(); }
};

class CBrush : public CGdiObject {
public:
    CBrush() {}
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    BOOL CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
    operator HBRUSH() const { return (HBRUSH)GetSafeHandle(); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTA* font) { return Attach(::CreateFontIndirectA(font)); }
    operator HFONT() const { return (HFONT)GetSafeHandle(); }
};

class CPalette : public CGdiObject {
public:
    BOOL CreatePalette(const LOGPALETTE* palette) { return Attach(::CreatePalette(palette)); }
    operator HPALETTE() const { return (HPALETTE)GetSafeHandle(); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id) { return Attach(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))); }
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height)
    {
        return Attach(::CreateCompatibleBitmap(dc, width, height));
    }
    operator HBITMAP() const { return (HBITMAP)GetSafeHandle(); }
};
