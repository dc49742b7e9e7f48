// One template slot as the engine client read it, with the program's property key.
#pragma once

#include "framework/core/CString.h"

struct CTemplateSlotInfo {
  int type = 0;         // the engine's slot type
  CString value;        // the slot's value as read
  CString tag;          // the engine's tag, possibly rewritten to address a text object
  CString key;          // the program's property key ("TEXTSTRING", "COLOUR", ...)
  CString name;         // the slot name, kept only when it decided the mapping
  CString description;  // lower-cased
  int inUse = 1;        // 0 for a text slot that repeats an earlier one's text
};
