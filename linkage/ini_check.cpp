// The host-release switch.
#include "linkage/ini_check.h"

#include <array>
#include <string>

#include "cad/arx.h"
#include "linkage/ini_profile.h"

namespace area {
namespace {

// Room for a full file path (bytes); the search path may be deep.
constexpr std::size_t kPathBufferLength = 4096;

constexpr std::array<const char*, 4> kOlderReleases = {"R16.0", "R16.1", "R10", "R9"};

}  // namespace

int CheckIniVersion() {
  std::array<char, kPathBufferLength> path{};
  if (acedFindFile(kSettingsFileName, path.data(), path.size()) != RTNORM) return 1;
  const std::string release = ReadProfileString(path.data(), kSettingsSection, kReleaseKey, "");
  for (const char* older : kOlderReleases)
    if (release == older) return 0;
  return 1;
}

}  // namespace area
