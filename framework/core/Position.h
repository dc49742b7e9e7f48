// POSITION: the opaque place of an element in a list or map, null past the last one.
#pragma once

struct BwPositionTag;
typedef BwPositionTag* POSITION;

#ifndef BEFORE_START_POSITION
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(-1))
#endif
