// CTessro: the program's owner of one rasterizer context.
//
// The application makes one with an allowance of kAppStackAllowance bytes when it starts and
// deletes it when it ends; everything that draws with the rasterizer uses that instance, or its
// context through the flat entry points (raster/TessroApi.h). Forwarding members answer the
// entry point's result unchanged.
#pragma once

#include "framework/core/CObject.h"
#include "raster/TessroApi.h"

class CTessro : public CObject {
    DECLARE_DYNAMIC(CTessro)

public:
    static const DWORD kAppStackAllowance = 102400;

    // Allocates and initialises the context; out of memory raises the allocator's exception.
    explicit CTessro(DWORD stackAllowance);
    ~CTessro() override;

    // Initialisation, memory handlers, then the stack allowance; the first failure's result.
    int Init(DWORD stackAllowance);

    TessroContext* GetContext() const { return m_pContext; }

    const LOGPALETTE* SelectPalette(DWORD mode);
    int SetPalette(const LOGPALETTE* palette);
    int SetColour(DWORD colour);
    int BuildGraduationTable(DWORD start, DWORD end, DWORD blendKind, DWORD* table);
    int ConvertBitmap(const BITMAPINFOHEADER* sourceHeader, const void* sourceBits,
                      const BITMAPINFOHEADER* destinationHeader, void* destinationBits, DWORD mode);
    int SetConversionPalette(const LOGPALETTE* palette);
    int SetGraduation(DWORD style, const void* table, const TessroPoint* p0, const TessroPoint* p1,
                      const TessroPoint* p2);
    int SetGraduatedColours(DWORD style, DWORD colour0, DWORD colour1, DWORD colour2, DWORD colour3,
                            const TessroPoint* p0, const TessroPoint* p1, const TessroPoint* p2);
    int SetBitmap(const BITMAPINFOHEADER* header, void* bits, DWORD mode);
    int SetInvertedBitmap(const BITMAPINFOHEADER* header, void* bits, DWORD mode);
    int FillRectangle(const TessroPoint rect[2]);
    int FillPoint(const TessroPoint* point);

private:
    CTessro(const CTessro&) = delete;
    CTessro& operator=(const CTessro&) = delete;

    TessroContext* m_pContext = nullptr;
};

// The program's allocator behind the context's memory handlers: null instead of an exception
// when memory runs out.
void* TessroAlloc(DWORD byteCount);
void TessroFree(void* block);
