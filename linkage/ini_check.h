// The one setting read from a file: "MORCAD.INI" on the host's search path may name the host
// release under [REGISTRY] ACADVER. Older releases have a 2D polyline's final geometry in place
// only when its sequence end reports, so outlines are recomputed then.
#pragma once

namespace area {

inline constexpr const char* kSettingsFileName = "MORCAD.INI";
inline constexpr const char* kSettingsSection = "REGISTRY";
inline constexpr const char* kReleaseKey = "ACADVER";

// 0 when the settings file names one of the older releases "R16.0", "R16.1", "R10" or "R9"
// (exactly); 1 otherwise, a missing file included.
int CheckIniVersion();

}  // namespace area
