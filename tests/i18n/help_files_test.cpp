// The user guides of the program folder: every picture and every anchor
// they point to is there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace lirno {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(HelpFiles, EveryPictureAndSectionTheGuidesNameExists) {
  const std::string folder = std::string(LIRNO_SAMPLE_DATA) + "/";
  for (const char* page : {"Lirno_help.htm", "Lirno_help_eng.htm"}) {
    const std::string html = readAll(folder + page);
    ASSERT_FALSE(html.empty()) << page;
    std::set<std::string> ids;
    const std::regex id("id=\"([^\"]+)\"");
    for (std::sregex_iterator it(html.begin(), html.end(), id), end; it != end; ++it) ids.insert((*it)[1]);
    int pictures = 0;
    const std::regex img("<img src=\"([^\"]+)\"");
    for (std::sregex_iterator it(html.begin(), html.end(), img), end; it != end; ++it, ++pictures) {
      EXPECT_TRUE(std::filesystem::is_regular_file(folder + (*it)[1].str())) << page << ": " << (*it)[1];
    }
    EXPECT_GE(pictures, 5) << page;
    const std::regex link("href=\"#([^\"]+)\"");
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it) {
      EXPECT_TRUE(ids.count((*it)[1])) << page << ": #" << (*it)[1];
    }
  }
}

}  // namespace
}  // namespace lirno
