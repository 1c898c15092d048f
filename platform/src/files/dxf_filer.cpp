#include "files/dxf_filer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>

#include "cad/db_database.h"
#include "db/database_impl.h"
#include "lisp/group_codes.h"

namespace tessera::files {
namespace {

using lisp::GroupCodeValueKind;
using lisp::GroupValueKind;

// Handles above this are refused: the next free handle must stay representable.
constexpr std::uint64_t kLargestHandle = std::uint64_t{1} << 62;
// Offsets of a point's Y and Z group codes from its X code.
constexpr int kYOffset = 10;
constexpr int kZOffset = 20;

}  // namespace

DxfFiler::DxfFiler(RawTags* out, AcDbDatabase* database) : m_database(database), m_out(out) {}

DxfFiler::DxfFiler(std::string* out, AcDbDatabase* database)
    : m_database(database), m_textOut(out) {}

DxfFiler::DxfFiler(const DxfTag* begin, const DxfTag* end, AcDbDatabase* database)
    : m_database(database), m_begin(begin), m_size(static_cast<std::size_t>(end - begin)) {}

bool DxfFiler::atDataEnd() const {
  if (m_position >= m_size) return true;
  int code = m_begin[m_position].code;
  return code == kDxfXDataApplication || code == 0;
}

void DxfFiler::seek(std::size_t position) {
  m_position = position < m_size ? position : m_size;
  m_canPushBack = false;
}

Acad::ErrorStatus DxfFiler::refuse(const DxfTag& tag, const std::string& what) {
  m_problem = "group " + std::to_string(tag.code) + " " + what;
  m_lastLine = tag.line;
  m_status = Acad::eBadDxfSequence;
  return m_status;
}

Acad::ErrorStatus DxfFiler::readItem(resbuf* item) {
  if (m_status != Acad::eOk) return m_status;
  if (atDataEnd()) {
    m_canPushBack = false;
    return Acad::eEndOfFile;
  }
  m_lastStart = m_position;
  m_canPushBack = true;
  const DxfTag& tag = m_begin[m_position++];
  m_lastLine = tag.line;
  item->rbnext = nullptr;
  item->restype = static_cast<short>(tag.code);
  return readValue(tag, item);
}

Acad::ErrorStatus DxfFiler::readPoint(resbuf* item) {
  const DxfTag& x = m_begin[m_position - 1];
  double* point = item->resval.rpoint;
  point[0] = point[1] = point[2] = 0.0;
  if (!ParseDxfReal(x.value, point[0]))
    return refuse(x, "wants a number, not \"" + std::string(x.value) + "\"");
  for (int axis = 1; axis <= 2; ++axis) {
    int code = x.code + (axis == 1 ? kYOffset : kZOffset);
    if (m_position >= m_size || m_begin[m_position].code != code) break;
    const DxfTag& tag = m_begin[m_position++];
    if (!ParseDxfReal(tag.value, point[axis]))
      return refuse(tag, "wants a number, not \"" + std::string(tag.value) + "\"");
  }
  return Acad::eOk;
}

Acad::ErrorStatus DxfFiler::readValue(const DxfTag& tag, resbuf* item) {
  std::int64_t integer = 0;
  switch (GroupCodeValueKind(tag.code)) {
    case GroupValueKind::kPoint:
      return readPoint(item);
    case GroupValueKind::kReal:
      if (!ParseDxfReal(tag.value, item->resval.rreal))
        return refuse(tag, "wants a number, not \"" + std::string(tag.value) + "\"");
      return Acad::eOk;
    case GroupValueKind::kInt16:
      if (!ParseDxfInteger(tag.value, integer) || integer < std::numeric_limits<short>::min() ||
          integer > std::numeric_limits<unsigned short>::max())
        return refuse(tag, "wants a 16-bit integer, not \"" + std::string(tag.value) + "\"");
      item->resval.rint = static_cast<short>(integer);
      return Acad::eOk;
    case GroupValueKind::kInt32:
      if (!ParseDxfInteger(tag.value, integer) ||
          integer < std::numeric_limits<std::int32_t>::min() ||
          integer > std::numeric_limits<std::uint32_t>::max())
        return refuse(tag, "wants a 32-bit integer, not \"" + std::string(tag.value) + "\"");
      item->resval.rlong = static_cast<std::int32_t>(integer);
      return Acad::eOk;
    case GroupValueKind::kInt64:
      if (!ParseDxfInteger(tag.value, integer))
        return refuse(tag, "wants an integer, not \"" + std::string(tag.value) + "\"");
      item->resval.mnLong = integer;
      return Acad::eOk;
    case GroupValueKind::kObjectId: {
      AcDbHandle handle(std::string(tag.value).c_str());
      AcDbObjectId id;
      db::DatabaseImpl* impl = db::Impl(m_database);
      if (impl != nullptr && handle.value() < kLargestHandle) id = impl->idForHandle(handle, true);
      acdbGetAdsName(item->resval.rlname, id);
      return Acad::eOk;
    }
    default:
      m_text = tag.value;
      item->resval.rstring = m_text.data();
      return Acad::eOk;
  }
}

Acad::ErrorStatus DxfFiler::pushBackItem() {
  if (!m_canPushBack) return Acad::eInvalidInput;
  m_position = m_lastStart;
  m_canPushBack = false;
  return Acad::eOk;
}

bool DxfFiler::atEOF() {
  return atDataEnd();
}

bool DxfFiler::atSubclassData(const char* subclassName) {
  if (atDataEnd() || subclassName == nullptr) return false;
  const DxfTag& tag = m_begin[m_position];
  if (tag.code != AcDb::kDxfSubclass || tag.value != subclassName) return false;
  ++m_position;
  m_canPushBack = false;
  return true;
}

bool DxfFiler::atExtendedData() {
  return m_position < m_size && m_begin[m_position].code == kDxfXDataApplication;
}

// Writing.

Acad::ErrorStatus DxfFiler::append(int code, std::string_view value) {
  if (m_textOut != nullptr) {
    AppendDxfTag(*m_textOut, code, value);
    return m_status;
  }
  if (m_out == nullptr) return m_status = Acad::eFilerError;
  m_out->emplace_back(code, value);
  return m_status;
}

Acad::ErrorStatus DxfFiler::writeItem(const resbuf& item) {
  const ads_u_val& value = item.resval;
  switch (GroupCodeValueKind(item.restype)) {
    case GroupValueKind::kPoint:
      return writePoint3d(item.restype,
                          AcGePoint3d(value.rpoint[0], value.rpoint[1], value.rpoint[2]));
    case GroupValueKind::kReal:
      return writeDouble(item.restype, value.rreal);
    case GroupValueKind::kInt16:
      return writeInt16(item.restype, value.rint);
    case GroupValueKind::kInt32:
      return writeInt32(item.restype, value.rlong);
    case GroupValueKind::kInt64:
      return writeInt64(item.restype, value.mnLong);
    case GroupValueKind::kObjectId: {
      AcDbObjectId id;
      acdbGetObjectId(id, value.rlname);
      return writeObjectId(item.restype, id);
    }
    default:
      return writeString(item.restype, value.rstring ? value.rstring : "");
  }
}

Acad::ErrorStatus DxfFiler::writeString(int code, const char* text) {
  return append(code, text ? text : "");
}

Acad::ErrorStatus DxfFiler::writeInt8(int code, Adesk::Int8 value) {
  return append(code, std::to_string(value));
}

Acad::ErrorStatus DxfFiler::writeInt16(int code, Adesk::Int16 value) {
  return append(code, std::to_string(value));
}

Acad::ErrorStatus DxfFiler::writeInt32(int code, Adesk::Int32 value) {
  return append(code, std::to_string(value));
}

Acad::ErrorStatus DxfFiler::writeInt64(int code, Adesk::Int64 value) {
  return append(code, std::to_string(value));
}

Acad::ErrorStatus DxfFiler::writeBool(int code, bool value) {
  return append(code, value ? "1" : "0");
}

Acad::ErrorStatus DxfFiler::writeDouble(int code, double value, int) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < m_realsKept; ++i)
    if (m_reals[i].bits == bits) return append(code, {m_reals[i].text.data(), m_reals[i].size});
  WrittenReal& written = m_reals[m_nextReal];
  m_nextReal = (m_nextReal + 1) % kWrittenReals;
  m_realsKept = std::min(m_realsKept + 1, kWrittenReals);  // slots fill in turn from the first
  // The text may lie anywhere in the buffer, or elsewhere: it is kept at the buffer's start.
  const std::string_view text = FormatDxfReal(value, written.text);
  std::memmove(written.text.data(), text.data(), text.size());
  written.bits = bits;
  written.size = text.size();
  return append(code, {written.text.data(), written.size});
}

Acad::ErrorStatus DxfFiler::writePoint3d(int code, const AcGePoint3d& point, int) {
  writeDouble(code, point.x);
  writeDouble(code + kYOffset, point.y);
  return writeDouble(code + kZOffset, point.z);
}

Acad::ErrorStatus DxfFiler::writeVector3d(int code, const AcGeVector3d& vector, int) {
  return writePoint3d(code, AcGePoint3d(vector.x, vector.y, vector.z));
}

Acad::ErrorStatus DxfFiler::writeObjectId(int code, const AcDbObjectId& id) {
  return append(code, id.isNull() ? "0" : id.handle().text());
}

Acad::ErrorStatus DxfFiler::writeAcDbHandle(int code, const AcDbHandle& handle) {
  return append(code, handle.text());
}

}  // namespace tessera::files
