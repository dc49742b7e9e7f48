#include "raster/Tessro.h"

#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CTessro, CObject)

void* TessroAlloc(DWORD byteCount) {
    try {
        return ::operator new(byteCount);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void TessroFree(void* block) { ::operator delete(block); }

CTessro::CTessro(DWORD stackAllowance) {
    const int size = TessroGetContextSize();
    BYTE* record = new BYTE[size];
    std::memset(record, 0, size);
    m_pContext = reinterpret_cast<TessroContext*>(record);
    Init(stackAllowance);
}

CTessro::~CTessro() {
    if (m_pContext == nullptr) return;
    TessroReleaseMemory(m_pContext);
    delete[] reinterpret_cast<BYTE*>(m_pContext);
    m_pContext = nullptr;
}

int CTessro::Init(DWORD stackAllowance) {
    int result = TessroInitContext(m_pContext, nullptr);
    if (result == 0) result = TessroSetMemoryHandlers(m_pContext, TessroAlloc, TessroFree);
    if (result == 0) result = TessroSetStackLimit(m_pContext, stackAllowance);
    return result;
}

const LOGPALETTE* CTessro::SelectPalette(DWORD mode) { return TessroSelectPalette(m_pContext, mode); }

int CTessro::SetPalette(const LOGPALETTE* palette) { return TessroSetPalette(m_pContext, palette); }

int CTessro::SetColour(DWORD colour) { return TessroSetColour(m_pContext, colour); }

int CTessro::BuildGraduationTable(DWORD start, DWORD end, DWORD blendKind, DWORD* table) {
    return TessroBuildGraduationTable(m_pContext, start, end, blendKind, table);
}

int CTessro::ConvertBitmap(const BITMAPINFOHEADER* sourceHeader, const void* sourceBits,
                           const BITMAPINFOHEADER* destinationHeader, void* destinationBits,
                           DWORD mode) {
    return TessroConvertBitmap(m_pContext, sourceHeader, sourceBits, destinationHeader,
                               destinationBits, mode);
}

int CTessro::SetConversionPalette(const LOGPALETTE* palette) {
    return TessroSetConversionPalette(m_pContext, palette);
}

int CTessro::SetGraduation(DWORD style, const void* table, const TessroPoint* p0,
                           const TessroPoint* p1, const TessroPoint* p2) {
    return TessroSetGraduation(m_pContext, style, table, p0, p1, p2);
}

int CTessro::SetGraduatedColours(DWORD style, DWORD colour0, DWORD colour1, DWORD colour2,
                                 DWORD colour3, const TessroPoint* p0, const TessroPoint* p1,
                                 const TessroPoint* p2) {
    return TessroSetGraduatedColours(m_pContext, style, colour0, colour1, colour2, colour3, p0, p1,
                                     p2);
}

int CTessro::SetBitmap(const BITMAPINFOHEADER* header, void* bits, DWORD mode) {
    return TessroSetBitmap(m_pContext, header, bits, mode);
}

int CTessro::SetInvertedBitmap(const BITMAPINFOHEADER* header, void* bits, DWORD mode) {
    return TessroSetInvertedBitmap(m_pContext, header, bits, mode);
}

int CTessro::FillRectangle(const TessroPoint rect[2]) { return TessroFillRectangle(m_pContext, rect); }

int CTessro::FillPoint(const TessroPoint* point) { return TessroFillPoint(m_pContext, point); }
