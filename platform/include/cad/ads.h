// The host's classic application interface: result codes, result buffers, entity and selection-set
// names, and the C-style functions for LISP, input, commands, system variables and printing.
#pragma once

#include <cstddef>
#include <cstdint>

// Result codes of the input, LISP and command functions.
constexpr int RTNONE = 5000;  // empty input; also ends a variadic argument list
constexpr int RTREAL = 5001;
constexpr int RTPOINT = 5002;  // 2D point
constexpr int RTSHORT = 5003;
constexpr int RTANG = 5004;
constexpr int RTSTR = 5005;
constexpr int RTENAME = 5006;
constexpr int RTPICKS = 5007;
constexpr int RTORINT = 5008;
constexpr int RT3DPOINT = 5009;
constexpr int RTLONG = 5010;
constexpr int RTVOID = 5014;
constexpr int RTLB = 5016;    // list begin
constexpr int RTLE = 5017;    // list end
constexpr int RTDOTE = 5018;  // dot of a dotted pair
constexpr int RTNIL = 5019;
constexpr int RTDXF0 = 5020;  // group code 0 inside filter lists
constexpr int RTT = 5021;
constexpr int RTNORM = 5100;
constexpr int RTERROR = -5001;
constexpr int RTCAN = -5002;
constexpr int RTREJ = -5003;
constexpr int RTFAIL = -5004;
constexpr int RTKWORD = -5005;

// Results a LISP-callable function reports to the host.
constexpr int RSRSLT = 1;
constexpr int RSERR = 3;

typedef double ads_real;
typedef ads_real ads_point[3];
// An entity or selection-set name: [0] identifies the object or set, [1] its drawing.
typedef std::int64_t ads_name[2];

enum { X = 0, Y = 1, Z = 2 };

struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  char* rstring;
  std::int64_t rlname[2];
  std::int32_t rlong;
  std::int64_t mnLong;
  ads_binary rbinary;
  unsigned char ihandle[8];
};

// One element of a result-buffer list. For extended data and filter lists, restype holds the
// group code (1000 a string, 1001 an application name, 0 an entity type, 2 a block name, ...).
struct resbuf {
  resbuf* rbnext;
  short restype;
  ads_u_val resval;
};

// Result-buffer lists. acutNewRb makes one element of the given type (strings start null);
// acutRelRb releases a whole list, strings included.
resbuf* acutNewRb(int type);
int acutRelRb(resbuf* rb);
// Builds a list from (type, value) pairs ended by 0 or RTNONE. Types below 5000 are group codes.
resbuf* acutBuildList(int type, ...);
void acutDelBuffer(char*& buffer);

// LISP functions of an application.
int acedDefun(const char* name, short funcCode);
int acedUndef(const char* name, short funcCode);
int acedGetFunCode();
resbuf* acedGetArgs();
int acedRetNil();
int acedRetT();
int acedRetVoid();
int acedRetInt(int value);
int acedRetReal(ads_real value);
int acedRetStr(const char* text);
int acedRetPoint(const ads_point point);
int acedRetName(const ads_name name, int type);
int acedRetList(const resbuf* list);
int acedPutSym(const char* symbol, resbuf* value);
int acedGetSym(const char* symbol, resbuf** value);

// Output to the command line, printf-style.
int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// A modal message box with an OK button.
int acedAlert(const char* text);

// User input. acedInitGet applies to the next input call only.
constexpr int RSG_NONULL = 1;
constexpr int RSG_NOZERO = 2;
constexpr int RSG_NONEG = 4;
int acedInitGet(int flags, const char* keywords);
int acedGetPoint(const ads_point basePoint, const char* prompt, ads_point result);
int acedGetString(int acceptSpaces, const char* prompt, char* result, size_t bufferLength);
int acedGetKword(const char* prompt, char* result, size_t bufferLength);
int acedGetInt(const char* prompt, int* result);
int acedGetReal(const char* prompt, ads_real* result);
// The keyword of the last input call that returned RTKWORD, cut to fit the buffer.
int acedGetInput(char* result, size_t bufferLength);
int acedGrDraw(const ads_point from, const ads_point to, int color, int highlight);

// Host commands: acedCommand takes (type, value) pairs ended by RTNONE or 0; acedCmd a list.
int acedCommand(int type, ...);
int acedCmd(const resbuf* list);

// System variables.
int acedGetVar(const char* name, resbuf* result);
int acedSetVar(const char* name, const resbuf* value);

// Coordinate systems: `from` and `to` hold RTSHORT 0 (world), 1 (current UCS) or 2 (display).
int acedTrans(const ads_point point, const resbuf* from, const resbuf* to, int displacement,
              ads_point result);

// Files on the search path: the drawing's folder, the script's folder, then TESSERA_PATH.
int acedFindFile(const char* name, char* result, size_t bufferLength);

// Selection sets.
int acedSSGet(const char* mode, const void* point1, const void* point2, const resbuf* filter,
              ads_name selection);
int acedSSLength(const ads_name selection, std::int32_t* length);
int acedSSName(const ads_name selection, std::int32_t index, ads_name entity);
int acedSSFree(const ads_name selection);

// Entity names.
int acdbEntLast(ads_name result);
int acdbEntNext(const ads_name entity, ads_name result);
int acdbHandEnt(const char* handle, ads_name entity);
int acdbNameClear(ads_name name);
bool acdbNameNil(const ads_name name);
int acdbRegApp(const char* application);

// Plane geometry helpers on points.
ads_real acutAngle(const ads_point from, const ads_point to);
ads_real acutDistance(const ads_point from, const ads_point to);
void acutPolar(const ads_point base, ads_real angle, ads_real distance, ads_point result);
// Intersection of the lines p1-p2 and p3-p4; with onSegments set, only within both segments.
int acdbInters(const ads_point p1, const ads_point p2, const ads_point p3, const ads_point p4,
               int onSegments, ads_point result);
