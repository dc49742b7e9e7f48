#include "output/NavBarSave.h"

#include "util/FileUtils.h"
#include "util/TextFilters.h"
#include "navbar/MenuScript.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarExport.h"
#include "navbar/NavBarItem.h"
#include "output/SaveNames.h"

namespace {

bool PageInList(const std::vector<NavBarPageEntry>& list, const CString& path, std::size_t count) {
  for (std::size_t i = 0; i < count && i < list.size(); ++i)
    if (list[i].path.CompareNoCase(path) == 0) return true;
  return false;
}

CString ScriptBaseName(const CNavBar& bar) {
  CString base = bar.GetName();
  MakeScriptIdentifier(base);
  return base;
}

}  // namespace

CString GetOwnPagePath(const CNavBar& bar, const CString& folder) {
  const CString name = bar.GetName().IsEmpty() ? CString("index") : bar.GetName();
  return JoinPath(folder, name + ".html");
}

CString GetGraphicFolder(const CNavBar& bar, const CString& folder) {
  return bar.GetImageFolder().IsEmpty() ? folder : bar.GetImageFolder();
}

std::vector<CString> CNavBarSaveModel::LinkPages(CNavBar& bar, const CString& folder) const {
  std::vector<CString> pages;
  if (bar.HasMenus()) return pages;
  for (int i = 0; i < bar.GetButtonCount(); ++i)
    if (bar.IsLocalPageLink(i) && bar.HasLinkFileName(i))
      pages.push_back(CutPageAnchor(CNavBar::ResolveLink(folder, bar.GetButtonURL(i, false))));
  return pages;
}

void CNavBarSaveModel::RecomputeUnique() {
  for (std::size_t i = 0; i < m_entries.size(); ++i)
    m_entries[i].flags[kPageUnique] = PageInList(m_entries, m_entries[i].path, i) ? 0 : 1;
}

void CNavBarSaveModel::BuildPageList(CNavBar& bar, const CString& folder, bool hostedByEditor) {
  m_entries.clear();
  if (!hostedByEditor) {
    for (const CString& page : LinkPages(bar, folder)) m_entries.emplace_back(page, 1, 0, 1);
    if (m_entries.empty()) m_entries.emplace_back(GetOwnPagePath(bar, folder), 1, 0, 1);
    RecomputeUnique();
  }
  SetPageListCurrent(true);
}

void CNavBarSaveModel::RefreshPageList(CNavBar& bar, const CString& folder, bool hostedByEditor) {
  if (hostedByEditor || m_entries.empty()) return;
  const std::vector<CString> pages = LinkPages(bar, folder);
  std::size_t next = 0;
  for (const CString& page : pages) {
    if (next >= m_entries.size() || m_entries[next].IsUserAdded()) break;
    m_entries[next++].path = page;
  }
  if (pages.empty() && !m_entries[0].IsUserAdded()) m_entries[0].path = GetOwnPagePath(bar, folder);
  RecomputeUnique();
}

bool CNavBarSaveModel::AddUserPage(const CString& path) {
  if (ContainsPagePath(m_entries, path, -1)) return false;
  m_entries.emplace_back(path, 1, 1, 1);
  return true;
}

bool CNavBarSaveModel::RemoveUserPage(int index) {
  if (index < 0 || index >= static_cast<int>(m_entries.size()) || !m_entries[index].IsUserAdded()) return false;
  m_entries.erase(m_entries.begin() + index);
  RecomputeUnique();
  return true;
}

std::vector<CString> CNavBarSaveModel::CheckedPages() const {
  std::vector<CString> pages;
  for (const NavBarPageEntry& entry : m_entries)
    if (entry.flags[kPageChecked] && entry.flags[kPageUnique]) pages.push_back(entry.path);
  return pages;
}

std::vector<CString> CNavBarSaveModel::CollectOutputFiles(CNavBar& bar, const CString& folder) const {
  std::vector<CString> files = CheckedPages();
  const CString graphics = GetGraphicFolder(bar, folder);
  const CString base = ScriptBaseName(bar);
  if (!files.empty()) files.push_back(CNavBar::ResolveLink(graphics, base + ".js"));
  for (int state = 0; state < 4; ++state) {
    if (!ShouldExportState(bar, state)) continue;
    for (int i = 0; i < bar.GetButtonCount(); ++i) files.push_back(JoinPath(graphics, GetButtonImageName(base, state, i)));
  }
  if (bar.HasCaps())
    for (int cap = 0; cap < 2; ++cap) files.push_back(JoinPath(graphics, GetCapImageName(base, cap, bar.IsVertical())));
  if (bar.HasMenus() && HasSubmenus(bar)) {
    const char* side = bar.GetMenuDirection() == 2 ? "_r" : "_l";
    files.push_back(JoinPath(graphics, base + side + ".gif"));
    if (bar.GetMenuColour(1) != bar.GetMenuColour(3)) files.push_back(JoinPath(graphics, base + side + "2.gif"));
  }
  if (HasMenuSeparators(bar)) files.push_back(JoinPath(graphics, "---.gif"));
  return files;
}

std::uint64_t SaveNavBarFiles(CNavBar& bar, const CString& pagePath, const CTime* fileTime,
                              const std::vector<CString>& pages) {
  const CString withoutExtension = CFileUtils::RemoveExtension(pagePath);
  CString script = withoutExtension + ".js";
  const CString exportPage = withoutExtension + ".htm";
  if (!bar.GetImageFolder().IsEmpty()) {
    if (CFileUtils::IsSameDrive(bar.GetImageFolder(), script))
      script = JoinPath(bar.GetImageFolder(), CFileUtils::GetFileName(script));
    else
      bar.SetImageFolder(CString());
  }
  const std::uint64_t total = ExportNavBar(bar, script, exportPage, fileTime, false);
  if (total == 0) return 0;
  for (const CString& page : pages) {
    const CString path = CutPageAnchor(page);
    if (path.IsEmpty() || path.Right(1) == "\\" || path.Right(1) == "/") continue;
    WriteNavBarIntoPage(bar, path, script);  // a page that cannot be written is reported there
  }
  return total;
}
