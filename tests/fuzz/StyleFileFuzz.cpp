// Style files (".qtw"): read into the option record with every part, then written back and read
// again; the sizes a file gives are asked for as the views ask for them.
#include "document/Options.h"
#include "tests/document/FakeOptionsServices.h"
#include "tests/fuzz/FuzzTarget.h"

BW_FUZZ_TARGET(stylefile)
{
    CFakeOptionsServices services;
    services.WriteRootFile("fuzz.qtw", std::string(reinterpret_cast<const char*>(data), size));
    COptions record;
    if (!record.LoadStyleFile(services.RootFile("fuzz.qtw"), kChangeAll, -1, kLoadUserWork))
        return;
    int width = 0, height = 0;
    record.GetOutputSize(width, height);
    record.GetPixelWidth(false);
    record.GetPixelHeight(false);
    for (int story = 0; story < 2; ++story) {
        record.GetFontSize(story);
        record.GetFontSizeOriginal(story);
    }
    record.PixelsToUnits(width);
    if (record.SaveStyleFile(services.RootFile("again.qtw"), false, true)) {
        COptions again;
        again.LoadStyleFile(services.RootFile("again.qtw"), kChangeAll, -1, kLoadUserWork);
    }
}
