// Reading and setting the host's system variables, with the fixed messages the figure commands
// print when the host refuses.
#pragma once

namespace area {

inline constexpr const char* kOrthoModeVar = "ORTHOMODE";
inline constexpr const char* kOsModeVar = "OSMODE";
inline constexpr const char* kBlipModeVar = "BLIPMODE";
inline constexpr const char* kTextSizeVar = "TEXTSIZE";
inline constexpr const char* kCurrentLayerVar = "CLAYER";

// Reads an integer variable into value; false, after a message naming it, when the host does not
// give a short integer.
bool GetIntVar(const char* name, int& value);

// Reads a real variable into value; false, after a message naming it, when it is not a real.
bool GetRealVar(const char* name, double& value);

// Sets an integer variable; false, after a message naming it, when the host refuses.
bool SetIntVar(const char* name, int value);

}  // namespace area
