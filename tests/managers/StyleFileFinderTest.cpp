// The style file that made an image: candidates of the image's folder, of project folders under
// it and of the templates folder, scored on time, export checksum and name.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gallery/StyleFileFinder.h"
#include "tests/util/TestSupport.h"

namespace {

class StyleFileFinderTest : public ::testing::Test {
protected:
    StyleFileFinderTest()
    {
        FileSystem::CreateFolder(work / "Templates");
        FileSystem::CreateFolder(work / "Site");
        FileSystem::CreateFolder(work / "Site\\Shop (Project)");
        FileSystem::CreateFolder(work / "Site\\Other");
        services.templates = work / "Templates\\";
    }
    CString Style(const char* relative, const char* extra = "")
    {
        return work.Write(relative, std::string("GraphicType : 1\n") + extra);
    }
    static void SameTime(const CString& a, const CString& b)
    {
        CTime time;
        ASSERT_TRUE(CFileUtils::GetModifiedTime(a, time));
        ASSERT_TRUE(CFileUtils::SetModifiedTime(b, time));
    }
    static void Age(const CString& path, int seconds)
    {
        CTime time;
        ASSERT_TRUE(CFileUtils::GetModifiedTime(path, time));
        ASSERT_TRUE(CFileUtils::SetModifiedTime(path, CTime(time.GetTime() - seconds)));
    }

    FakeServices services;
    ScratchFolder work;
};

TEST_F(StyleFileFinderTest, CandidatesComeFromTheFolderItsProjectsAndTheTemplates)
{
    const CString image = work.Write("Site\\Button2.gif", "GIF89a");
    Age(image, 1000);
    const CString byName = Style("Site\\button.qtw");
    const CString inProject = Style("Site\\Shop (Project)\\Button.qtw");
    Style("Site\\Other\\Button.qtw");  // not a project folder: not looked into
    const CString byTime = Style("Site\\Unrelated.qtw");
    SameTime(image, byTime);
    const CString fromTemplates = Style("Templates\\Button7.qtw");
    Style("Site\\Button.txt");
    Style("Site\\Else.qtw");

    CStyleFileFinder finder;
    finder.FindCandidates(image);
    std::vector<std::string> found;
    for (int i = 0; i < finder.GetCandidates().GetSize(); ++i)
        found.push_back(S(finder.GetCandidates()[i]));
    std::sort(found.begin(), found.end());
    std::vector<std::string> expected = {S(byName), S(inProject), S(byTime), S(fromTemplates)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

TEST_F(StyleFileFinderTest, BestMatchScoresTimeChecksumAndName)
{
    const CString image = work.Write("Site\\Logo.png", "PNG picture bytes of some length");
    Age(image, 1000);
    CString signature;
    signature.Format("ExportCheckSum : %lu\n", (unsigned long)CFileUtils::QuickFileSignature(image));

    // Name only (3) loses to time only (5), which loses to checksum and name (7).
    const CString named = Style("Site\\Logo.qtw");
    const CString timed = Style("Site\\Other.qtw");
    SameTime(image, timed);
    EXPECT_EQ(S(FindStyleFileFor(image)), S(timed));

    const CString checked = Style("Templates\\Logo3.qtw", signature);
    EXPECT_EQ(S(FindStyleFileFor(image)), S(checked));

    CStyleFileFinder finder;
    finder.FindCandidates(image);
    CString best;
    finder.GetBestMatch(best);
    EXPECT_EQ(finder.ScoreCandidate(named), CStyleFileFinder::kScoreName);
    EXPECT_EQ(finder.ScoreCandidate(work / "Site\\Missing.qtw"), 0);
}

TEST_F(StyleFileFinderTest, NoCandidateGivesNoMatchAndRelativeNamesLookInTheTemplates)
{
    const CString image = work.Write("Site\\Photo.jpg", "JPEG");
    Age(image, 1000);
    Style("Site\\Else.qtw");
    EXPECT_TRUE(FindStyleFileFor(image).IsEmpty());
    EXPECT_TRUE(FindStyleFileFor(work / "Site\\Missing.jpg").IsEmpty());

    work.Write("Templates\\Buttons.gif", "GIF");
    const CString style = Style("Templates\\Buttons.qtw");
    EXPECT_EQ(S(FindStyleFileFor("Buttons.gif")), S(style));
}

TEST_F(StyleFileFinderTest, NavigationBarImagesFindTheBarsStateFiles)
{
    const struct {
        const char* picture;
        const char* style;
        bool match;
    } cases[] = {
        {"Menu_b2_over.gif", "Menu_over.qtw", true},
        {"menu_b12_off.gif", "MENU_off.qtw", true},
        {"Menu2_b1_on.gif", "Menu_clicked.qtw", true},
        {"Menu_b2_over.gif", "Menus_over.qtw", false},
        {"Logo.gif", "Logo_off.qtw", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CStyleFileFinder::MatchesNavBarName(c.picture, c.style), c.match) << c.picture << " " << c.style;

    const CString image = work.Write("Site\\Menu_b3_on.gif", "GIF");
    Age(image, 1000);
    const CString state = Style("Site\\Menu_on.qtw");
    EXPECT_EQ(S(FindStyleFileFor(image)), S(state));
}

}  // namespace
