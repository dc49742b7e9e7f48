#include "tests/navbar/FakeNavBarServices.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>

#include "document/DocumentFiles.h"

namespace fs = std::filesystem;

std::uint32_t FakePixel(COLORREF colour, int textLength) {
  return (colour & 0xFFFFFFu) ^ static_cast<std::uint32_t>(textLength);
}

void SetTemplateColours(COptions& record, COLORREF colour1) {
  record.SetColourCount(4, true);
  const char* names[] = {"Background", "Face", "Text", "Edge"};
  const COLORREF values[] = {0xFFFFFF, colour1, 0x000000, 0x808080};
  for (int i = 0; i < 4; ++i) {
    record.SetColourProperty(i, values[i], names[i], names[i], i, 1, names[i]);
    record.SetColourKind(i, i == 0 ? 1 : 0);
  }
}

CFakeNavBarServices::CFakeNavBarServices() {
  static std::atomic<int> counter{0};
  std::random_device random;
  const fs::path native =
      fs::temp_directory_path() / ("bw-navbar-" + std::to_string(random()) + "-" + std::to_string(counter++));
  fs::create_directories(native / "tmp");
  m_nativeFolder = native.string();
  std::string text = m_nativeFolder;
#ifndef _WIN32
  for (char& c : text)
    if (c == '/') c = '\\';
#endif
  folder = CString(text.c_str()) + "\\";
  tempFolder = folder + "tmp\\";
  SetNavBarServices(this);
  SetOptionsServices(this);
  for (const char* kiq : {"Button.kiq", "Button_over.kiq"}) WriteFile(kiq, "template");
  MakeTemplateRecord(graphic, 0x102030);
}

void CFakeNavBarServices::MakeTemplateRecord(COptions& record, COLORREF colour1, const char* kiq) const {
  record.SetGraphicType(kGraphicButton);
  record.SetKiqFileName(kiq);
  SetTemplateColours(record, colour1);
}

CFakeNavBarServices::~CFakeNavBarServices() {
  SetNavBarServices(nullptr);
  SetOptionsServices(nullptr);
  std::error_code error;
  fs::remove_all(m_nativeFolder, error);
}

bool CFakeNavBarServices::RenderCurrentGraphic(Bitmap32& image) {
  ++renders;
  const CString text = graphic.GetStoryText(0);
  renderedTexts.push_back(std::string(text));
  const int width = text.GetLength() > 0 ? 8 * text.GetLength() : 8;
  return image.CreateFilled(width, 20, FakePixel(graphic.GetColourValue(1), text.GetLength())) == 0;
}

bool CFakeNavBarServices::ShowBarImage(const Bitmap32& image, bool) {
  return shown.CreateFromPixels(image.Width(), image.Height(), image.Pixels()) == 0;
}

bool CFakeNavBarServices::LookupFontFamily(const CString& face, bool& serif, bool& bold, bool& italic) {
  if (face.CompareNoCase("Times New Roman") == 0) {
    serif = true;
    bold = false;
    italic = true;
    return true;
  }
  return false;
}

bool CFakeNavBarServices::SaveThumbnail(const CString& path, const Bitmap32& image) {
  thumbnailPath = path;
  thumbnailWidth = image.Width();
  thumbnailHeight = image.Height();
  return true;
}

bool CFakeNavBarServices::Exists(const char* name) const { return DocumentFiles::FileExists(Path(name)); }

void CFakeNavBarServices::WriteFile(const char* name, const std::string& bytes) const {
  std::ofstream out(std::string(DocumentFiles::NativePath(Path(name))), std::ios::binary);
  out << bytes;
}

void CFakeNavBarServices::MakeFolder(const char* name) const {
  fs::create_directories(std::string(DocumentFiles::NativePath(Path(name))));
}

void CFakeNavBarServices::MakeButtonRow() {
  bar.CreateDefaultButtons();
  bar.SetVertical(false);
  bar.SetSizingMode(1);
  bar.SetButtonSpacing(2);
  bar.SetStateEnabled(0, 1);
}
