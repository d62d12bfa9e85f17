// What the package puts on a user's machine besides the programs: the copyright statement where
// Debian looks for it, and a menu entry that menus can place.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ore::test {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

#if defined(OREFRAC_BUILD_DIR) && defined(OREFRAC_CMAKE)
TEST(Package, TheDocumentsIncludeTheCopyrightStatementUnderDebiansName) {
  const fs::path prefix =
      fs::temp_directory_path() / ("orefrac-install-" + std::to_string(::getpid()));
  fs::remove_all(prefix);
  const std::string command = "'" OREFRAC_CMAKE "' --install '" OREFRAC_BUILD_DIR
                              "' --component doc --prefix '" +
                              prefix.string() + "' >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string copyright = slurp(prefix / "share/doc/orefrac/copyright");
  EXPECT_TRUE(copyright.starts_with("Format: https://www.debian.org/doc/packaging-manuals/"))
      << copyright;
  EXPECT_NE(copyright.find("\nCopyright: 2026 the orefrac developers\n"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(prefix / "share/doc/orefrac/README.md"));
  fs::remove_all(prefix);
}
#endif

// A menu files an entry under its main category; with two it is listed twice (desktop-file-validate
// warns of it).
TEST(Package, TheMenuEntryHasOneMainCategory) {
  const char* mainCategories[] = {"AudioVideo", "Audio",    "Video",   "Development", "Education",
                                  "Game",       "Graphics", "Network", "Office",      "Science",
                                  "Settings",   "System",   "Utility"};
  std::istringstream entry(slurp(OREFRAC_TEST_DATA "/../../app/orefrac.desktop"));
  std::vector<std::string> found;
  for (std::string line; std::getline(entry, line);) {
    if (!line.starts_with("Categories=")) continue;
    std::istringstream list(line.substr(11));
    for (std::string c; std::getline(list, c, ';');)
      if (std::find(std::begin(mainCategories), std::end(mainCategories), c) !=
          std::end(mainCategories))
        found.push_back(c);
  }
  EXPECT_EQ(found, std::vector<std::string>{"Science"});
}

}  // namespace
}  // namespace ore::test
