// The drop-down menu script of a navigation bar: run by the menu runtime quormenu.js, it
// writes the menus' style sheet, sets their colours and animation, and describes the bar and
// every submenu through calls into the runtime. The small GIF images its style sheet refers
// to (submenu arrows, the separator line) are written beside it.
#pragma once

#include <vector>

#include "framework/core/CString.h"

class CNavBar;
class CNavBarItem;

// One submenu: the item whose entries form it and its name in the script.
struct SubmenuRecord {
  const CNavBarItem* item;
  CString name;
};

// Writes the script to scriptPath (CR LF line ends); false when it cannot be created. Images
// that cannot be written are skipped.
bool WriteMenuScript(CNavBar& bar, const CString& scriptPath, const CString& baseName, const CString& pageFolder);

// The link of a button or menu entry as the page reaches it: link, or the entry's own when
// empty; "javascript:;" when there is none.
CString MakeMenuItemLink(const CNavBarItem* item, const CString& pageFolder, const CString& link);
// Some entry of some button's menu has entries of its own.
bool HasSubmenus(const CNavBar& bar);
// Some menu entry at any depth is a separator (empty or only "-" and "_").
bool HasMenuSeparators(const CNavBar& bar);
// Adds the submenus under item (named name) to the front of list, depth first, so that every
// submenu comes before the one that contains it.
void CollectSubmenus(std::vector<SubmenuRecord>& list, const CNavBarItem* item, const CString& name);
// The width in pixels of the submenu of item.
int MeasureMenuText(const CString& fontFamily, const CNavBarItem* item, int fontSize, bool verticalBar);

// A 9 x 7 arrow in one colour: variant 1 points right, variant 2 points left.
bool WriteArrowGif(const CString& path, int red, int green, int blue, int variant);
// A 1 x 8 separator line of two shades of the colour.
bool WriteSeparatorGif(const CString& path, int red, int green, int blue);
// The lighter shade (light) and the darker shade (dark) of the separator around colour.
void MakeSeparatorShades(int red, int green, int blue, unsigned char light[3], unsigned char dark[3]);
