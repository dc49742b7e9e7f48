// A navigation bar on disk: the style files of its states and end caps that share one base
// path, the thumbnail strip, navigation-bar templates (named or numbered state files), and the
// switch between a single graphic and a bar.
#include <algorithm>
#include <memory>
#include <new>

#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "bitmap/bitmapmanip.h"
#include "document/DocumentFiles.h"
#include "navbar/NavBar.h"
#include "navbar/NavBarBitmap32.h"
#include "navbar/NavBarRenderer.h"
#include "navbar/NavBarServices.h"

namespace {

constexpr const char kUnit[] = "NavBar";
void InternalError(int line) { GetNavBarServices().SetInternalError(line, kUnit); }

constexpr const char* kSuffixes[] = {"_off", "_over", "_on", "_clicked", "_top", "_bottom", "_left", "_right"};
constexpr const char* kMarkers[] = {"#1", "#2", "#3", "#4"};
constexpr const char* kImageSuffixes[] = {"_off", "_over", "_clk", "_on", "_top", "_bottom"};
// By state: Off, Over, Clicked, Selected.
constexpr const char* kStateSuffixes[] = {"_off", "_over", "_clicked", "_on"};
constexpr const char kStyleExtension[] = ".qtw";
constexpr const char kThumbnailSuffix[] = "_off.qgt";
// Working copies of the bar in this instance's temporary folder start with this.
constexpr const char kWorkingCopyPrefix[] = "~ast7";

bool EndsWith(const CString& text, const char* suffix) {
  const int length = static_cast<int>(std::char_traits<char>::length(suffix));
  return text.GetLength() >= length && text.Right(length) == suffix;
}

bool EndsWithNoCase(const CString& text, const char* suffix) {
  const int length = static_cast<int>(std::char_traits<char>::length(suffix));
  return text.GetLength() >= length && text.Right(length).CompareNoCase(suffix) == 0;
}

CString WithoutExtension(const CString& path) {
  const int dot = path.ReverseFind('.');
  const int slash = path.ReverseFind('\\');
  return dot > slash ? path.Left(dot) : path;
}

// The path names a working copy: its file name starts "~ast7" and it lies in this instance's
// temporary folder.
bool IsWorkingCopy(const CString& path) {
  const CString folder = GetNavBarServices().GetInstanceTempFolder();
  if (folder.IsEmpty()) return false;
  const CString name = CFileUtils::GetFileName(path);
  return name.Left(5).CompareNoCase(kWorkingCopyPrefix) == 0 &&
         CFileUtils::WithBackslash(CFileUtils::GetFolder(path)).CompareNoCase(CFileUtils::WithBackslash(folder)) == 0;
}

}  // namespace

CString StripNavBarSuffix(const CString& path) {
  const CString base = WithoutExtension(path);
  for (const char* suffix : kSuffixes)
    if (EndsWith(base, suffix)) return base.Left(base.GetLength() - static_cast<int>(std::char_traits<char>::length(suffix)));
  for (const char* marker : kMarkers)
    if (EndsWith(base, marker)) return base.Left(base.GetLength() - 2);
  return CString();
}

CString GetNavBarBaseName(const CString& imageFileName) {
  CString base = WithoutExtension(imageFileName);
  for (const char* suffix : kImageSuffixes) {
    if (EndsWith(base, suffix)) {
      base = base.Left(base.GetLength() - static_cast<int>(std::char_traits<char>::length(suffix)));
      break;
    }
  }
  base = CFileUtils::RemoveTrailingDigits(base);
  if (EndsWithNoCase(base, "_b")) return base.Left(base.GetLength() - 2);
  return CString();
}

void DeleteNavBarStyleFiles(const CString& base) {
  for (const char* suffix : kSuffixes) {
    const CString path = base + suffix + kStyleExtension;
    if (FileExists(path)) DocumentFiles::RemoveFile(path);
  }
}

// ---- Saving --------------------------------------------------------------------------------

bool CNavBar::SaveStateFile(COptions& record, const CString& html, const CString& path, const CTime* fileTime) {
  record.SetTemplateFlag(0);
  record.SetModified();
  record.SetHTML(html);
  if (!record.SaveStyleFile(path, true, false)) return false;
  if (fileTime) CFileUtils::SetModifiedTime(path, *fileTime);
  return true;
}

int CNavBar::Save(const CString& path, const CTime* fileTime, bool makeThumbnail, bool setFileNames) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic || !services.HasOperationsManager() || path.IsEmpty()) return 0;
  const char* capSuffixes[2] = {m_vertical ? "_top" : "_left", m_vertical ? "_bottom" : "_right"};

  CString base = WithoutExtension(path);
  CString name = CFileUtils::GetFileName(base);
  // Only the file name's own trailing "_off" belongs to the bar; a folder may hold "_off" too.
  if (name.GetLength() > 4 && EndsWith(name, "_off")) {
    base = base.Left(base.GetLength() - 4);
    name = name.Left(name.GetLength() - 4);
  }
  if (IsWorkingCopy(path)) {
    DeleteNavBarStyleFiles(base);
    name = m_htmlName;
  }
  m_htmlName = name;
  CString html;
  if (!BuildHTMLString(name, &html)) return 0;

  bool written = true;
  for (int state = 0; state < CNavBarItem::kStateCount; ++state) {
    const CString statePath = base + kStateSuffixes[state] + kStyleExtension;
    if (setFileNames) {
      m_states[state]->SetQTWFile(statePath);
      m_states[state]->SetModified();
    }
    if (m_stateEnabled[state] && !SaveStateFile(*m_states[state], html, statePath, fileTime)) written = false;
  }
  if (HasCaps()) {
    CNavBarCapButton* caps[2] = {m_firstCap, m_secondCap};
    for (int i = 0; i < 2; ++i) {
      const CString capPath = base + capSuffixes[i] + kStyleExtension;
      if (setFileNames) caps[i]->GetRecord().SetQTWFile(capPath);
      if (!SaveStateFile(caps[i]->GetRecord(), html, capPath, fileTime)) written = false;
    }
  }

  if (makeThumbnail) {
    // The thumbnail is a convenience: without one the bar is still saved.
    if (CNavBarBitmap32* strip = BuildThumbnail()) {
      Bitmap32* image = RecolourBitmap32(strip, 0xFFFFFF, true);
      if (image) {
        const double scale = graphic->GetScale() > 0 ? graphic->GetScale() : 1.0;
        if (Bitmap32* shrunk = ShrinkBitmapAreaAverage(image, std::min(1.0, 0.8 / scale))) {
          delete image;
          image = shrunk;
        }
        services.SaveThumbnail(base + kThumbnailSuffix, *image);
        delete image;
      }
    }
  }
  return written ? 1 : 0;
}

CNavBarBitmap32* CNavBar::BuildThumbnail() {
  CNavBarBitmap32* strip = new (std::nothrow) CNavBarBitmap32(m_vertical);
  if (!strip) return nullptr;
  CNavBarServices& services = GetNavBarServices();
  services.EnablePreviewPaint(false);
  const int previous = m_currentState;
  CNavBarButton* first = GetButton(0);

  if (HasCaps()) {
    m_firstCap->RenderState(1);
    strip->AddToLayout(*m_firstCap);
    m_secondCap->RenderState(1);
    strip->AddToLayout(*m_secondCap);
  }
  for (int state = 0; state < CNavBarItem::kStateCount && first; ++state) {
    if (!m_stateEnabled[state]) continue;
    SetCurrentState(state, 0, 1);
    first->RenderState(1);
    strip->AddToLayout(*first);
  }
  if (strip->Allocate() < 0) {
    delete strip;
    strip = nullptr;
  } else {
    if (HasCaps()) strip->Append(*m_firstCap);
    for (int state = 0; state < CNavBarItem::kStateCount && first; ++state) {
      if (!m_stateEnabled[state]) continue;
      SetCurrentState(state, 0, 1);
      strip->Append(*first);
    }
    if (HasCaps()) strip->Append(*m_secondCap);
  }
  SetCurrentState(previous, 0, 1);
  services.EnablePreviewPaint(true);
  return strip;
}

// ---- Loading -------------------------------------------------------------------------------

int CNavBar::LoadFromTemplate(const CString& html, const CString& stylePath, std::vector<CString>* menuRecords,
                              const CString& settings, int coloursFromFile, int settingsOrigin) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic || !services.HasOperationsManager()) {
    InternalError(380);
    return 0;
  }
  if (html.IsEmpty()) {
    services.ReportError(32896);
    return 0;
  }
  SetCurrentState(0, 0, 1);

  // Head: name, layout word, button list.
  const char separator = html.Find(kNavBarSeparator) >= 0 ? kNavBarSeparator : '|';
  const int nameEnd = html.Find(separator);
  CString name = nameEnd < 0 ? html : html.Left(nameEnd);
  name.Trim();
  m_htmlName = name;
  if (name.GetLength() > 8 && (EndsWithNoCase(name, "_HNavbar") || EndsWithNoCase(name, "_VNavbar")))
    m_name = name.Left(name.GetLength() - 8);
  else
    m_name = name;
  CString rest = nameEnd < 0 ? CString() : html.Mid(nameEnd + 1);
  const int flagsEnd = rest.Find(separator);
  CString flags = flagsEnd < 0 ? rest : rest.Left(flagsEnd);
  flags.TrimRight();
  const unsigned layout = static_cast<unsigned>(std::strtoul(flags, nullptr, 10));
  const CString buttonList = flagsEnd < 0 ? CString() : rest.Mid(flagsEnd + 1);

  CString base = StripNavBarSuffix(stylePath);
  if (base.IsEmpty()) {
    const CString folder = graphic->GetTemplateFlag() ? graphic->GetStyleFolder()
                                                      : CFileUtils::GetFolder(graphic->GetStylePath());
    base = folder + m_htmlName;
  }
  const bool numbered = FileExists(base + "#1" + kStyleExtension);
  CString offFile, overFile, clickedFile, selectedFile;
  if (numbered) {
    offFile = base + "#1" + kStyleExtension;
    overFile = base + "#2" + kStyleExtension;
    clickedFile = base + "#4" + kStyleExtension;
    selectedFile = base + "#3" + kStyleExtension;
  } else {
    offFile = base + "_off" + kStyleExtension;
    if (!FileExists(offFile)) offFile = base + kStyleExtension;
    overFile = base + "_over" + kStyleExtension;
    clickedFile = base + "_clicked" + kStyleExtension;
    selectedFile = base + "_on" + kStyleExtension;
  }

  if (m_parseButtons) {
    m_parseButtons = 0;
    if (!ParseButtonList(buttonList, separator)) return 0;
  }
  if (menuRecords) ReadMenuRecords(menuRecords);
  if (!settings.IsEmpty()) SetSettingsString(settings);
  if (settingsOrigin != 1) MarkSettingsUserSet(settingsOrigin == 0);
  ApplyLayoutWord(layout);

  DeleteCaps();
  m_stateTemplateCount = 1;
  if (graphic->LoadStyleFile(offFile, kNavBarStateMask, -1, kLoadTemplateStyle)) {
    for (auto& record : m_states) graphic->CopyTo(*record, 0, kChangeAll);
    const struct {
      const CString& file;
      int state;
      const char* templateEnd;
    } others[] = {{clickedFile, 2, "_clicked.kiq"}, {selectedFile, 3, "_on.kiq"}, {overFile, 1, "_over.kiq"}};
    for (const auto& other : others) {
      if (!FileExists(other.file)) continue;
      if (!graphic->LoadStyleFile(other.file, kNavBarStateMask, -1, kLoadTemplateStyle)) return 0;
      graphic->CopyTo(*m_states[other.state], 0, kChangeAll);
      if (other.state == 1 && !FileExists(selectedFile)) graphic->CopyTo(*m_states[3], 0, kChangeAll);
      CString kiq = graphic->GetKiqFileName();
      if (kiq.MakeLower().Find(other.templateEnd) >= 0) ++m_stateTemplateCount;
    }
  }

  // Templates name their caps "_Left", saved bars "_left": the same file where names ignore
  // letter case, and found either way where they do not.
  const auto capFile = [&](const char* suffix) {
    const CString named = base + suffix + kStyleExtension;
    if (FileExists(named)) return named;
    CString lower = suffix;
    lower.MakeLower();
    return base + lower + kStyleExtension;
  };
  const CString firstCapFile = capFile(m_vertical ? "_Top" : "_Left");
  const CString secondCapFile = capFile(m_vertical ? "_Bottom" : "_Right");
  if (FileExists(firstCapFile) && FileExists(secondCapFile)) {
    m_firstCap = new (std::nothrow) CNavBarCapButton;
    m_secondCap = new (std::nothrow) CNavBarCapButton;
    if (!m_firstCap || !m_secondCap) {
      DeleteCaps();
      InternalError(654);
      return 0;
    }
    if (!m_firstCap->LoadStyle(firstCapFile, kNavBarStateMask)) {
      DeleteCaps();
      InternalError(660);
      return 0;
    }
    if (!m_secondCap->LoadStyle(secondCapFile, kNavBarStateMask)) {
      DeleteCaps();
      InternalError(664);
      return 0;
    }
  }
  graphic->LoadStyleFile(offFile, kNavBarStateMask, -1, kLoadTemplateStyle);

  // The first colour notification after a load is the load's own, not an edit to spread.
  m_colourSpreadingArmed = 0;
  ChooseMenuColours(coloursFromFile == 0 ? 1 : 0);
  TakeMenuFontFromGraphic();

  services.NotifyChanged(graphic, kChangeAll, false);
  m_currentState = 0;
  for (CNavBarButton* button : m_buttons) {
    button->SetState(0);
    button->DropImages();
  }
  if (HasCaps()) {
    m_firstCap->SetState(0);
    m_firstCap->DropImages();
    m_secondCap->SetState(0);
    m_secondCap->DropImages();
  }
  if (m_renderer) m_renderer->Reset();

  // Menus drop down from a row and open sideways from a column.
  if (!m_vertical && (m_menuDirection == 1 || m_menuDirection == 2)) m_menuDirection = 0;
  if (m_vertical && m_menuDirection == 0) m_menuDirection = 1;
  return 1;
}

// ---- Single graphic and bar ----------------------------------------------------------------

unsigned CNavBar::AskNavBarOrientation() { return GetNavBarServices().AskNavBarOrientation(); }

void CNavBar::SetNavBarMode(bool on) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic || !services.HasOperationsManager() || services.IsNavBarMode() == on) return;
  if (on) {
    if (CanBeNavBarButton(graphic->GetGraphicType())) ConvertGraphicToNavBar();
  } else {
    COptions& record = *m_states[m_currentState];
    graphic->CopyTo(record, 0, kNavBarStateMask);
    services.SetNavBarMode(false);
    record.SetStoryText(GetButtonText(0), 0);
    record.CopyTo(*graphic, 1, kChangeStories);
    graphic->SetConstrainedWidth(0, -1);
    services.NotifyConstraintChanged(false);
  }
}

int CNavBar::ConvertGraphicToNavBar() {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  if (!graphic) return 0;
  // Reading the state files switches the manager's mode as each file is read; a conversion that
  // fails must leave the single graphic in single-graphic mode.
  const bool modeBefore = services.IsNavBarMode();
  const int shadow = graphic->GetShadowOn();
  graphic->SetShadowOn(0);
  const CString stylePath = graphic->GetTemplateFlag() == 1 ? graphic->GetKiqFileName() : graphic->GetStylePath();
  if (stylePath.IsEmpty()) {
    graphic->SetShadowOn(shadow);
    return 0;
  }
  ResetMenuColours();
  int result = 0;
  const int type = graphic->GetGraphicType();
  if (type == kGraphicNavBar) {
    result = ApplyGraphicToStates();
  } else if (type == kGraphicButton || type == kGraphic3DHeading) {
    const unsigned answer = AskNavBarOrientation();
    if (answer != 32905 && answer != 32906) {
      graphic->SetShadowOn(shadow);
      return 0;
    }
    const bool vertical = answer == 32905;
    if (HTMLRefersToBar(graphic->GetHTML()) && vertical == IsVertical())
      result = ApplyGraphicToStates();
    else
      result = LoadFromSingleGraphic(stylePath, vertical);
  } else {
    graphic->SetShadowOn(shadow);
    return 0;
  }
  if (result) {
    services.SetNavBarMode(true);
    services.Refresh(true, 0xFFFFFFFF);
  } else {
    graphic->SetShadowOn(shadow);
    services.SetNavBarMode(modeBefore);
  }
  return result;
}

int CNavBar::ApplyGraphicToStates() {
  COptions* graphic = GetNavBarServices().GetCurrentOptions();
  if (!graphic) return 0;
  for (int state = 0; state < CNavBarItem::kStateCount; ++state) {
    const StyleChangeMask mask = state == m_currentState ? 0xFFFFAE6E : 0xFFFFAE6A;
    if (graphic->IsEqual(*m_states[state], mask)) continue;
    graphic->CopyTo(*m_states[state], 0, mask);
    for (CNavBarButton* button : m_buttons) button->SetImageValid(state, false);
  }
  for (CNavBarCapButton* cap : {m_firstCap, m_secondCap}) {
    if (!cap || graphic->IsEqual(cap->GetRecord(), 0xFFFFAE6A)) continue;
    graphic->CopyTo(cap->GetRecord(), 2, 0xFFFFAE6A);
    cap->OnGraphicChanged(0xFFFFAE6A);
    cap->SetImageValid(0, false);
  }
  if (m_renderer) m_renderer->Reset();
  OnGraphicChanged(kChangeColours, 1);
  return 1;
}

int CNavBar::LoadFromSingleGraphic(const CString& stylePath, bool vertical) {
  CNavBarServices& services = GetNavBarServices();
  COptions* graphic = services.GetCurrentOptions();
  ResetMenuColours();
  if (!graphic) return 0;
  CString base = StripNavBarSuffix(stylePath);
  if (base.IsEmpty()) base = WithoutExtension(stylePath);
  if (base.IsEmpty()) return 0;

  unsigned layout = graphic->GetHaveGotConstrainedObject() ? 0x0C9 : 0x0CA;
  if (vertical) layout |= 0x400;
  const CString root = services.GetRootPath();
  if (FileExists(root + base + "_clicked" + ".kiq") || FileExists(root + base + "#4" + ".kiq")) layout |= 0x200;
  CString html;
  html.Format("%s | %u | ", static_cast<LPCTSTR>(CFileUtils::GetFileName(base)), layout);
  html += LoadAppString(32934,
                        "Your Button Text | | (Button Name) | | Home | | (Button Name) | | Downloads | | "
                        "(Button Name) | | Links | | (Button Name) | ");
  const CString previousHtml = graphic->GetHTML();
  graphic->SetHTML(html);

  std::unique_ptr<COptions> copy(new (std::nothrow) COptions(*graphic));
  if (!copy) {
    graphic->SetHTML(previousHtml);
    return 0;
  }
  const bool loaded = LoadFromTemplate(html, CString(), nullptr, CString(), 0, 0) != 0;
  if (loaded) {
    StyleChangeMask groups = 0x3F020B;
    if (copy->GetGraphicType() == kGraphic3DHeading) groups |= kChangeColours;
    if (!copy->IsEqual(*m_states[m_currentState], 0x3F020F)) {
      for (auto& record : m_states) {
        copy->CopyTo(*record, 0, groups);
        if (copy->GetGraphicType() != kGraphic3DHeading) PropagateColours(copy.get(), record.get(), nullptr);
      }
      copy->CopyTo(*graphic, 0, groups);
      if (copy->GetGraphicType() != kGraphic3DHeading) PropagateColours(copy.get(), graphic, nullptr);
      services.NotifyChanged(graphic, 0x3F020F, true);
    }
  }
  if (!loaded) {
    // A bar that could not be built from the graphic is no bar: the single graphic stays as it
    // was and the caller does not continue in navigation-bar mode.
    *graphic = *copy;
    graphic->SetHTML(previousHtml);
    return 0;
  }
  ChooseMenuColours(0);
  return 1;
}
