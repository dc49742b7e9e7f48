#include "util/StylePropertyTable.h"

const StylePropertyRow StylePropertyTable[kStylePropertyCount] = {
    {2, "BevelContrast", 0x20000},
    {3, "BevelIndent", 0x10000},
    {4, "BevelLightAngle", 0x80000},
    {5, "BevelType", 0x40000},
    {6, "Bold", 0x2},
    {7, "BrowseDirectory0", 0x800},
    {8, "BrowseDirectory1", 0x800},
    {9, "BrowseDirectory2", 0x800},
    {10, "ColourButtonState", 0x4},
    {16, "ColProp-KiqIndex", 0x0},
    {11, "ColProp-Name", 0x0},
    {12, "ColProp-Question", 0x100},
    {13, "ColProp-ShowName", 0x0},
    {14, "ColProp-StyleName", 0x0},
    {15, "ColProp-Value", 0x4},
    {17, "CurrentColourIndex", 0x100},
    {18, "CurrentConstrainedWidth", 0x200},
    {19, "CurrentTextureIndex", 0x100},
    {20, "DocPath", 0x0},
    {21, "ExportBpp", 0x1000},
    {22, "ExportCheckSum", 0x1000},
    {23, "ExportDither", 0x1000},
    {24, "ExportPalette", 0x1000},
    {25, "ExportPathNameExt", 0x1000},
    {26, "ExportQuality", 0x1000},
    {27, "ExportType", 0x1000},
    {28, "Font", 0x2},
    {29, "FontSize", 0x2},
    {30, "FontSizeOriginal", 0x2},
    {31, "GIFPaletteSize", 0x1000},
    {32, "GraphicType", 0x0},
    {33, "HaveGotConstrainedObject", 0x200},
    {34, "HaveLoadedContoneBitmap", 0x200},
    {35, "HTML", 0x4000},
    {36, "ImageFolder", 0x4000},
    {37, "Interlaced", 0x1000},
    {38, "Italic", 0x26},
    {39, "JPEGQuality", 0x1000},
    {82, "KiqFileName", 0x100},
    {83, "KiqPath", 0x100},
    {40, "LastSetConstrainedWidth", 0x200},
    {41, "LetterSpace", 0x2},
    {42, "LineSpace", 0x2},
    {43, "Menu", 0x4000},
    {44, "Menu Properties", 0x4000},
    {45, "NumberOfColours", 0x0},
    {46, "NumberOfStories", 0x1},
    {47, "NumberOfTextures", 0x100},
    {48, "PixelHeight", 0x0},
    {49, "PixelWidth", 0x0},
    {50, "PNGPaletteSize", 0x1000},
    {84, "Q3DCornerStyle", 0x100000},
    {85, "Q3DUseOutline", 0x200000},
    {86, "QTWFile", 0x0},
    {51, "Scale", 0x200},
    {52, "ShadowBlurrinessPixels", 0x10},
    {53, "ShadowColour", 0x14},
    {54, "ShadowDarkness01", 0x10},
    {55, "ShadowOn", 0x10},
    {56, "ShadowPositionXPixels", 0x10},
    {57, "ShadowPositionYPixels", 0x10},
    {58, "ShadowScale01", 0x10},
    {59, "ShadowTiltDegrees", 0x10},
    {60, "ShadowType", 0x10},
    {61, "SimpleColourIndexMax", 0x100},
    {62, "Template", 0x100},
    {63, "TexReplacementColour", 0x4},
    {64, "TexReplacementFlag", 0x80},
    {65, "Text", 0x1},
    {66, "TextAllignment", 0x2},
    {67, "TextAspectRatio", 0x0},
    {68, "TextButtonState", 0x80},
    {69, "TextNudgeX", 0x2000},
    {70, "TextNudgeY", 0x2000},
    {71, "TextPosition", 0x2000},
    {72, "TextPosRange", 0x2000},
    {73, "TextureProp-FileName", 0x8},
    {74, "TextureProp-FillType", 0x0},
    {78, "TextureProp-KiqIndex", 0x0},
    {75, "TextureProp-Matrix", 0x0},
    {76, "TextureProp-Name", 0x8},
    {77, "TextureProp-Question", 0x100},
    {79, "Transparent", 0x1000},
    {80, "TransThreshold", 0x1000},
    {81, "Version", 0x0},
};

namespace {

// The C library's case-insensitive comparison for ASCII: letters folded to lower case, every
// other byte by its unsigned value.
int CompareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a);
        unsigned char y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x + 32);
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y + 32);
        if (x != y || x == 0)
            return static_cast<int>(x) - static_cast<int>(y);
    }
}

}  // namespace

int LookupPropertyName(const char* name, DWORD* changeMask) {
    if (changeMask)
        *changeMask = 0;
    if (!name)
        return 0;
    int low = 0, high = kStylePropertyCount - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        int order = CompareNoCase(name, StylePropertyTable[middle].name);
        if (order == 0) {
            if (changeMask)
                *changeMask = StylePropertyTable[middle].changeMask;
            return StylePropertyTable[middle].id;
        }
        if (order < 0)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return 0;
}
