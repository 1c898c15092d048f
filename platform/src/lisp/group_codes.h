// The kind of value a DXF group code carries. Result buffers of entity and filter lists, the
// LISP entity lists and the DXF reader and writer all take the kind from here.
#pragma once

#include <array>

namespace tessera::lisp {

enum class GroupValueKind : unsigned char {
  kInvalid,   // not a group code that carries a value (-3, the extended-data marker, included)
  kString,    // text (resval.rstring)
  kHandle,    // a handle as hexadecimal text (resval.rstring): 5, 105, 320-329, 1005
  kObjectId,  // a reference to another object (resval.rlname, an entity name): -1, -2, 330-369
  kInt16,     // resval.rint
  kInt32,     // resval.rlong
  kInt64,     // resval.mnLong
  kReal,      // resval.rreal
  kPoint,     // three reals (resval.rpoint); its Y and Z codes (+10, +20) do not occur alone
};

// The value kind of a group code, worked out from the code's range.
constexpr GroupValueKind GroupCodeValueKindByRange(int code) {
  using K = GroupValueKind;
  if (code == -1 || code == -2) return K::kObjectId;
  if (code == -4) return K::kString;  // conditional operators of filter lists: "<OR", ...
  if (code < 0) return K::kInvalid;
  if (code == 5 || code == 105) return K::kHandle;
  if (code <= 9) return K::kString;
  if (code <= 18) return K::kPoint;
  if (code <= 59) return K::kReal;
  if (code <= 79) return K::kInt16;
  if (code >= 90 && code <= 99) return K::kInt32;
  if (code == 100 || code == 102) return K::kString;
  if (code >= 110 && code <= 112) return K::kPoint;
  if (code >= 113 && code <= 149) return K::kReal;
  if (code >= 160 && code <= 169) return K::kInt64;
  if (code >= 170 && code <= 179) return K::kInt16;
  if (code == 210) return K::kPoint;
  if (code >= 211 && code <= 239) return K::kReal;
  if (code >= 270 && code <= 299) return K::kInt16;   // 290-299 are booleans, kept as int16
  if (code >= 300 && code <= 319) return K::kString;  // 310-319 binary data as hex text
  if (code >= 320 && code <= 329) return K::kHandle;
  if (code >= 330 && code <= 369) return K::kObjectId;
  if (code >= 370 && code <= 389) return K::kInt16;
  if (code >= 390 && code <= 399) return K::kObjectId;
  if (code >= 400 && code <= 409) return K::kInt16;
  if (code >= 410 && code <= 419) return K::kString;
  if (code >= 420 && code <= 429) return K::kInt32;
  if (code >= 430 && code <= 439) return K::kString;
  if (code >= 440 && code <= 459) return K::kInt32;
  if (code >= 460 && code <= 469) return K::kReal;
  if (code >= 470 && code <= 479) return K::kString;
  if (code >= 480 && code <= 481) return K::kObjectId;
  if (code == 999) return K::kString;
  if (code == 1005) return K::kHandle;
  if (code >= 1000 && code <= 1009) return K::kString;  // 1004 binary as hex text
  if (code >= 1010 && code <= 1013) return K::kPoint;
  if (code >= 1014 && code <= 1059) return K::kReal;
  if (code == 1070) return K::kInt16;
  if (code == 1071) return K::kInt32;
  return K::kInvalid;
}

// The highest group code that carries a value.
inline constexpr int kLastValueCode = 1071;

// The kinds of the codes from 0 to kLastValueCode, worked out while compiling: a drawing's read
// and save ask for the kind of every item of extended data.
inline constexpr std::array<GroupValueKind, kLastValueCode + 1> kValueKindOfCode = [] {
  std::array<GroupValueKind, kLastValueCode + 1> kinds{};
  for (int code = 0; code <= kLastValueCode; ++code) kinds[code] = GroupCodeValueKindByRange(code);
  return kinds;
}();

// The value kind of a group code.
constexpr GroupValueKind GroupCodeValueKind(int code) {
  if (code >= 0 && code <= kLastValueCode) return kValueKindOfCode[code];
  return GroupCodeValueKindByRange(code);
}

}  // namespace tessera::lisp
