// The font substitution file ("SysResources\FontSub.txt"). The face looked up is the input's
// first line, so that the fuzzer finds faces the file names.
#include "editors/FontNames.h"
#include "tests/fuzz/FuzzTarget.h"

#include <algorithm>

BW_FUZZ_TARGET(fontsub)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = fuzz::WriteTempFile("FontSub.txt", data, size);
    CString face(text.substr(0, std::min<std::size_t>(text.find('\n'), 64)).c_str());
    FontNames::SubstituteFromFile(CString(path.c_str()), face);
    CString arial("Arial");
    FontNames::SubstituteFromFile(CString(path.c_str()), arial);
}
