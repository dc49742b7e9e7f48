// An image list, owned: destroyed with the object unless detached.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() : m_hImageList(nullptr) {}
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int width, int height, UINT flags, int initial, int grow)
    {
        DeleteImageList();
        m_hImageList = ImageList_Create(width, height, flags, initial, grow);
        return m_hImageList != nullptr;
    }
    BOOL DeleteImageList()
    {
        if (!m_hImageList)
            return FALSE;
        ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return TRUE;
    }
    HIMAGELIST Detach()
    {
        HIMAGELIST list = m_hImageList;
        m_hImageList = nullptr;
        return list;
    }
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int Add(HBITMAP image, HBITMAP mask) { return ImageList_Add(m_hImageList, image, mask); }
    int Add(HBITMAP image, COLORREF maskColour) { return ImageList_AddMasked(m_hImageList, image, maskColour); }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL Draw(HDC dc, int index, POINT at, UINT style) { return ImageList_Draw(m_hImageList, index, dc, at.x, at.y, style); }
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    HIMAGELIST m_hImageList;
};
