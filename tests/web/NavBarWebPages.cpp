// Writes navigation bar pages for the browser tests into a folder:
//   rollover-h.html  a row with end caps and the Over state
//   rollover-v.html  a column with end caps, the Over and Selected states
//   menu.html        a row whose buttons have menus two levels deep
//   menuv.html       a column of the same, menus opening to the right, unfolding
// Usage: navbar_web_pages <output folder> <program root>. Images are small single-colour
// GIFs so that every name the scripts ask for exists.
#include <cstdio>
#include <string>
#include <vector>

#include "util/FileUtils.h"
#include "navbar/MenuScript.h"
#include "navbar/NavBarHTML.h"
#include "navbar/NavBarScript.h"
#include "tests/navbar/FakeNavBarServices.h"

namespace {

// Paths as the program writes them: backslashes, read back as "/" by the host build.
CString ProgramPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path.c_str();
}

class PageServices : public CFakeNavBarServices {
 public:
  CString root;
  CString GetRootPath() override { return root; }
};

void Image(const CString& folder, const CString& name, int shade) {
  WriteSeparatorGif(folder + name + ".gif", shade, 255 - shade, 128);
}

// Loads end caps into the bar, as a bar read from its style files has them.
bool AddCaps(PageServices& services, CNavBar& bar) {
  COptions record;
  services.MakeTemplateRecord(record, 0x10);
  for (const char* name : {"E_off.qtw", "E_left.qtw", "E_right.qtw"})
    if (!record.SaveStyleFile(services.Path(name))) return false;
  CString html;
  html.Format("E%c%u", kNavBarSeparator, 2u | 8u | 0x40u | (3u << 16));
  return bar.LoadFromTemplate(html, services.Path("E_off.qtw"), nullptr, CString(), 1, 0) == 1 && bar.HasCaps();
}

bool Buttons(CNavBar& bar, const std::vector<CString>& texts, const std::vector<CString>& links) {
  std::vector<CString> alts(texts.size(), "(Button Name)"), targets(texts.size());
  if (bar.SetButtons(texts, links, alts, targets) != 1) return false;
  for (int i = 0; i < bar.GetButtonCount(); ++i) bar.GetButton(i)->CreateFilled(100 + 10 * i, 24, 1);
  return true;
}

void States(CNavBar& bar, bool over, bool selected) {
  bar.SetStateEnabled(0, 1);
  bar.SetStateEnabled(1, over);
  bar.SetStateEnabled(2, 0);
  bar.SetStateEnabled(3, selected);
}

void ButtonImages(CNavBar& bar, const CString& folder, const CString& base, bool over, bool selected) {
  for (int i = 0; i < bar.GetButtonCount(); ++i) {
    CString name;
    name.Format("%s_b%d", base.GetString(), i + 1);
    Image(folder, name, 10);
    if (over) Image(folder, name + "_over", 100);
    if (selected) Image(folder, name + "_on", 200);
  }
  if (bar.HasCaps())
    for (int cap = 0; cap < 2; ++cap) Image(folder, base + GetCapSuffix(cap, bar.IsVertical()), 50);
}

bool RolloverPage(PageServices& services, const CString& out, const char* page, bool vertical, bool selected) {
  CNavBar& bar = services.bar;
  if (!AddCaps(services, bar)) return false;
  bar.SetVertical(vertical);
  bar.SetButtonSpacing(2);
  States(bar, true, selected);
  if (!Buttons(bar, {"Home", "News", "Contact"}, {"rollover-v.html", "news.html", "javascript:;"})) return false;
  bar.GetButton(0)->SetStateComparison(2);  // Selected differs from Over
  const CString base = vertical ? "navv" : "navh";
  const CString script = out + "js\\" + base + ".js";
  CFileUtils::CreateFolder(script, TRUE);
  if (!WriteNavBarScript(bar, script, base, false, out)) return false;
  ButtonImages(bar, out + "js\\", base, true, selected);
  return WriteNewNavBarPage(out + page, MakeNavBarScriptTag(script, out, CString()));
}

bool MenuPage(PageServices& services, const CString& out, bool vertical) {
  CNavBar& bar = services.bar;
  bar.SetVertical(vertical);
  bar.SetMenuDirection(1);
  if (vertical) bar.SetMenuAnimation(150);
  States(bar, true, false);
  if (!Buttons(bar, {"Products", "About"}, {"products.html", "about.html"})) return false;
  const COLORREF colours[] = {0xF0F0F0, 0x202020, 0x803000, 0xFFFFFF, 0x404040};
  for (int k = 0; k < 5; ++k) bar.SetMenuColour(k, colours[k]);
  bar.SetMenuBorderWidth(1);
  bar.SetMenuTransparency(10);
  CNavBarMenuItem* tools = bar.GetButton(0)->AppendChild(nullptr);
  tools->SetText("Tools");
  tools->SetURL("tools.html", false);
  for (const char* text : {"Hammer", "Saw <fine>"}) {
    CNavBarMenuItem* item = tools->AppendChild(nullptr);
    item->SetText(text);
    item->SetURL("javascript:;", false);
  }
  bar.GetButton(0)->AppendChild(nullptr)->SetText("");
  CNavBarMenuItem* parts = bar.GetButton(0)->AppendChild(nullptr);
  parts->SetText("Parts \"all\"");
  parts->SetURL("javascript:;", false);
  CNavBarMenuItem* team = bar.GetButton(1)->AppendChild(nullptr);
  team->SetText("Team");
  team->SetURL("javascript:;", false);
  const CString base = vertical ? "menuv" : "menu";
  const CString script = out + base + ".js";
  if (!WriteMenuScript(bar, script, base, out)) return false;
  ButtonImages(bar, out, base, true, false);
  return WriteNewNavBarPage(out + base + ".html", MakeMenuScriptTag(script, out, CString()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: navbar_web_pages <output folder> <program root>\n");
    return 2;
  }
  const CString out = ProgramPath(argv[1]);
  const CString root = ProgramPath(argv[2]);
  struct Page {
    const char* name;
    bool (*write)(PageServices&, const CString&);
  };
  const Page pages[] = {
      {"rollover-h.html", [](PageServices& s, const CString& o) { return RolloverPage(s, o, "rollover-h.html", false, false); }},
      {"rollover-v.html", [](PageServices& s, const CString& o) { return RolloverPage(s, o, "rollover-v.html", true, true); }},
      {"menu.html", [](PageServices& s, const CString& o) { return MenuPage(s, o, false); }},
      {"menuv.html", [](PageServices& s, const CString& o) { return MenuPage(s, o, true); }},
  };
  for (const Page& page : pages) {
    PageServices services;
    services.root = root;
    services.graphic.SetExportType(0);  // GIF
    services.bar.CreateDefaultButtons();
    if (!page.write(services, out)) {
      std::fprintf(stderr, "could not write %s\n", page.name);
      return 1;
    }
  }
  return 0;
}
