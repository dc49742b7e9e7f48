#include "navbar/NavBarScript.h"

#include <cstdio>
#include <vector>

#include "util/FileSystem.h"
#include "util/FileUtils.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarHTML.h"
#include "navbar/NavBarServices.h"
#include "navbar/WebText.h"

namespace {

constexpr int kOff = 0, kOver = 1, kSelected = 3;

// The stub is copied on in blocks of this many bytes.
constexpr std::size_t kStubBlock = 255;

bool AllTargetsFramed(const CNavBar& bar) {
  if (bar.GetButtonCount() == 0) return false;
  for (int i = 0; i < bar.GetButtonCount(); ++i) {
    const CString target = bar.GetButton(i)->GetTarget();
    if (target.IsEmpty() || target.CompareNoCase("_self") == 0 || target.CompareNoCase("_top") == 0 ||
        target.CompareNoCase("_parent") == 0)
      return false;
  }
  return true;
}

CString CapCell(const CString& baseName, const CString& suffix, const CNavBarItem* cap) {
  CString cell;
  cell.Format(
      "document.write(\"<td><img src=\\\"\"+loc+\"%s%s\"+gtype+\"\\\" alt=\\\"\\\" width=\\\"%d\\\" "
      "height=\\\"%d\\\"></td>\");",
      static_cast<LPCTSTR>(EscapeScriptString(baseName)), static_cast<LPCTSTR>(suffix), cap->Width(),
      cap->Height());
  return cell;
}

// The x offset of a button in a vertical bar whose buttons keep their own widths.
int ButtonOffset(const CNavBar& bar, const CNavBarButton* button) {
  if (!bar.IsVertical() || bar.GetSizingMode() != 1 || bar.GetJustification() == 0) return 0;
  if (bar.GetJustification() == 2) return -1;  // right
  return (bar.GetBarWidth() - button->Width()) / 2;
}

}  // namespace

bool WriteNavBarScript(CNavBar& bar, const CString& scriptPath, const CString& baseName, bool noLinks,
                       const CString& pageFolder) {
  CNavBarServices& services = GetNavBarServices();
  COptions* options = services.GetCurrentOptions();
  const CString gtype = "." + CFileUtils::ExtensionForGraphicType(options ? options->GetExportType() : 0);
  CString scriptName = CFileUtils::GetFileName(scriptPath);
  scriptName.MakeLower();
  CString pagePrefix = CFileUtils::MakeRelativePath(pageFolder, CFileUtils::GetFolder(scriptPath));
  pagePrefix.Replace('\\', '/');

  const bool over = bar.IsStateEnabled(kOver) != 0;
  const bool selected = bar.IsStateEnabled(kSelected) != 0;
  bool distinctSelected = true;
  if (over && selected && bar.GetButtonCount() > 0) {
    services.EnablePreviewPaint(false);
    distinctSelected = !bar.IsOverSameAsSelected(0, false);
    services.EnablePreviewPaint(true);
  }
  const bool picking = selected && (noLinks || AllTargetsFramed(bar));

  std::FILE* file = FileSystem::OpenStream(scriptPath, "wb");
  if (!file) return false;

  const CString base = EscapeScriptString(baseName);
  CString text = "// Navigation bar written by Barwright: rollover buttons\r\n";
  text += "var clicked=\"\";var gtype=\"" + EscapeScriptString(gtype) + "\";";
  text += "var selstate=\"";
  text += (selected && distinctSelected) ? "_on" : (over ? "_over" : "");
  text += "\";";
  // The probe takes the folder of the script's own address in the page. It matches whole
  // file names only, so that "menu.js" never takes the folder from "quormenu.js".
  text += "if (typeof(loc)==\"undefined\" || loc==\"\"){var loc=\"\";if (document.body&&document.body.innerHTML){"
          "var tt=document.body.innerHTML;var ml=tt.match(/[\"']((?:[^'\"]*\\/)?)" +
          EscapeScriptRegex(scriptName) + "[\"']/i);if(ml && ml.length > 1) loc=ml[1];}}";
  CString line;
  line.Format("document.write(\"<table border=\\\"0\\\" cellspacing=\\\"%d\\\" cellpadding=\\\"0\\\"><tr>\");",
              bar.GetButtonSpacing());
  text += line;
  const bool caps = bar.HasCaps();
  if (caps) text += CapCell(baseName, GetCapSuffix(0, bar.IsVertical()), bar.GetFirstCap());
  text += "tr(false);";
  for (int i = 0; i < bar.GetButtonCount(); ++i) {
    const CNavBarButton* button = bar.GetButton(i);
    CString links = "\"\",\"\"";
    if (!noLinks) {
      const CString link = NormalizeNavBarLink(bar.GetButtonURL(i, false), pageFolder);
      const CString prefix = (link.IsEmpty() || IsScriptOrURLLink(link))
                                 ? CString("\"\"")
                                 : "loc+\"" + EscapeScriptString(pagePrefix) + "\"";
      links = prefix + ",\"" + EscapeScriptString(link.IsEmpty() ? CString("javascript:;") : link) + "\"";
    }
    line.Format("writeButton(%s,\"%s_b%d\",%d,%d,\"%s\",\"%s\",%d);", static_cast<LPCTSTR>(links),
                static_cast<LPCTSTR>(base), i + 1, button->Width(), button->Height(),
                static_cast<LPCTSTR>(EscapeScriptString(EscapeHTMLAttribute(button->GetAltText(true)))),
                static_cast<LPCTSTR>(EscapeScriptString(button->GetTarget())), ButtonOffset(bar, button));
    text += line;
  }
  text += "tr(true);";
  if (caps) text += CapCell(baseName, GetCapSuffix(1, bar.IsVertical()), bar.GetSecondCap());
  text += "document.write(\"</tr></table>\");";
  if (picking) text += "pick(\"" + base + "_b1\");";
  text += "loc=\"\";";
  text += "function tr(b){";
  if (bar.IsVertical()) text += "if (b) document.write(\"<tr>\");else document.write(\"</tr>\");";
  text += "}";
  if (over)
    text += "function turn_over(name) {if (document.images != null && clicked != name) "
            "{document[name].src = document[name+\"_over\"].src;}}";
  if (over || selected)
    text += "function turn_off(name) {if (document.images != null && clicked != name) "
            "{document[name].src = document[name+\"_off\"].src;}}";
  if (picking) {
    text += "function pick(name) {";
    text += distinctSelected ? "if (document.images && name!=\"\") document[name].src = document[name + \"_on\"].src;"
                             : "turn_over(name);";
    text += "var t = clicked;clicked = name;if (t != \"\") turn_off(t);}";
  }
  text += "function reg(gname,name){if (document.images){document[name+\"_off\"] = new Image();"
          "document[name+\"_off\"].src = loc+gname+gtype;";
  if (over)
    text += "document[name+\"_over\"] = new Image();document[name+\"_over\"].src = loc+gname+\"_over\"+gtype;";
  if (selected)
    text += "document[name+\"_on\"] = new Image();document[name+\"_on\"].src = loc+gname+\"_on\"+gtype;";
  text += "}}";
  text += "function evs(name){ return \"";
  if (picking) text += " onClick=\\\"pick('\"+ name + \"')\\\"";
  if (over)
    text += " onmouseover=\\\"turn_over('\"+ name + \"')\\\" onmouseout=\\\"turn_off('\"+ name + \"')\\\"";
  text += "\"}";

  bool ok = std::fwrite(text.GetString(), 1, static_cast<std::size_t>(text.GetLength()), file) ==
            static_cast<std::size_t>(text.GetLength());
  CString stubPath = services.GetRootPath();
  CFileUtils::AddBackslash(stubPath);
  stubPath += selected ? "SysResources\\navstub.js" : "SysResources\\navstub2.js";
  std::FILE* stub = FileSystem::OpenStream(stubPath, "rb");
  if (!stub) {
    ok = false;
  } else {
    char block[kStubBlock];
    std::size_t count;
    while ((count = std::fread(block, 1, sizeof block, stub)) > 0)
      if (std::fwrite(block, 1, count, file) != count) ok = false;
    std::fclose(stub);
  }
  if (std::fclose(file) != 0) ok = false;
  return ok;
}
