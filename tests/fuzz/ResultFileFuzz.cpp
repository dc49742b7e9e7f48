// The result file an editor request reads back from Barwright.
#include "integration/ResultFile.h"
#include "tests/fuzz/FuzzTarget.h"

BW_FUZZ_TARGET(resultfile)
{
    const integration::ResultFileContents contents =
        integration::ParseResultText(std::string(reinterpret_cast<const char*>(data), size));
    if (contents.snippetId.size() > integration::kResultValueMax ||
        contents.previewHtml.size() > integration::kResultValueMax || contents.liveHtml.size() > integration::kResultValueMax)
        __builtin_trap();  // a value beyond the module's limit would overrun its buffers
}
