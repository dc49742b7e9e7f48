// Change groups of a graphic: one bit each of a 32-bit StyleChangeMask. The style-file reader
// applies a key only when the caller's mask covers the key's groups; COptions::CopyTo copies and
// COptions::IsEqual compares the record group by group; change notifications name the groups.
#pragma once

#include <cstdint>

using StyleChangeMask = std::uint32_t;

enum : StyleChangeMask {
  kChangeStories = 0x1,           // story texts and their number
  kChangeFonts = 0x2,             // fonts, styles, sizes, spacing, alignment; graphic type
  kChangeColours = 0x4,           // colour values, replacement colour, colour button state
  kChangeTextures = 0x8,          // texture files and names
  kChangeShadow = 0x10,
  kChangePixelWidth = 0x20,       // reader only
  kChangePixelHeight = 0x40,      // reader only
  kChangePanels = 0x80,           // panel preferences, button states, replacement flag
  kChangeTemplate = 0x100,        // template, colour and texture lists, counts, indexes
  kChangeSize = 0x200,
  kChangeAspectRatio = 0x400,     // reader only
  kChangeBrowseFolders = 0x800,
  kChangeExport = 0x1000,
  kChangeTextPosition = 0x2000,
  kChangeNavBar = 0x4000,         // HTML, menu records and settings, image folder
  kChangeBackgroundColour = 0x8000,
  kChangeBevelIndent = 0x10000,
  kChangeBevelContrast = 0x20000,
  kChangeBevelType = 0x40000,
  kChangeBevelLightAngle = 0x80000,
  kChange3DCornerStyle = 0x100000,
  kChange3DOutline = 0x200000,
  kChangeKeepBackground = 0x400000,  // reader only
  kChangePicture = 0x800000,         // compare only
  kChangeNavBarReload = 0x1000000,   // reader only
  kChangeBevelAnd3D = 0x3F0000,
  kChangeAll = 0xFFFFFFFF,
};
