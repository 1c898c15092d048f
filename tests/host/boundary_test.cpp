// The plug-in's boundaries: it reaches the host only through the host interface, its folders
// include only folders below them, and its library exports nothing but its two entry points.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

// Each folder of the plug-in with the folders it may include, lower ones only; "cad" is the host
// interface.
const std::map<std::string, std::set<std::string>> kMayInclude = {
    {"common", {"cad", "common"}},
    {"records", {"cad", "common", "records"}},
    {"figures", {"cad", "common", "records", "figures"}},
    {"schedule", {"cad", "common", "records", "figures", "schedule"}},
    {"triangulation", {"cad", "common", "records", "figures", "triangulation"}},
    {"linkage", {"cad", "common", "records", "figures", "schedule", "linkage"}},
    {"maintenance", {"cad", "common", "records", "figures", "schedule", "linkage", "maintenance"}},
    {"host",
     {"cad", "common", "records", "figures", "schedule", "triangulation", "linkage", "maintenance",
      "host"}},
};

TEST(PluginBoundaryTest, EachFolderIncludesOnlyTheHostInterfaceAndTheFoldersBelowIt) {
  const std::regex include(R"re(^\s*#\s*include\s*"([^"/]+)/)re");
  int files = 0;
  for (const auto& [folder, allowed] : kMayInclude) {
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(TESSERA_SOURCE_DIR) / folder)) {
      if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
      ++files;
      std::ifstream source(entry.path());
      std::string line;
      for (int number = 1; std::getline(source, line); ++number) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        EXPECT_TRUE(allowed.count(match[1].str()))
            << entry.path().string() << ":" << number << " includes " << match[1].str() << "/";
      }
    }
  }
  EXPECT_GT(files, 50) << "the plug-in's sources were not found";
}

TEST(PluginBoundaryTest, TheLibraryExportsOnlyItsTwoEntryPoints) {
  const std::string library = std::string(TESSERA_BINARY_DIR) + "/lib/libtessera_area.so";
  if (!fs::exists(library)) GTEST_SKIP() << "the plug-in is not built";
  FILE* listing = popen(("nm -D --defined-only '" + library + "' 2>/dev/null").c_str(), "r");
  ASSERT_NE(listing, nullptr);
  std::set<std::string> exported;
  std::array<char, 512> line{};
  while (fgets(line.data(), static_cast<int>(line.size()), listing) != nullptr) {
    std::string text(line.data());
    const std::size_t name = text.find_last_of(' ');
    if (name != std::string::npos)
      exported.insert(text.substr(name + 1, text.find('\n') - name - 1));
  }
  const int status = pclose(listing);
  if (status != 0 && exported.empty()) GTEST_SKIP() << "nm is not available";
  EXPECT_EQ(exported, (std::set<std::string>{"acrxEntryPoint", "acrxGetApiVersion"}));
}

}  // namespace
