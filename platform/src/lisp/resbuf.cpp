// The host's result-buffer functions: making, building and releasing chains. Strings in a chain
// are malloc'd and freed with free.
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cad/ads.h"
#include "lisp/group_codes.h"
#include "lisp/resbuf_convert.h"

namespace {

using tessera::lisp::GroupCodeValueKind;
using tessera::lisp::GroupValueKind;
using tessera::lisp::NewResbufString;

constexpr int kExtendedDataMarker = -3;

void CopyPoint(resbuf* rb, const double* point, int dimensions) {
  for (int i = 0; i < dimensions; ++i) rb->resval.rpoint[i] = point != nullptr ? point[i] : 0.0;
}

void CopyName(resbuf* rb, const std::int64_t* name) {
  rb->resval.rlname[0] = name != nullptr ? name[0] : 0;
  rb->resval.rlname[1] = name != nullptr ? name[1] : 0;
}

// Reads the value of a group-code item; false for a code that carries no known value.
bool ReadGroupValue(resbuf* rb, int code, va_list* args) {
  if (code == kExtendedDataMarker) return true;
  switch (GroupCodeValueKind(code)) {
    case GroupValueKind::kString:
    case GroupValueKind::kHandle: {
      const char* text = va_arg(*args, const char*);
      rb->resval.rstring = text != nullptr ? NewResbufString(text) : nullptr;
      return true;
    }
    case GroupValueKind::kObjectId:
      CopyName(rb, va_arg(*args, const std::int64_t*));
      return true;
    case GroupValueKind::kInt16:
      rb->resval.rint = static_cast<short>(va_arg(*args, int));
      return true;
    case GroupValueKind::kInt32:
      rb->resval.rlong = va_arg(*args, std::int32_t);
      return true;
    case GroupValueKind::kInt64:
      rb->resval.mnLong = va_arg(*args, std::int64_t);
      return true;
    case GroupValueKind::kReal:
      rb->resval.rreal = va_arg(*args, double);
      return true;
    case GroupValueKind::kPoint:
      CopyPoint(rb, va_arg(*args, const double*), 3);
      return true;
    case GroupValueKind::kInvalid:
      return false;
  }
  return false;
}

// Reads the value that follows a type in acutBuildList's arguments; false for an unknown type.
bool ReadBuildValue(resbuf* rb, int type, va_list* args) {
  switch (type) {
    case RTREAL:
    case RTANG:
    case RTORINT:
      rb->resval.rreal = va_arg(*args, double);
      return true;
    case RTPOINT:
      CopyPoint(rb, va_arg(*args, const double*), 2);
      return true;
    case RT3DPOINT:
      CopyPoint(rb, va_arg(*args, const double*), 3);
      return true;
    case RTSHORT:
      rb->resval.rint = static_cast<short>(va_arg(*args, int));
      return true;
    case RTLONG:
      rb->resval.rlong = va_arg(*args, std::int32_t);
      return true;
    case RTSTR: {
      const char* text = va_arg(*args, const char*);
      rb->resval.rstring = text != nullptr ? NewResbufString(text) : nullptr;
      return true;
    }
    case RTENAME:
    case RTPICKS:
      CopyName(rb, va_arg(*args, const std::int64_t*));
      return true;
    case RTLB:
    case RTLE:
    case RTDOTE:
    case RTNIL:
    case RTT:
    case RTVOID:
      return true;
    default:
      return type < RTNONE && ReadGroupValue(rb, type, args);
  }
}

}  // namespace

resbuf* acutNewRb(int type) {
  resbuf* rb = new resbuf{};
  rb->restype = static_cast<short>(type);
  return rb;
}

int acutRelRb(resbuf* rb) {
  if (rb == nullptr) return RTERROR;
  while (rb != nullptr) {
    resbuf* next = rb->rbnext;
    if (tessera::lisp::ResbufHoldsString(rb->restype)) std::free(rb->resval.rstring);
    delete rb;
    rb = next;
  }
  return RTNORM;
}

resbuf* acutBuildList(int type, ...) {
  va_list args;
  va_start(args, type);
  tessera::lisp::ResbufChain chain;
  bool valid = true;
  for (; type != 0 && type != RTNONE; type = va_arg(args, int)) {
    // Group code 0 would end the list, so filter lists write it as RTDXF0.
    int restype = type == RTDXF0 ? 0 : type;
    resbuf* rb = chain.append(restype);
    if (!ReadBuildValue(rb, restype, &args)) {
      valid = false;
      break;
    }
  }
  va_end(args);
  return valid ? chain.release() : nullptr;
}

void acutDelBuffer(char*& buffer) {
  std::free(buffer);
  buffer = nullptr;
}
