#include "navbar/MenuScript.h"

#include <algorithm>
#include <cstdio>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarHTML.h"
#include "navbar/NavBarServices.h"
#include "navbar/WebText.h"

namespace {

constexpr int kOver = 1;
// Width of a submenu when its text cannot be measured.
constexpr int kDefaultMenuWidth = 200;
// Room for the submenu arrow, and the padding of every submenu.
constexpr int kArrowRoom = 20;
constexpr int kMenuPadding = 6;

CString Hex(COLORREF colour) {
  CString text;
  text.Format("%.2x%.2x%.2x", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  return text;
}

bool WriteBytes(const CString& path, const unsigned char* bytes, std::size_t count) {
  std::FILE* file = FileSystem::OpenStream(path, "wb");
  if (!file) return false;
  bool ok = std::fwrite(bytes, 1, count, file) == count;
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

bool HasSeparatorUnder(const CNavBarItem* item) {
  for (int i = 0; i < item->GetChildCount(); ++i) {
    const CNavBarItem* child = item->GetChild(i);
    if (CFileUtils::IsPlaceholderName(child->GetText()) || HasSeparatorUnder(child)) return true;
  }
  return false;
}

// The runtime finds relative links under the script's folder; absolute ones and URLs run as
// they are.
bool NeedsPrefix(const CString& link) {
  return !CFileUtils::IsAbsolutePath(link) && !IsScriptOrURLLink(link);
}

}  // namespace

CString MakeMenuItemLink(const CNavBarItem* item, const CString& pageFolder, const CString& link) {
  CString result = link.IsEmpty() && item ? item->GetURL() : link;
  if (result.IsEmpty()) return "javascript:;";
  return NormalizeNavBarLink(result, pageFolder);
}

bool HasSubmenus(const CNavBar& bar) {
  for (int b = 0; b < bar.GetButtonCount(); ++b) {
    const CNavBarButton* button = bar.GetButton(b);
    for (int i = 0; i < button->GetChildCount(); ++i)
      if (button->GetChild(i)->GetChildCount() > 0) return true;
  }
  return false;
}

bool HasMenuSeparators(const CNavBar& bar) {
  for (int b = 0; b < bar.GetButtonCount(); ++b)
    if (HasSeparatorUnder(bar.GetButton(b))) return true;
  return false;
}

void CollectSubmenus(std::vector<SubmenuRecord>& list, const CNavBarItem* item, const CString& name) {
  if (item->GetChildCount() == 0) return;
  list.insert(list.begin(), SubmenuRecord{item, name});
  for (int j = 0; j < item->GetChildCount(); ++j) {
    CString child;
    child.Format("%s_%d", name.GetString(), j + 1);
    CollectSubmenus(list, item->GetChild(j), child);
  }
}

int MeasureMenuText(const CString& fontFamily, const CNavBarItem* item, int fontSize, bool verticalBar) {
  CNavBarServices& services = GetNavBarServices();
  CNavBar* bar = services.GetNavBar();
  if (!bar || fontFamily.IsEmpty() || !item) return kDefaultMenuWidth;
  // The first family of the list is the font the browser will most likely use.
  const int comma = fontFamily.Find(',');
  const CString face = comma >= 0 ? fontFamily.Left(comma) : fontFamily;
  int widest = 0;
  bool arrows = false;
  for (int i = 0; i < item->GetChildCount(); ++i) {
    const CNavBarItem* entry = item->GetChild(i);
    const int width = services.MeasureTextWidthInFont(entry->GetText() + "  ", face, fontSize, bar->IsMenuBold(),
                                                      bar->IsMenuItalic());
    if (width < 0) return kDefaultMenuWidth;  // no context or font to measure with
    widest = std::max(widest, width);
    if (entry->GetChildCount() > 0) arrows = true;
  }
  int width = widest + (arrows ? kArrowRoom : 0) + 2 * bar->GetMenuBorderWidth() + kMenuPadding;
  if (!verticalBar && item->GetKind() == 1) width = std::max(width, item->Width());
  return width;
}

bool WriteArrowGif(const CString& path, int red, int green, int blue, int variant) {
  static const unsigned char kRight[13] = {0x0C, 0x8E, 0x17, 0x96, 0xBA, 0x0D, 0xD6,
                                           0x4B, 0x12, 0xCE, 0xC6, 0x60, 0x01};
  static const unsigned char kLeft[13] = {0x84, 0x6F, 0x81, 0x17, 0xBA, 0xED, 0x18,
                                          0x5C, 0x60, 0xD2, 0x46, 0x53, 0x01};
  unsigned char bytes[54] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x09, 0x00, 0x07, 0x00, 0x80, 0x00, 0x00,
                             0x00, 0x00, 0x00, static_cast<unsigned char>(red), static_cast<unsigned char>(green),
                             static_cast<unsigned char>(blue), 0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00,
                             0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x09, 0x00, 0x07, 0x00, 0x00, 0x02, 0x0D};
  std::copy(variant == 2 ? kLeft : kRight, (variant == 2 ? kLeft : kRight) + 13, bytes + 40);
  bytes[52] = 0x00;
  bytes[53] = 0x3B;
  return WriteBytes(path, bytes, sizeof bytes);
}

void MakeSeparatorShades(int red, int green, int blue, unsigned char light[3], unsigned char dark[3]) {
  const int channels[3] = {red, green, blue};
  for (int i = 0; i < 3; ++i) {
    const int c = channels[i];
    if (red + green + blue <= 384) {
      dark[i] = static_cast<unsigned char>(c);
      light[i] = static_cast<unsigned char>(c >= 180 ? 255 : c + 75);
    } else {
      light[i] = static_cast<unsigned char>(c);
      dark[i] = static_cast<unsigned char>(c <= 75 ? 0 : c - 75);
    }
  }
}

bool WriteSeparatorGif(const CString& path, int red, int green, int blue) {
  unsigned char light[3], dark[3];
  MakeSeparatorShades(red, green, blue, light, dark);
  // Colour 1 is the lighter shade (row 4), colour 2 the darker one (row 3).
  const unsigned char bytes[51] = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x08, 0x00, 0x11, 0x00, 0x00, 0x21, 0xF9, 0x04, 0x01,
      0x00, 0x00, 0x03, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x08, 0x00, 0x81, 0x00, 0x00, 0x00,
      light[0], light[1], light[2], dark[0], dark[1], dark[2], 0x00, 0x00, 0x00, 0x02, 0x04, 0x9C, 0x15,
      0x36, 0x05, 0x00, 0x3B};
  return WriteBytes(path, bytes, sizeof bytes);
}

bool WriteMenuScript(CNavBar& bar, const CString& scriptPath, const CString& baseName, const CString& pageFolder) {
  const CString folder = CFileUtils::GetFolder(scriptPath);
  CString hex[5];
  for (int k = 0; k < 5; ++k) hex[k] = Hex(bar.GetMenuColour(k));
  const CString menuClass = baseName + "_menu";
  const CString entryClass = baseName + "_plain";
  const CString hoverArrow = hex[3] != hex[1] ? "2" : "";
  const bool submenus = HasSubmenus(bar);
  const bool rightArrows = submenus && bar.GetMenuDirection() == 2;
  const bool leftArrows = submenus && !rightArrows;
  const CString side = rightArrows ? "right" : "left";
  CString linkPrefix = CFileUtils::MakeRelativePath(pageFolder, folder);
  if (!linkPrefix.IsEmpty()) {
    linkPrefix.Replace('\\', '/');
    linkPrefix = "\"" + EscapeScriptString(linkPrefix) + "\"+";
  }
  CString scriptName = CFileUtils::GetFileName(scriptPath);
  scriptName.MakeLower();
  const int transparency = bar.GetMenuTransparency();
  const int border = bar.GetMenuBorderWidth();
  const CString family = EscapeScriptString(bar.GetMenuFontFamily());
  CString entryStyle;
  entryStyle.Format(
      "text-decoration:none;border-color:#%s;border-style:solid;border-width:0px \"+bd+\"px 0px \"+bd+\"px;"
      "padding:%dpx 0px %dpx 0px;cursor:hand;display:block;font-size:%dpt;font-family:%s;",
      hex[4].GetString(), bar.GetMenuItemSpacing(), bar.GetMenuItemSpacing(), bar.GetMenuFontSize(),
      family.GetString());
  if (bar.IsMenuItalic()) entryStyle += "font-style:italic;";
  if (bar.IsMenuBold()) entryStyle += "font-weight:bold;";

  std::FILE* file = FileSystem::OpenStream(scriptPath, "wb");
  if (!file) return false;

  CString text = "// Navigation bar written by Barwright: drop-down menus\r\n";
  // The probe takes the folder of the script's own address in the page. It matches whole
  // file names only, so that "menu.js" never takes the folder from "quormenu.js".
  text += "if(typeof(loc)==\"undefined\"||loc==\"\"){var loc=\"\";if(document.body&&document.body.innerHTML){"
          "var tt=document.body.innerHTML;var ml=tt.match(/[\"']((?:[^'\"]*\\/)?)" +
          EscapeScriptRegex(scriptName) + "[\"']/i);if(ml && ml.length > 1) loc=ml[1];}}\r\n\r\n";
  CString line;
  line.Format("var bd=%d\r\n", border);
  text += line;
  text += "document.write(\"<style type=\\\"text/css\\\">\");\r\ndocument.write(\"\\n<!--\\n\");\r\n";
  if (transparency != 0) {
    line.Format("var tr=\"filter:alpha(opacity=%d);-moz-opacity:%.6g;\";if(IE5) tr=\"\";\r\n", 100 - transparency,
                (100 - transparency) * 0.01);
    text += line;
  }
  text += "document.write(\"." + menuClass + " {" + (transparency != 0 ? "\"+tr+\"" : "") +
          "z-index:999;border-color:#" + hex[4] +
          ";border-style:solid;border-width:\"+bd+\"px 0px \"+bd+\"px 0px;background-color:#" + hex[0] +
          ";position:absolute;left:0px;top:0px;visibility:hidden;}\");\r\n";
  text += "document.write(\"." + entryClass + ", a." + entryClass + ":link, a." + entryClass +
          ":visited{text-align:" + side + ";background-color:#" + hex[0] + ";color:#" + hex[1] + ";" + entryStyle +
          "}\");\r\n";
  text += "document.write(\"a." + entryClass + ":hover, a." + entryClass + ":active{background-color:#" + hex[2] +
          ";color:#" + hex[3] + ";" + entryStyle + "}\");\r\n";
  if (submenus) {
    const CString arrowClass = baseName + (rightArrows ? "_r" : "_l");
    const int variant = rightArrows ? 2 : 1;
    const COLORREF text1 = bar.GetMenuColour(1), text3 = bar.GetMenuColour(3);
    WriteArrowGif(folder + arrowClass + ".gif", text1 & 0xFF, (text1 >> 8) & 0xFF, (text1 >> 16) & 0xFF, variant);
    if (!hoverArrow.IsEmpty())
      WriteArrowGif(folder + arrowClass + "2.gif", text3 & 0xFF, (text3 >> 8) & 0xFF, (text3 >> 16) & 0xFF, variant);
    const CString a = arrowClass;
    text += "document.write(\"a." + a + ":link, a." + a + ":visited{" +
            (leftArrows ? "text-align:left;" : "text-align: right;") + "background:#" + hex[0] + " url(\"+loc+\"" +
            a + ".gif) no-repeat " + (leftArrows ? "right" : "left") + ";color:#" + hex[1] + ";" + entryStyle +
            "}\");\r\n";
    text += "document.write(\"a." + a + ":hover, a." + a + ":active{background:#" + hex[2] + " url(\"+loc+\"" + a +
            hoverArrow + ".gif) no-repeat " + (leftArrows ? "right" : "left") + ";" +
            (leftArrows ? "color: #" : "color:#") + hex[3] + ";" + entryStyle + "}\");\r\n";
  }
  text += "document.write(\"\\n-->\\n\");\r\ndocument.write(\"</style>\");\r\n\r\n";
  text += "var fc=0x" + hex[3] + ";\r\nvar bc=0x" + hex[2] + ";\r\n";
  int frames = bar.GetMenuAnimation() / 50;
  if (frames == 1) frames = 2;
  // The frame count has a name of its own: "frames" is the window's own list of frames in a
  // browser, and a test of it would never see the count undefined.
  line.Format("if(typeof(menuFrames)==\"undefined\"){var menuFrames=%d%s;}\r\n\r\n", frames,
              frames > 0 ? ";if(menuFrames>0)animate()" : "");
  text += line;

  const bool vertical = bar.IsVertical();
  const CString extension = GetExportExtension();
  const bool caps = bar.HasCaps();
  if (caps)
    line.Format("startMainMenu(\"%s\",%d,%d,", GetCapImageName(baseName, 0, vertical).GetString(),
                bar.GetFirstCap()->Height(), bar.GetFirstCap()->Width());
  else
    line = "startMainMenu(\"\",0,0,";
  text += line;
  const int justification = bar.GetJustification() == 0 ? 0 : (bar.GetJustification() == 1 ? 2 : 1);
  line.Format("%d,%d,%d)\r\n", vertical ? 1 : 2, bar.GetButtonSpacing(), justification);
  text += line;

  std::vector<SubmenuRecord> submenuList;
  for (int n = 0; n < bar.GetButtonCount(); ++n) {
    const CNavBarButton* button = bar.GetButton(n);
    const CString link = MakeMenuItemLink(button, pageFolder, bar.GetButtonURL(n, false));
    const CString expression =
        (NeedsPrefix(link) ? "loc+" + linkPrefix : CString()) + "\"" + EscapeScriptString(link);
    int direction = 2;
    if (button->GetChildCount() > 0 && vertical) direction = bar.GetMenuDirection() == 2 ? 3 : 1;
    line.Format("mainMenuItem(\"%s_b%d\",\".%s\",%d,%d,%s\",\"%s\",\"%s\",%d,%d,\"%s\");\r\n",
                baseName.GetString(), n + 1, extension.GetString(), button->Height(), button->Width(),
                expression.GetString(), EscapeScriptString(button->GetTarget()).GetString(),
                EscapeScriptString(EscapeHTMLAttribute(button->GetAltText(true))).GetString(), direction,
                bar.IsStateEnabled(kOver) ? 2 : 1, entryClass.GetString());
    text += line;
    CString name;
    name.Format("%s_b%d", baseName.GetString(), n + 1);
    CollectSubmenus(submenuList, button, name);
  }
  if (caps)
    line.Format("endMainMenu(\"%s\",%d,%d)\r\n\r\n", GetCapImageName(baseName, 1, vertical).GetString(),
                bar.GetSecondCap()->Height(), bar.GetSecondCap()->Width());
  else
    line = "endMainMenu(\"\",0,0);\r\n\r\n";
  text += line;

  bool separator = false;
  for (const SubmenuRecord& record : submenuList) {
    line.Format("startSubmenu(\"%s\",\"%s\",%d);\r\n", record.name.GetString(), menuClass.GetString(),
                MeasureMenuText(bar.GetMenuFontFamily(), record.item, bar.GetMenuFontSize(), vertical));
    text += line;
    for (int j = 0; j < record.item->GetChildCount(); ++j) {
      const CNavBarItem* entry = record.item->GetChild(j);
      const bool placeholder = CFileUtils::IsPlaceholderName(entry->GetText()) != FALSE;
      const CString entryText = placeholder ? CString("---") : EscapeScriptString(EscapeMenuText(entry->GetText()));
      const CString link = MakeMenuItemLink(entry, pageFolder, CString());
      const CString prefix = NeedsPrefix(link) ? "loc+" + linkPrefix : CString();
      const CString target = EscapeScriptString(entry->GetTarget());
      if (entry->GetChildCount() > 0 && !placeholder) {
        line.Format("mainMenuItem(\"%s_%d\",\"%s\",0,0,%s\"%s\",\"%s\",\"\",%d,1,\"%s%s\");\r\n",
                    record.name.GetString(), j + 1, entryText.GetString(), prefix.GetString(),
                    EscapeScriptString(link).GetString(), target.GetString(), rightArrows ? 3 : 1,
                    baseName.GetString(), rightArrows ? "_r" : "_l");
      } else {
        separator = separator || placeholder;
        line.Format("submenuItem(\"%s\",%s\"%s\",\"%s\",\"%s\");\r\n", entryText.GetString(), prefix.GetString(),
                    EscapeScriptString(link).GetString(), target.GetString(), entryClass.GetString());
      }
      text += line;
    }
    line.Format("endSubmenu(\"%s\");\r\n\r\n", record.name.GetString());
    text += line;
  }
  text += "loc=\"\";\r\n";

  bool ok = std::fwrite(text.GetString(), 1, static_cast<std::size_t>(text.GetLength()), file) ==
            static_cast<std::size_t>(text.GetLength());
  if (std::fclose(file) != 0) ok = false;
  if (separator) {
    const COLORREF colour = bar.GetMenuColour(border > 0 ? 4 : 1);
    WriteSeparatorGif(folder + "---.gif", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
  }
  return ok;
}
