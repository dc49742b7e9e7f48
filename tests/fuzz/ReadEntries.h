// Walks the entry records of an open text file as the program does: until the end, where an
// empty line ends the walk; bounded, so that a fuzz input never loops for long.
#pragma once

#include "util/TextFile.h"

namespace fuzz {

inline void ReadAllEntries(CTextFile& file)
{
    for (int i = 0; i < 100000; ++i) {
        CString name;
        DWORD flags = 0;
        int value = 0;
        if (file.ReadEntry(&name, &flags, &value).IsEmpty())
            break;
    }
}

}  // namespace fuzz
