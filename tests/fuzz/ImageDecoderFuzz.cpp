// The image importer's decoders: GIF, JPEG, BMP (and PNG through the same entry).
#include "components/imgrex/ImageDecoder.h"
#include "tests/fuzz/FuzzTarget.h"

#include <vector>

BW_FUZZ_TARGET(imgrex)
{
    imgrex::ImageInfo info{};
    imgrex::ReadInfo(data, size, info);
    std::vector<std::uint32_t> pixels;
    imgrex::Decode(data, size, info, pixels);
    pixels.clear();
    imgrex::DecodeGif(data, size, info, pixels);
    pixels.clear();
    imgrex::DecodeBmp(data, size, info, pixels);
}
