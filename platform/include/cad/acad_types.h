// Basic types and enumerations of the host interface: status codes, open modes, filer kinds,
// text alignment and polyline kinds, and the application messages.
#pragma once

#include <cstdint>

namespace Adesk {
using Int8 = std::int8_t;
using Int16 = std::int16_t;
using Int32 = std::int32_t;
using Int64 = std::int64_t;
using UInt8 = std::uint8_t;
using UInt16 = std::uint16_t;
using UInt32 = std::uint32_t;
using UInt64 = std::uint64_t;
using Boolean = bool;
constexpr bool kTrue = true;
constexpr bool kFalse = false;
}  // namespace Adesk

namespace Acad {
// Status of a database operation; 0 is success. The numbers are part of the interface: callers
// compare against them and print them.
enum ErrorStatus : int {
  eOk = 0,
  eNotImplementedYet = 1,
  eNotApplicable = 2,
  eInvalidInput = 3,
  eAmbiguousInput = 4,
  eAmbiguousOutput = 5,
  eOutOfMemory = 15,
  eBufferTooSmall = 16,
  eInvalidOpenState = 17,
  eDuplicateKey = 21,
  eKeyNotFound = 22,
  eInvalidKey = 23,
  eNullObjectId = 24,
  eNullHandle = 25,
  eInvalidIndex = 26,
  eNotInDatabase = 27,
  eAlreadyInDb = 28,
  eNoDatabase = 29,
  eWasErased = 30,
  eWasOpenForRead = 31,
  eWasOpenForWrite = 32,
  eWasOpenForNotify = 33,
  eWasNotOpenForWrite = 34,
  eNotOpenForRead = 35,
  eNotOpenForWrite = 36,
  eNotThatKindOfClass = 37,
  eInvalidDxfCode = 51,
  eEndOfFile = 52,
  eFilerError = 53,
  eBadDxfSequence = 54,
  eHandleInUse = 55,
  eWrongDatabase = 56,
  eWrongObjectType = 57,
  eNotInGroup = 58,
  eDwgNeedsRecovery = 60,
  eInvalidSymbolTableName = 61,
  eDuplicateRecordName = 62,
  eFileNotFound = 70,
  eCantOpenFile = 71,
  eFileAccessErr = 72,
  eInvalidDwgVersion = 73,
  eHadMultipleReaders = 80,
  eNotAnEntity = 81,
  eNotNewlyCreated = 82,
  eNoActiveTransactions = 83,
  eInvalidExtents = 90,
};
}  // namespace Acad

namespace AcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };

// Why an object is being filed; records treat the wblock-clone filer specially.
enum FilerType {
  kFileFiler = 0,
  kCopyFiler = 1,
  kUndoFiler = 2,
  kBagFiler = 3,
  kIdXlateFiler = 4,
  kPageFiler = 5,
  kDeepCloneFiler = 6,
  kIdFiler = 7,
  kPurgeFiler = 8,
  kWblockCloneFiler = 9,
};

enum TextHorzMode {
  kTextLeft = 0,
  kTextCenter = 1,
  kTextRight = 2,
  kTextAlign = 3,
  kTextMid = 4,
  kTextFit = 5,
};
enum TextVertMode { kTextBase = 0, kTextBottom = 1, kTextVertMid = 2, kTextTop = 3 };

enum Poly2dType {
  k2dSimplePoly = 0,
  k2dFitCurvePoly = 1,
  k2dQuadSplinePoly = 2,
  k2dCubicSplinePoly = 3
};
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
enum Vertex2dType {
  k2dVertex = 0,
  k2dSplineCtlVertex = 1,
  k2dSplineFitVertex = 2,
  k2dCurveFitVertex = 3
};
enum Vertex3dType { k3dSimpleVertex = 0, k3dControlVertex = 1, k3dFitVertex = 2 };

enum DuplicateRecordCloning { kDrcNotApplicable = 0, kDrcIgnore = 1, kDrcReplace = 2 };
}  // namespace AcDb

namespace AcRx {
// Messages the host sends to an application's entry point.
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The interface version an application reports from acrxGetApiVersion.
constexpr int kTesseraApiVersion = 17;
