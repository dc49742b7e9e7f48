// The style file's keys with their property ids and change-group masks.
//
// The change mask names the groups of settings a key belongs to (0x1 stories, 0x2 font and
// spacing, 0x4 colours, 0x8 texture files, 0x10 shadow, 0x20 italic, 0x80 replacement and button
// states, 0x100 template, colour and texture lists, 0x200 size and constraints, 0x800 browse
// folders, 0x1000 export settings, 0x2000 text position, 0x4000 HTML, menu and image folder,
// 0x10000 bevel indent, 0x20000 bevel contrast, 0x40000 bevel type, 0x80000 bevel light angle,
// 0x100000 corner style, 0x200000 outline). A partial load applies a key only when its mask
// lies within the groups asked for.
#pragma once

#include "framework/core/WinTypes.h"

struct StylePropertyRow {
    int id;             // 2 to 86; 0 is "no such key"
    const char* name;   // the key as style files hold it
    DWORD changeMask;
};

const int kStylePropertyCount = 85;

// Sorted by name without regard to the case of ASCII letters (the lookup's binary search
// relies on it).
extern const StylePropertyRow StylePropertyTable[kStylePropertyCount];

// The id of the row whose name equals name ignoring ASCII case, with its change mask through
// changeMask (may be null); id 0 and mask 0 when there is none.
int LookupPropertyName(const char* name, DWORD* changeMask);
