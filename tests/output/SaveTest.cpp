// Saving into a project: the names a save accepts, its paths, the type-file entry, and whole
// saves of a single graphic and of a navigation bar on a fixture folder.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "util/AppUtilServices.h"
#include "util/FileUtils.h"
#include "util/Registry.h"
#include "bitmap/BitmapServices.h"
#include "bitmap/TessroContextConversion.h"
#include "document/Options.h"
#include "document/OptionsExportRecord.h"
#include "navbar/NavBar.h"
#include "output/NavBarSave.h"
#include "output/ProjectSave.h"
#include "output/ProjectTypeFile.h"
#include "output/SaveNames.h"
#include "raster/Tessro.h"
#include "tests/navbar/FakeNavBarServices.h"
#include "tests/output/SaveFixtures.h"

namespace {

TEST(SaveNames, WhatANameMayHold) {
  const struct {
    const char* name;
    SaveNameProblem problem;
  } cases[] = {
      {"Home", SaveNameProblem::kNone},
      {"My button 2", SaveNameProblem::kNone},
      {"", SaveNameProblem::kEmpty},
      {"   ", SaveNameProblem::kEmpty},
      {"a*b", SaveNameProblem::kForbiddenCharacter},
      {"a/b", SaveNameProblem::kForbiddenCharacter},
      {"what?", SaveNameProblem::kForbiddenCharacter},
      {"say \"hi\"", SaveNameProblem::kForbiddenCharacter},
      {"..\\..\\Windows\\evil", SaveNameProblem::kLeavesFolder},
      {"sub\\name", SaveNameProblem::kLeavesFolder},
      {"C:name", SaveNameProblem::kLeavesFolder},
      {"..", SaveNameProblem::kLeavesFolder},
      {"v1.2", SaveNameProblem::kNone},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.problem, CheckSaveName(c.name)) << c.name;
    EXPECT_EQ(c.problem == SaveNameProblem::kNone, SaveNameMessage(CheckSaveName(c.name)) == 0u) << c.name;
  }
}

TEST(SaveNames, ProjectsPagesAndTitles) {
  EXPECT_STREQ("Menus", CutProjectName("Menus (Project)").GetString());
  EXPECT_STREQ("(Project) first", CutProjectName("(Project) first").GetString());
  EXPECT_STREQ("Default", CutProjectName("Default").GetString());
  EXPECT_STREQ("C:\\P\\Menus (Project)\\Main_off",
               MakeProjectStyleBase("C:\\P\\", "Menus (Project)", "Main", true).GetString());
  EXPECT_STREQ("C:\\P\\Default (Project)\\Home", MakeProjectStyleBase("C:\\P", "Default", "Home", false).GetString());

  EXPECT_STREQ("C:\\a\\b.gif", JoinPath("C:\\a", "b.gif").GetString());
  EXPECT_STREQ("C:\\b.gif", JoinPath("C:\\", "b.gif").GetString());
  EXPECT_TRUE(IsPathInsideFolder("C:\\Site\\img\\a.gif", "C:\\site"));
  EXPECT_FALSE(IsPathInsideFolder("C:\\Site\\..\\Windows\\a.gif", "C:\\Site"));
  EXPECT_FALSE(IsPathInsideFolder("C:\\Sitemap\\a.gif", "C:\\Site"));

  EXPECT_STREQ("C:\\s\\page.html", CutPageAnchor("C:\\s\\page.html#top").GetString());
  EXPECT_STREQ("C:\\s\\page.html", CutPageAnchor("C:\\s\\page.html").GetString());
  EXPECT_STREQ("C:\\s#1\\page.html", CutPageAnchor("C:\\s#1\\page.html").GetString());

  EXPECT_STREQ("...onButton1", MakeOverwriteTitle("C:\\x\\NavigationButton1.gif").GetString());
  EXPECT_STREQ("TwelveChars1", MakeOverwriteTitle("C:\\x\\TwelveChars1.gif").GetString());
}

TEST(SaveNames, FolderChainOfThePathDropDown) {
  const struct {
    const char* folder;
    std::vector<std::string> chain;
  } cases[] = {
      {"C:\\Sites\\Menus\\", {"C:\\", "C:\\Sites", "C:\\Sites\\Menus"}},
      {"C:\\", {"C:\\"}},
      {"C:", {"C:\\"}},
      {"C:\\a\\\\b", {"C:\\", "C:\\a", "C:\\a\\\\b"}},
      {"\\\\server\\share\\site", {"\\\\server\\share", "\\\\server\\share\\site"}},
      {"\\\\server", {"\\\\server"}},
      {"relative", {"relative"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> chain;
    for (const CString& folder : MakeFolderChain(c.folder)) chain.push_back(folder.GetString());
    EXPECT_EQ(c.chain, chain) << c.folder;
  }
}

TEST(TypeFileFlags, ComputedFromTheGraphic) {
  const struct {
    int type;
    bool navBar;
    unsigned textures;
    int lines;
    std::int32_t flags;
  } cases[] = {
      {0, false, 0, 1, 0x1 | 0x4000 | 0x400780 | 0xF3800},
      {5, false, 2, 0, 0x20 | 0x8000 | 0x80 | 0xF3800},
      {2, false, 1, 3, 0x4 | 0x4000 | 0x400 | 0xF3800},
      {0, true, 1, 1, 0x100000 | 0x4000 | 0x400780 | 0xF3800},
      {11, false, 1, 0, 0xB0007F | 0x4000 | 0x80 | 0xF3800},
  };
  for (const auto& c : cases) {
    TypeFlagsSource source;
    source.graphicType = c.type;
    source.navBar = c.navBar;
    source.textureCount = c.textures;
    source.firstStoryLineCount = c.lines;
    EXPECT_EQ(c.flags, ComputeTypeFlags(source)) << c.type;
  }
  EXPECT_EQ(0x2000000 | 0x100000 | 0x4000, MakeSavedEntryFlags(0x4000 | 0x7F, true, 0));
  EXPECT_EQ(0x2000000 | 0x1, MakeSavedEntryFlags(0x100000 | 0x7E, false, 7));
  EXPECT_EQ(0x280014, PackThumbnailSize(40, 20));
}

class ProjectFixture : public ::testing::Test {
 protected:
  UtilServices utilities;
  CFakeNavBarServices services;
  CString Path(const char* name) const { return services.Path(name); }
};

TEST_F(ProjectFixture, TypeFileEntriesAreMatchedByTheirWholeName) {
  services.MakeFolder("Proj");
  const CString folder = Path("Proj");
  const std::int32_t flags = 0x2000021;  // a project graphic
  ASSERT_EQ(TypeFileUpdate::kAppended, UpdateProjectTypeFile(folder, "homepage", flags, 100));
  // "home" is not "homepage": it gets an entry of its own, and homepage keeps its size.
  ASSERT_EQ(TypeFileUpdate::kAppended, UpdateProjectTypeFile(folder, "home", flags, 200));
  EXPECT_EQ(TypeFileUpdate::kUnchanged, UpdateProjectTypeFile(folder, "home", flags, 200));
  EXPECT_EQ(TypeFileUpdate::kSizeReplaced, UpdateProjectTypeFile(folder, "HOME", flags, 300));
  const std::vector<std::string> expected{"#1", "33554465$homepage.qtw", SizeLine(100), "33554465$home.qtw",
                                          SizeLine(300)};
  EXPECT_EQ(expected, Lines(Path("Proj\\QTWTypes.twt")));
  EXPECT_STREQ("insertnewitem#home.qtw;C:\\P;33;300", MakeInsertNewItemCommand("home", "C:\\P", 33, 300).GetString());
}

// The program side of a save, recording what it is asked and writing small stand-in files.
class RecordingSteps : public CProjectSaveSteps {
 public:
  bool DestinationExists(const CString& path) override { return CFileUtils::FileExists(path) != FALSE; }
  int AskOverwrite(CString& path) override {
    asked.push_back(path);
    if (answer == 2) path = proposed;
    return answer;
  }
  bool WriteExportFile(const CString& path, bool, const CTime*) override {
    exported.push_back(path);
    if (exportWriter) return exportWriter(path);
    std::ofstream(Native(path), std::ios::binary) << "GIF89a image";
    return true;
  }
  bool WriteAnimatedExport(const CString& path) override { return WriteExportFile(path, false, nullptr); }
  bool WriteThumbnail(const CString& path, bool) override {
    thumbnails.push_back(path);
    const char header[] = {'G', 'I', 'F', '8', '9', 'a', 40, 0, 20, 0};
    std::ofstream(Native(path), std::ios::binary).write(header, sizeof header);
    return true;
  }
  void ShowName(const CString& name) override { shownName = name; }
  void SendCommand(const CString& command) override { commands.push_back(command.GetString()); }
  void ReportError(unsigned id, const CString& argument) override { errors.push_back(id); }
  void MarkSaved() override { ++saved; }

  int answer = 1;
  CString proposed;
  std::function<bool(const CString&)> exportWriter;
  std::vector<CString> asked, exported, thumbnails;
  std::vector<std::string> commands;
  std::vector<unsigned> errors;
  CString shownName;
  int saved = 0;
};

class SingleGraphicSave : public ProjectFixture {
 protected:
  void SetUp() override {
    services.MakeFolder("Site");
    services.MakeFolder("Projects");
    services.navBarMode = false;
    context.name = "Home";
    context.currentFolder = Path("Site");
    context.extension = "gif";
    context.projectsFolder = Path("Projects\\");
    context.project = "Default";
    context.templatesFolder = Path("TWTemplates\\");
  }
  bool Save(ProjectSaveOutcome* outcome = nullptr) {
    return SaveToProject(services.graphic, nullptr, context, steps, outcome);
  }
  ProjectSaveContext context;
  RecordingSteps steps;
};

TEST_F(SingleGraphicSave, FirstSaveWritesImageStyleThumbnailAndEntryInOrder) {
  ProjectSaveOutcome outcome;
  ASSERT_TRUE(Save(&outcome));
  ASSERT_TRUE(StoreExportFolder(outcome.imagePath));

  EXPECT_STREQ(Path("Site\\Home.gif").GetString(), outcome.imagePath.GetString());
  EXPECT_EQ("GIF89a image", ReadFile(Path("Site\\Home.gif")));
  EXPECT_STREQ(Path("Projects\\Default (Project)\\Home.qtw").GetString(), outcome.stylePath.GetString());
  EXPECT_EQ(0u, ReadFile(outcome.stylePath).find("Trimwork"));
  EXPECT_TRUE(services.Exists("Projects\\Default (Project)\\Home.qgt"));
  EXPECT_STREQ(outcome.stylePath.GetString(), services.graphic.GetQTWFile().GetString());
  EXPECT_STREQ(outcome.imagePath.GetString(), services.graphic.GetExportPathNameExt().GetString());
  EXPECT_EQ(1, services.graphic.GetTemplateFlag());
  EXPECT_NE(0u, services.graphic.GetExportCheckSum());
  EXPECT_TRUE(steps.asked.empty());
  EXPECT_EQ(1, steps.saved);

  TypeFlagsSource source;
  source.firstStoryLineCount = services.graphic.GetTemplateLineCount(0);
  const std::int32_t flags = MakeSavedEntryFlags(ComputeTypeFlags(source), false, 0);
  const std::vector<std::string> entry{"#1", std::to_string(flags) + "$home.qtw", SizeLine(0x280014)};
  EXPECT_EQ(entry, Lines(Path("Projects\\Default (Project)\\QTWTypes.twt")));
  ASSERT_EQ(1u, steps.commands.size());
  EXPECT_EQ("insertnewitem#home.qtw;" + std::string(Path("Projects\\Default (Project)").GetString()) + ";" +
                std::to_string(flags) + ";" + std::to_string(0x280014),
            steps.commands[0]);
  EXPECT_STREQ(Path("Site\\").GetString(), RegistryString("ExportDir").GetString());
#ifdef _WIN32
  EXPECT_STREQ(outcome.imagePath.GetString(), RegistryString("ExportPathNameExt").GetString());
#endif
}

TEST_F(SingleGraphicSave, OverwriteAnswers) {
  ASSERT_TRUE(Save());
  const std::vector<std::string> firstEntry = Lines(Path("Projects\\Default (Project)\\QTWTypes.twt"));

  // Overwrite: the same image and style file, the entry as it was.
  steps.answer = 1;
  context.name = "Home";
  ProjectSaveOutcome overwritten;
  ASSERT_TRUE(Save(&overwritten));
  EXPECT_EQ(1u, steps.asked.size());
  EXPECT_STREQ(Path("Projects\\Default (Project)\\Home.qtw").GetString(), overwritten.stylePath.GetString());
  EXPECT_EQ(firstEntry, Lines(Path("Projects\\Default (Project)\\QTWTypes.twt")));

  // Save As: the proposed image name, a new style file beside the old one.
  steps.answer = 2;
  steps.proposed = Path("Site\\Home2.gif");
  context.name = "Home";
  ProjectSaveOutcome renamed;
  ASSERT_TRUE(Save(&renamed));
  EXPECT_STREQ(steps.proposed.GetString(), renamed.imagePath.GetString());
  EXPECT_STREQ("Home2", steps.shownName.GetString());
  EXPECT_STRNE(overwritten.stylePath.GetString(), renamed.stylePath.GetString());
  EXPECT_TRUE(CFileUtils::FileExists(renamed.stylePath));

  // Cancel: nothing more is written.
  steps.answer = 0;
  context.name = "Home";
  const std::size_t exports = steps.exported.size();
  EXPECT_FALSE(Save());
  EXPECT_EQ(exports, steps.exported.size());
}

TEST_F(SingleGraphicSave, FailedWritesStopTheSaveAndSaySo) {
  // The image cannot be written: nothing else is.
  steps.exportWriter = [](const CString&) { return false; };
  EXPECT_FALSE(Save());
  EXPECT_FALSE(services.Exists("Projects\\Default (Project)"));
  EXPECT_EQ(0, steps.saved);

  // The project folder is taken by a file: the style file cannot be written, the user hears
  // of it and the save does not count as done.
  steps.exportWriter = nullptr;
  services.WriteFile("Projects\\Default (Project)", "not a folder");
  context.name = "Home";
  EXPECT_FALSE(Save());
  EXPECT_EQ(std::vector<unsigned>{kMsgStyleFileNotSaved}, steps.errors);
  EXPECT_EQ(0, steps.saved);
  EXPECT_TRUE(steps.commands.empty());
}

TEST_F(SingleGraphicSave, PhotoHandlerWritesOnlyTheImage) {
  context.photoHandler = true;
  ASSERT_TRUE(Save());
  EXPECT_TRUE(services.Exists("Site\\Home.gif"));
  EXPECT_FALSE(services.Exists("Projects\\Default (Project)"));
  EXPECT_EQ(1, steps.saved);
}

class NavBarSave : public ProjectFixture {
 protected:
  ExportServices bitmaps{services.graphic};
  void SetUp() override {
    services.MakeFolder("SysResources");
    services.WriteFile("SysResources\\navstub2.js", "\r\n");
    services.WriteFile("SysResources\\navstub.js", "\r\n");
    services.MakeFolder("Site");
    services.MakeFolder("Projects");
    utilities.navBar = true;
    services.graphic.SetExportType(0);  // GIF
    bar.CreateDefaultButtons();
    std::vector<CString> texts{"About", "News", "More"}, none(3);
    std::vector<CString> links{"about.html#top", "news.html", "about.html"};
    ASSERT_EQ(1, bar.SetButtons(texts, links, none, none));
    bar.SetName("Main");
    bar.SetStateEnabled(0, 1);
    bar.SetStateEnabled(1, 1);
    ASSERT_EQ(1, bar.Render(false, 0));
  }
  CNavBar& bar = services.bar;
};

TEST_F(NavBarSave, PagesFromTheLinksAndTheFilesASaveWrites) {
  CNavBarSaveModel model;
  model.BuildPageList(bar, Path("Site"), false);
  const std::vector<CString> pages = model.CheckedPages();
  ASSERT_EQ(2u, pages.size());
  EXPECT_STREQ(Path("Site\\about.html").GetString(), pages[0].GetString());
  EXPECT_STREQ(Path("Site\\news.html").GetString(), pages[1].GetString());

  std::vector<CString> files = model.CollectOutputFiles(bar, Path("Site"));
  ASSERT_GE(files.size(), 9u);
  EXPECT_STREQ(Path("Site\\main.js").GetString(), files[2].GetString());
  EXPECT_EQ(0, files[3].Find(Path("Site\\main_b1.")));

  EXPECT_TRUE(model.AddUserPage(Path("Site\\extra.html")));
  EXPECT_FALSE(model.AddUserPage(Path("Site\\extra.html")));
  EXPECT_FALSE(model.RemoveUserPage(0));
  EXPECT_TRUE(model.RemoveUserPage(3));

  // Unchecking every page leaves the images only.
  for (NavBarPageEntry& entry : model.Entries()) entry.flags[kPageChecked] = 0;
  files = model.CollectOutputFiles(bar, Path("Site"));
  EXPECT_EQ(0, files[0].Find(Path("Site\\main_b1.")));

  // Started by an HTML editor: no page at all.
  model.BuildPageList(bar, Path("Site"), true);
  EXPECT_TRUE(model.Entries().empty());
}

TEST_F(NavBarSave, WholeSaveIntoProjectAndPages) {
#ifndef _WIN32
  // The image writers take program paths as they are: only Windows reads the backslashes.
  GTEST_SKIP();
#endif
  services.WriteFile("Site\\news.html", "<html>\r\n<body>\r\n<p>News</p>\r\n</body>\r\n</html>\r\n");
  CNavBarSaveModel model;
  model.BuildPageList(bar, Path("Site"), false);
  RecordingSteps steps;
  steps.exportWriter = [&](const CString& pagePath) {
    return SaveNavBarFiles(bar, pagePath, nullptr, model.CheckedPages()) > 0;
  };
  ProjectSaveContext context;
  context.name = "Main";
  context.currentFolder = Path("Site");
  context.extension = "html";
  context.projectsFolder = Path("Projects\\");
  context.project = "Menus (Project)";
  context.navBar = true;
  ProjectSaveOutcome outcome;
  ASSERT_TRUE(SaveToProject(services.graphic, &bar, context, steps, &outcome));

  EXPECT_STREQ(Path("Site\\Main.html").GetString(), outcome.imagePath.GetString());
  for (const char* name : {"Site\\main.js", "Site\\main_b1.gif", "Site\\main_b3_over.gif",
                           "Projects\\Menus (Project)\\Main_off.qtw"})
    EXPECT_TRUE(services.Exists(name)) << name;
  EXPECT_FALSE(services.Exists("Site\\about.html#top"));
  // The existing page keeps its bytes around the inserted bar; the new one holds the bar.
  const std::string news = ReadFile(Path("Site\\news.html"));
  EXPECT_NE(std::string::npos, news.find("main.js"));
  EXPECT_NE(std::string::npos, news.find("<p>News</p>"));
  EXPECT_NE(std::string::npos, ReadFile(Path("Site\\about.html")).find("main.js"));

  const std::vector<std::string> lines = Lines(Path("Projects\\Menus (Project)\\QTWTypes.twt"));
  ASSERT_EQ(3u, lines.size());
  const int flags = std::stoi(lines[1]);
  EXPECT_EQ(0x100000, flags & 0x100000);
  EXPECT_EQ("$main_off.qtw", lines[1].substr(lines[1].find('$')));
  for (int state = 0; state < 2; ++state)
    EXPECT_STREQ(outcome.imagePath.GetString(), bar.GetStateRecord(state)->GetExportPathNameExt().GetString());
}

}  // namespace
