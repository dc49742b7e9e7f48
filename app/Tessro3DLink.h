// The program's use of Tessro3D: set up at start-up, released at exit. The executable binds
// the library's ordinals and fills this in before start-up; without it (tests) nothing is
// called.
#pragma once

struct Tessro3DLink {
    void (*setUp)();    // memory handlers (6), built-in palette (8, mode 2) set as current (9)
    void (*release)();  // every buffer back through the release callback (3)
};

void SetTessro3DLink(const Tessro3DLink& link);
const Tessro3DLink& GetTessro3DLink();
