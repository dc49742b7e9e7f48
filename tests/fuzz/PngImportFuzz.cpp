// Importing a PNG file into a bitmap (textures, pictures, menu images).
#include "bitmap/Bitmap32.h"
#include "bitmap/ImageImport.h"
#include "tests/fuzz/FuzzTarget.h"

BW_FUZZ_TARGET(png)
{
    const std::string path = fuzz::WriteTempFile("import.png", data, size);
    int width = 0, height = 0;
    GetPngSize(path.c_str(), width, height);
    Bitmap32 bitmap;
    LoadPng(&bitmap, path.c_str());
}
