// Help pages: every context id the program asks help for has a page of its own in the assembled
// program root, and every page's links lead to pages that exist.
#include "app/HelpPages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string Dist()
{
    const char* dist = std::getenv("BW_DIST");
    return dist ? std::string(dist) + "\\" : std::string();
}

bool FileExists(const std::string& path)
{
    std::ifstream in(path);
    return in.good();
}

}  // namespace

TEST(HelpPages, EveryContextHasAPageAndEveryLinkLeadsToOne)
{
    ASSERT_FALSE(Dist().empty()) << "BW_DIST not set";
    // The pages (F1 and the prompt's help corner), the tutorial, the colour scheme, the save
    // questions and the style file that cannot be opened.
    const DWORD_PTR contexts[] = {100, 101, 102, 105, 109, 111, 112, 113, 114, 115, 120, 203, 204, 207, 900};
    std::set<std::string> pages;
    for (DWORD_PTR context : contexts) {
        const std::string page = static_cast<const char*>(HelpPageFor(context));
        EXPECT_TRUE(FileExists(Dist() + page)) << context << ": " << page;
        pages.insert(page);
    }
    // Each topic of its own, not all on the contents page.
    EXPECT_GE(pages.size(), 10u);
    EXPECT_EQ("Help\\index.html", std::string(HelpPageFor(12345)));

    const std::regex link("href=\"([^\"#:]+)\"");
    for (const std::string& page : pages) {
        std::ifstream in(Dist() + page);
        std::stringstream text;
        text << in.rdbuf();
        const std::string html = text.str();
        EXPECT_NE(std::string::npos, html.find("<h1>")) << page;
        for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
            EXPECT_TRUE(FileExists(Dist() + "Help\\" + (*it)[1].str())) << page << " links to " << (*it)[1];
    }
}
