#include "navbar/NavBarExport.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "util/FileUtils.h"
#include "util/TextFilters.h"
#include "bitmap/BitmapExporter.h"
#include "bitmap/ExportBitmap.h"
#include "bitmap/SaveGif.h"
#include "document/Options.h"
#include "document/OptionsExportRecord.h"
#include "document/OptionsServices.h"
#include "navbar/MenuScript.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarHTML.h"
#include "navbar/NavBarScript.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr unsigned kMsgScriptFailed = 32951;
constexpr unsigned kMsgImagesFailed = 32952;
constexpr int kSelected = 3;

// Turns preview painting off for its lifetime and puts the bar back into the state it was in.
class ExportScope {
 public:
  explicit ExportScope(CNavBar& bar) : m_bar(bar), m_state(bar.GetCurrentState()) {
    GetNavBarServices().EnablePreviewPaint(false);
  }
  ~ExportScope() {
    if (m_bar.GetCurrentState() != m_state) {
      if (m_state != 0) m_bar.SetCurrentState(0, 0, 1);
      m_bar.SetCurrentState(m_state, 1, 1);
    }
    GetNavBarServices().EnablePreviewPaint(true);
  }

 private:
  CNavBar& m_bar;
  int m_state;
};

}  // namespace

bool ShouldExportState(CNavBar& bar, int state) {
  if (!bar.IsStateEnabled(state)) return false;
  if (state != kSelected) return true;
  GetNavBarServices().EnablePreviewPaint(false);
  const bool same = bar.IsOverSameAsSelected(0, false);
  GetNavBarServices().EnablePreviewPaint(true);
  return !same;
}

bool ExportItemImage(CNavBarItem* item, const CString& path, Bitmap32* background, int offsetX, int offsetY,
                     const CTime* modifiedTime, COptions* options, std::uint64_t* size) {
  CNavBarServices& services = GetNavBarServices();
  if (!item) {
    services.SetInternalError(396, "NavBarHTML");
    return false;
  }
  if (!options) {
    services.SetInternalError(397, "NavBarHTML");
    return false;
  }
  COptionsExportRecord record(*options);
  CExportBitmapFromOptions composition;
  if (composition.SetFromOptions(&record) < 0) return false;
  Bitmap32 output;
  if (output.CreateFilled(item->Width(), item->Height(), 0) < 0) return false;
  if (composition.SetOutputFromBitmap(&output) < 0 || composition.SetGraphicFromBitmap(item) < 0) return false;
  if (background) {
    if (composition.SetBackgroundImageFromBitmap(background) < 0 ||
        composition.SetBackgroundOffset(offsetX, offsetY) < 0)
      return false;
  }
  if (composition.Compose() < 0) return false;
  if (!SaveGraphic(path, &output)) return false;
  if (modifiedTime) CFileUtils::SetModifiedTime(path, *modifiedTime);
  if (size) *size = GetPathFileSize(path);
  return true;
}

std::uint64_t ExportButtonImages(CNavBar& bar, const CString& folder, const CString& baseName,
                                 const CTime* modifiedTime) {
  CNavBarServices& services = GetNavBarServices();
  if (!services.GetCurrentOptions()) return 0;
  ExportScope scope(bar);
  const int count = bar.GetButtonCount();
  const bool vertical = bar.IsVertical();
  // The largest size of each button over the enabled states, as many as the bar has.
  std::vector<int> widths(static_cast<std::size_t>(count), 0), heights(static_cast<std::size_t>(count), 0);
  std::unique_ptr<Bitmap32> tile;
  for (int state = 0; state < 4; ++state) {
    if (!bar.IsStateEnabled(state)) continue;
    bar.SetCurrentState(state, 1, 1);
    for (int j = 0; j < count; ++j) {
      const CNavBarButton* button = bar.GetButton(j);
      widths[static_cast<std::size_t>(j)] = std::max(widths[static_cast<std::size_t>(j)], button->Width());
      heights[static_cast<std::size_t>(j)] = std::max(heights[static_cast<std::size_t>(j)], button->Height());
    }
    COptions* options = services.GetCurrentOptions();
    if (state == 0 && options && options->GetUserBitmapPixels() && options->GetUserBitmapWidth() > 0 &&
        options->GetUserBitmapHeight() > 0) {
      tile.reset(new Bitmap32);
      if (tile->CreateFromPixels(options->GetUserBitmapWidth(), options->GetUserBitmapHeight(),
                                 reinterpret_cast<const std::uint32_t*>(options->GetUserBitmapPixels())) < 0)
        tile.reset();
    }
  }
  bar.SetCurrentState(0, 1, 1);
  int firstCap = 0, secondCap = 0;
  if (bar.HasCaps()) {
    firstCap = vertical ? bar.GetFirstCap()->Height() : bar.GetFirstCap()->Width();
    secondCap = vertical ? bar.GetSecondCap()->Height() : bar.GetSecondCap()->Width();
  }
  int sumWidths = 0, sumHeights = 0;
  for (int j = 0; j < count; ++j) {
    sumWidths += widths[static_cast<std::size_t>(j)];
    sumHeights += heights[static_cast<std::size_t>(j)];
  }

  const CString extension = GetExportExtension();
  std::uint64_t total = 0;
  for (int state = 0; state < 4; ++state) {
    if (!ShouldExportState(bar, state)) continue;
    bar.SetCurrentState(state, 0, 1);
    COptions* options = services.GetCurrentOptions();
    std::uint64_t size = 0;
    if (state == 0 && bar.HasCaps()) {
      if (!ExportItemImage(bar.GetFirstCap(), MakeOutputPath(folder, baseName + GetCapSuffix(0, vertical), 0, extension),
                           tile.get(), 0, (tile && vertical) ? secondCap + sumHeights : 0, modifiedTime, options, &size))
        return 0;
      total += size;
      if (!ExportItemImage(bar.GetSecondCap(), MakeOutputPath(folder, baseName + GetCapSuffix(1, vertical), 0, extension),
                           tile.get(), (tile && !vertical) ? firstCap + sumWidths : 0, 0, modifiedTime, options, &size))
        return 0;
      total += size;
    }
    int before = 0, after = sumHeights;
    for (int j = 0; j < count; ++j) {
      after -= heights[static_cast<std::size_t>(j)];
      CString name;
      name.Format("%s_b%d%s", baseName.GetString(), j + 1, GetStateSuffix(state).GetString());
      // Vertical offsets count upwards from the bottom of the bar.
      const int x = (tile && !vertical) ? firstCap + before : 0;
      const int y = (tile && vertical) ? secondCap + after : 0;
      if (!ExportItemImage(bar.GetButton(j), MakeOutputPath(folder, name, 0, extension), tile.get(), x, y,
                           modifiedTime, options, &size))
        return 0;
      total += size;
      before += widths[static_cast<std::size_t>(j)];
    }
  }
  return total;
}

std::uint64_t ExportNavBar(CNavBar& bar, CString& scriptPath, const CString& pagePath, const CTime* modifiedTime,
                           bool noLinks) {
  CString baseName = CFileUtils::RemoveExtension(CFileUtils::GetFileName(scriptPath));
  MakeScriptIdentifier(baseName);
  const CString folder = CFileUtils::GetFolder(scriptPath);
  scriptPath = folder + baseName + ".js";
  CFileUtils::CreateFolder(scriptPath, TRUE);
  const CString pageFolder = CFileUtils::GetFolder(pagePath);
  const bool written = bar.HasMenus() ? WriteMenuScript(bar, scriptPath, baseName, pageFolder)
                                      : WriteNavBarScript(bar, scriptPath, baseName, noLinks, pageFolder);
  if (!written) {
    GetOptionsServices().InformWarningWithPath(kMsgScriptFailed, scriptPath);
    return 0;
  }
  const std::uint64_t total = ExportButtonImages(bar, folder, baseName, modifiedTime);
  if (total == 0) {
    GetOptionsServices().InformWarningWithPath(kMsgImagesFailed, baseName);
  }
  return total;
}
