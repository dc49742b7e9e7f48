// On the win32 build, the host copies of the Win32 records must have the real layouts.
#include "framework/core/WinTypes.h"

#include <gtest/gtest.h>

#include <type_traits>

#ifdef _WIN32
namespace portable {
#include "framework/core/WinRecords.inl"
}

#define SAME_SIZE(T) static_assert(sizeof(portable::T) == sizeof(::T), #T " size")
#define SAME_FIELD(T, f) static_assert(offsetof(portable::T, f) == offsetof(::T, f), #T "." #f " offset")

// Integer types: the same size and the same signedness (a sign change alters arithmetic).
#define SAME_INTEGER(T)                                                                        \
    SAME_SIZE(T);                                                                              \
    static_assert(std::is_signed<portable::T>::value == std::is_signed<::T>::value, #T " sign")

SAME_INTEGER(BYTE); SAME_INTEGER(WORD); SAME_INTEGER(DWORD); SAME_INTEGER(LONG); SAME_INTEGER(ULONG);
SAME_INTEGER(BOOL); SAME_INTEGER(UINT); SAME_INTEGER(INT); SAME_INTEGER(SHORT); SAME_INTEGER(USHORT);
SAME_INTEGER(CHAR); SAME_INTEGER(UCHAR); SAME_INTEGER(TCHAR); SAME_INTEGER(COLORREF); SAME_INTEGER(HRESULT);
SAME_INTEGER(LPARAM); SAME_INTEGER(WPARAM); SAME_INTEGER(LRESULT);
SAME_INTEGER(LONGLONG); SAME_INTEGER(ULONGLONG); SAME_INTEGER(INT_PTR); SAME_INTEGER(UINT_PTR);
SAME_INTEGER(DWORD_PTR);
SAME_SIZE(RECT); SAME_FIELD(RECT, left); SAME_FIELD(RECT, top); SAME_FIELD(RECT, right); SAME_FIELD(RECT, bottom);
SAME_SIZE(POINT); SAME_FIELD(POINT, x); SAME_FIELD(POINT, y);
SAME_SIZE(SIZE); SAME_FIELD(SIZE, cx); SAME_FIELD(SIZE, cy);
SAME_SIZE(RGBQUAD); SAME_FIELD(RGBQUAD, rgbBlue); SAME_FIELD(RGBQUAD, rgbGreen); SAME_FIELD(RGBQUAD, rgbRed);
SAME_FIELD(RGBQUAD, rgbReserved);
SAME_SIZE(RGBTRIPLE); SAME_FIELD(RGBTRIPLE, rgbtBlue); SAME_FIELD(RGBTRIPLE, rgbtGreen); SAME_FIELD(RGBTRIPLE, rgbtRed);
SAME_SIZE(PALETTEENTRY); SAME_FIELD(PALETTEENTRY, peRed); SAME_FIELD(PALETTEENTRY, peGreen);
SAME_FIELD(PALETTEENTRY, peBlue); SAME_FIELD(PALETTEENTRY, peFlags);
SAME_SIZE(LOGPALETTE); SAME_FIELD(LOGPALETTE, palVersion); SAME_FIELD(LOGPALETTE, palNumEntries);
SAME_FIELD(LOGPALETTE, palPalEntry);
SAME_SIZE(BITMAPINFOHEADER); SAME_FIELD(BITMAPINFOHEADER, biSize); SAME_FIELD(BITMAPINFOHEADER, biWidth);
SAME_FIELD(BITMAPINFOHEADER, biHeight); SAME_FIELD(BITMAPINFOHEADER, biPlanes);
SAME_FIELD(BITMAPINFOHEADER, biBitCount); SAME_FIELD(BITMAPINFOHEADER, biCompression);
SAME_FIELD(BITMAPINFOHEADER, biSizeImage); SAME_FIELD(BITMAPINFOHEADER, biXPelsPerMeter);
SAME_FIELD(BITMAPINFOHEADER, biYPelsPerMeter); SAME_FIELD(BITMAPINFOHEADER, biClrUsed);
SAME_FIELD(BITMAPINFOHEADER, biClrImportant);
SAME_SIZE(BITMAPINFO); SAME_FIELD(BITMAPINFO, bmiHeader); SAME_FIELD(BITMAPINFO, bmiColors);
SAME_SIZE(BITMAPFILEHEADER); SAME_FIELD(BITMAPFILEHEADER, bfType); SAME_FIELD(BITMAPFILEHEADER, bfSize);
SAME_FIELD(BITMAPFILEHEADER, bfReserved1); SAME_FIELD(BITMAPFILEHEADER, bfReserved2); SAME_FIELD(BITMAPFILEHEADER, bfOffBits);
SAME_SIZE(BITMAP); SAME_FIELD(BITMAP, bmType); SAME_FIELD(BITMAP, bmWidth); SAME_FIELD(BITMAP, bmHeight);
SAME_FIELD(BITMAP, bmWidthBytes); SAME_FIELD(BITMAP, bmPlanes); SAME_FIELD(BITMAP, bmBitsPixel); SAME_FIELD(BITMAP, bmBits);
#endif

TEST(WinTypes, ColourMacrosPackRedLow)
{
    const COLORREF c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
}
