// The template generator on fixture template folders: style files, GIF thumbnails, logo folder
// icons, photo thumbnails, composed navigation-bar previews, the generator's list and the
// type-file maintenance. The engine is the test stand-in (one flat colour); pictures are read
// with the importer's own decoders.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "util/AppUtilServices.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/ImageImport.h"
#include "components/imgrex/ImageDecoder.h"
#include "document/OperationsManager.h"
#include "document/OperationsOptionsServices.h"
#include "document/OptionsExportRecord.h"
#include "document/RenderRequest.h"
#include "framework/win/Wnd.h"
#include "document/TemplateCOM.h"
#include "gallery/AutoGenerateTemplates.h"
#include "raster/Tessro.h"
#include "bitmap/TessroContextConversion.h"
#include "tests/opsmanager/FakeOperationsServices.h"
#include "tests/opsmanager/FakeStyleKitEngine.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The importer's decoders in place of the COM server.
class DecoderImporter : public ImageImporter {
 public:
  HRESULT Open(const char* path, long& handle) override {
    std::vector<std::uint8_t> bytes;
    if (!imgrex::ReadFileBytes(path, bytes)) return E_FAIL;
    if (imgrex::Decode(bytes.data(), bytes.size(), m_info, m_pixels) != imgrex::Result::kOk) return E_FAIL;
    handle = 1;
    return S_OK;
  }
  HRESULT Info(long, long& width, long& height, long& bits) override {
    width = m_info.width;
    height = m_info.height;
    bits = 32;
    return S_OK;
  }
  HRESULT Read(long, long count, void* destination) override {
    if (static_cast<std::size_t>(count) > m_pixels.size() * 4) return E_FAIL;
    std::memcpy(destination, m_pixels.data(), static_cast<std::size_t>(count));
    return S_OK;
  }
  static HRESULT Create(std::unique_ptr<ImageImporter>& importer) {
    importer.reset(new DecoderImporter);
    return S_OK;
  }

 private:
  imgrex::ImageInfo m_info;
  std::vector<std::uint32_t> m_pixels;
};

// Thumbnails render through the preview, as the program's exports do.
struct PreviewBitmapServices : BitmapServices {
  explicit PreviewBitmapServices(COptions& record) : exportRecord(record) {}
  ExportRecord* GetOptions() override { return &exportRecord; }
  TessroConversion* GetTessroContext() override { return &conversion; }
  bool RenderPreview(int redraw, int flags) override { return ::RenderPreview(redraw, static_cast<DWORD>(flags)) != 0; }
  Bitmap32* GetRenderedBitmap(int width, int height) override {
    std::unique_ptr<std::uint32_t[]> pixels(::GetRenderedBitmap(&width, &height));
    if (!pixels) return nullptr;
    std::unique_ptr<Bitmap32> bitmap(new Bitmap32);
    if (bitmap->CreateFromPixels(width, height, pixels.get()) != 0) return nullptr;
    return bitmap.release();
  }
  COptionsExportRecord exportRecord;
  CTessro tessro{CTessro::kAppStackAllowance};
  TessroContextConversion conversion{tessro.GetContext()};
};

struct RootServices : CAppUtilServices {
  CString GetRootPath() override { return root; }
  CString GetTemplatesFolder() override { return root + "TWTemplates\\"; }
  CString root;
};

class AutoGenerateTemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "bwautogen" + std::to_string(::GetCurrentProcessId()) + "\\";
    templates = root + "TWTemplates\\";
    ::CreateDirectoryA(root.c_str(), nullptr);
    ::CreateDirectoryA(templates.c_str(), nullptr);
    rootServices.root = root.c_str();
    services.root = root.c_str();
    SetAppUtilServices(&rootServices);
    previousImporter = SetImageImporterCreator(&DecoderImporter::Create);
    previousBitmap = SetBitmapServices(&bitmapServices);
    CTemplateCOM::SetEngineFactory(&FakeStyleKitEngine::Factory);
    engine.pageWidth = 60;
    engine.pageHeight = 20;
    engine.paint = 0x000000FFu;  // opaque blue
    FakeSlotSpec text;
    text.type = 9;
    text.name = "text1";
    text.value = "Go";
    text.key = "K";
    engine.slots = {text};
    SetOptionsServices(&optionsServices);
    parentWindow = ::CreateWindowExA(0, "STATIC", "generator host", WS_OVERLAPPEDWINDOW, 0, 0, 320, 200, nullptr,
                                     nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parentWindow);
    manager = new COperationsManager(CWnd::FromHandle(parentWindow));
    ASSERT_TRUE(manager->Init());
  }
  void TearDown() override {
    delete manager;
    if (parentWindow) ::DestroyWindow(parentWindow);
    CTemplateCOM::SetEngineFactory(nullptr);
    SetBitmapServices(previousBitmap);
    SetImageImporterCreator(previousImporter);
    SetAppUtilServices(nullptr);
    SetOptionsServices(nullptr);
    RemoveTree(root);
  }
  static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(folder + name + "\\");
        else
          ::DeleteFileA((folder + name).c_str());
      } while (::FindNextFileA(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
  }
  // A folder of templates with its type file (entries "flags$title.qtw", no sizes).
  std::string Folder(const std::string& name, const std::vector<std::pair<unsigned, std::string>>& entries) {
    const std::string folder = templates + name + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    std::string types;
    for (const auto& entry : entries) {
      types += std::to_string(entry.first) + "$" + entry.second + ".qtw\r\n";
      WriteFile(folder + entry.second + ".kiq", "<template version=\"1\"/>");
    }
    WriteFile(folder + "QTWTypes.twt", types);
    return folder;
  }
  void Generate() {
    CAutoGenerateTemplates generator;
    generator.GenerateFolder(templates.c_str(), manager, &services.record, nullptr, 1);
  }
  static bool IsGif(const std::string& path) { return ReadFile(path).compare(0, 4, "GIF8") == 0; }

  FakeOperationsServices services;
  COperationsOptionsServices optionsServices;  // navigation-bar mode from the manager
  FakeStyleKitEngine engine;
  RootServices rootServices;
  PreviewBitmapServices bitmapServices{services.record};
  BitmapServices* previousBitmap = nullptr;
  ImageImporterCreator previousImporter = nullptr;
  HWND parentWindow = nullptr;
  COperationsManager* manager = nullptr;
  std::string root, templates;
};

}  // namespace

TEST_F(AutoGenerateTemplatesTest, TemplatesGetStyleFilesThumbnailsAndListLines) {
  const std::string buttons = Folder("Buttons", {{0xF3801u, "Shiny_button"}});
  Generate();
  const std::string style = buttons + "shiny_button.qtw";
  ASSERT_TRUE(Exists(style));
  ASSERT_TRUE(IsGif(buttons + "shiny_button.qgt"));
  const std::string text = ReadFile(style);
  for (const char* line : {"Template : 1\r\n", "GraphicType : 0\r\n", "Transparent : 1\r\n",
                           "TransThreshold : 254\r\n", "ExportType : 0\r\n"})
    EXPECT_NE(std::string::npos, text.find(line)) << line;
  EXPECT_EQ("1 " + buttons + "shiny_button.qgt\r\n1 " + style + "\r\n", ReadFile(root + "Tw.uni"));
  EXPECT_EQ(1, services.record.GetInteractiveRender());
  EXPECT_EQ(CString("TWTemplates\\Buttons\\Shiny_button.kiq"), services.record.GetKiqFileName());

  // An up-to-date style file is left alone; a removed one is made again.
  WriteFile(style, "kept");
  FILETIME later;
  ::GetSystemTimeAsFileTime(&later);
  ULARGE_INTEGER ticks;
  ticks.LowPart = later.dwLowDateTime;
  ticks.HighPart = later.dwHighDateTime;
  ticks.QuadPart += 10000000ull * 60;
  later.dwLowDateTime = ticks.LowPart;
  later.dwHighDateTime = ticks.HighPart;
  HANDLE file = ::CreateFileA(style.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ::SetFileTime(file, nullptr, nullptr, &later);
  ::CloseHandle(file);
  Generate();
  EXPECT_EQ("kept", ReadFile(style));
  ::DeleteFileA(style.c_str());
  Generate();
  EXPECT_NE(std::string::npos, ReadFile(style).find("Template : 1"));
}

TEST_F(AutoGenerateTemplatesTest, LogosPhotosAndUnlistedTemplates) {
  const std::string logos = Folder("Logos", {{0xF3800u | 0x800000u, "Leaf_logo"}});
  const std::string marks = Folder("Marks", {{0xF3800u | 0x800000u, "logo_mark"}});
  const std::string photos = Folder("Photos", {{0xF3800u | 0x20u, "Sunset"}});
  WriteFile(photos + "Unlisted.kiq", "<template/>");
  Generate();
  // "logo" after the first character makes the folder's icon; at the start it does not.
  EXPECT_TRUE(IsGif(logos + "folder.qgt"));
  EXPECT_TRUE(IsGif(marks + "logo_mark.qgt"));
  EXPECT_FALSE(Exists(marks + "folder.qgt"));
  // A photo gets a JPEG thumbnail and its style file says so.
  EXPECT_FALSE(Exists(photos + "sunset.qgt"));
  EXPECT_EQ("\xFF\xD8", ReadFile(photos + "sunset.jpg").substr(0, 2));
  EXPECT_NE(std::string::npos, ReadFile(photos + "sunset.qtw").find("ExportType : 1\r\n"));
  // A template without a type-file entry is generated as graphic type 11.
  EXPECT_NE(std::string::npos, ReadFile(photos + "unlisted.qtw").find("GraphicType : 11\r\n"));
}

TEST_F(AutoGenerateTemplatesTest, NavigationBarStatesBecomeOneComposedPreview) {
  const unsigned bar = 0xF3800u | 0x100000u;
  const std::string bars = Folder("NavBars", {{bar, "Tabs_hnavbar#1"}, {bar, "Tabs_hnavbar#2"},
                                              {bar, "Tabs_hnavbar#3"}, {bar, "Tabs_hnavbar_left"},
                                              {bar, "Tabs_hnavbar_clicked"}});
  Generate();
  const std::string preview = bars + "tabs_hnavbar#1.qgt";
  ASSERT_TRUE(IsGif(preview));
  EXPECT_FALSE(Exists(bars + "tabs_hnavbar#2.qgt"));
  EXPECT_FALSE(Exists(bars + "tabs_hnavbar#3.qgt"));
  EXPECT_FALSE(Exists(bars + "tabs_hnavbar_left.qgt"));
  EXPECT_FALSE(Exists(bars + "tabs_hnavbar_clicked.qgt"));
  EXPECT_TRUE(Exists(bars + "tabs_hnavbar#2.qtw"));
  const std::string flags = std::to_string(bar);
  EXPECT_EQ(flags + "$Tabs_hnavbar#1.qtw\r\n*" + flags + "$Tabs_hnavbar#2.qtw\r\n*" + flags +
                "$Tabs_hnavbar#3.qtw\r\n*" + flags + "$Tabs_hnavbar_left.qtw\r\n*" + flags +
                "$Tabs_hnavbar_clicked.qtw\r\n",
            ReadFile(bars + "QTWTypes.twt"));
  // The composed preview is wider than one state's thumbnail.
  Bitmap32 composed, state;
  ASSERT_GE(LoadImage32(&composed, preview.c_str()), 0);
  EXPECT_NE(std::string::npos, ReadFile(bars + "tabs_hnavbar#1.qtw").find("GraphicType : 7\r\n"));
  EXPECT_GT(composed.Width(), 60);
}

TEST_F(AutoGenerateTemplatesTest, TypeFileCheckRemeasuresAndUpgradeDropsFaultyLines) {
  const std::string folder = Folder("Checked", {});
  // Thumbnails of 20 x 40 for "a" (a GIF written by the exporter) and a photo "p".
  engine.pageWidth = 20;
  engine.pageHeight = 40;
  WriteFile(folder + "a.kiq", "<template/>");
  Generate();
  ASSERT_TRUE(Exists(folder + "a.qgt"));
  Bitmap32 thumbnail;
  ASSERT_GE(LoadImage32(&thumbnail, (folder + "a.qgt").c_str()), 0);
  const int packed = thumbnail.Width() << 16 | thumbnail.Height();
  ::CopyFileA((folder + "a.qgt").c_str(), (folder + "p.jpg").c_str(), FALSE);
  WriteFile(folder + "p.qtw", "Barwright\r\n");
  const std::string original = "2$a.qtw\r\n32$p.qtw\r\n2$gone.qtw\r\nno entry here\r\n*2$a.qtw\r\n";
  WriteFile(folder + "QTWTypes.twt", original);

  CAutoGenerateTemplates generator;
  generator.CheckTypeFiles();
  // The upgrade dropped the missing style file's entry and the malformed line (the removed
  // entry's file exists, so it stays for the check to drop); the check measured the rest.
  char sizeLine[32];
  std::snprintf(sizeLine, sizeof sizeLine, "\xB6%d\xB6", packed);
  const std::string photoSize = "\xB6" + std::to_string(80 << 16 | 80) + "\xB6";
  EXPECT_EQ("#1\r\n" + std::to_string(0x1000002) + "$a.qtw\r\n" + sizeLine + "\r\n" +
                std::to_string(0x1000020) + "$p.qtw\r\n" + photoSize + "\r\n",
            ReadFile(folder + "qtwtypes.twt"));
  // The check's backup is the text the upgrade left.
  EXPECT_EQ("2$a.qtw\r\n32$p.qtw\r\n*2$a.qtw\r\n", ReadFile(folder + "qtwtypesOLD.twt"));

  // A second check finds nothing to change and leaves the backup alone.
  WriteFile(folder + "qtwtypesOLD.twt", "older");
  generator.CheckTypeFiles();
  EXPECT_EQ("older", ReadFile(folder + "qtwtypesOLD.twt"));
}

TEST_F(AutoGenerateTemplatesTest, GraphicTypeComesFromTheTemplatesOwnEntry) {
  const std::string folder = Folder("Typed", {});
  WriteFile(folder + "QTWTypes.twt",
            "#1\r\n2$Other.qtw$preview\r\n\xB6" "0\xB6\r\n8388608$Mine.qtw\r\n\xB6" "0\xB6\r\n"
            "0$Removed.qtw\r\n\xB6" "0\xB6\r\n64$Banner.qtw$preview\r\n\xB6" "0\xB6\r\n");
  struct Case {
    const char* file;
    int type, preview;
  };
  for (const Case& c : {Case{"mine.kiq", 10, 0}, Case{"OTHER.kiq", 1, 1}, Case{"Banner.kiq", 6, 1},
                        Case{"Removed.kiq", 11, 0}, Case{"Missing.kiq", 11, 0}}) {
    int preview = 0;
    CAutoGenerateTemplates::ReadTypeFromTypeFile(c.file, folder.c_str(), &services.record, &preview);
    EXPECT_EQ(c.type, services.record.GetGraphicType()) << c.file;
    EXPECT_EQ(c.preview, preview) << c.file;
  }
}

TEST_F(AutoGenerateTemplatesTest, StateVariantsKeepTheRestOfALongTypeFile) {
  const std::string folder = Folder("Long", {});
  std::string head;
  while (head.size() < 30000) head += "1$filler entry of a long type file.qtw\r\n";
  const std::string tail = "1$Bar_hnavbar_over.qtw\r\n1$after.qtw\r\n";
  WriteFile(folder + "QTWTypes.twt", "1$Bar_hnavbar_on.qtw\r\n" + head + tail);
  WriteFile(folder + "bar_hnavbar_on.qgt", "x");
  CAutoGenerateTemplates::RemoveStateVariants((folder + "bar_hnavbar").c_str());
  EXPECT_FALSE(Exists(folder + "bar_hnavbar_on.qgt"));
  EXPECT_EQ("*1$Bar_hnavbar_on.qtw\r\n" + head + tail, ReadFile(folder + "QTWTypes.twt"));
}
