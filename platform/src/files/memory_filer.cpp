#include "files/memory_filer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "db/database_impl.h"
#include "db/stub.h"
#include "db/text_check.h"
#include "files/little_endian.h"

namespace tessera::files {

MemoryDwgFiler::MemoryDwgFiler(AcDb::FilerType type, AcDbDatabase* database)
    : m_type(type), m_database(database) {}

MemoryDwgFiler::MemoryDwgFiler(std::vector<unsigned char> bytes, AcDb::FilerType type,
                               AcDbDatabase* database)
    : m_type(type), m_database(database), m_bytes(std::move(bytes)), m_written(m_bytes.size()) {}

MemoryDwgFiler::MemoryDwgFiler(const unsigned char* data, std::size_t size, AcDb::FilerType type,
                               AcDbDatabase* database)
    : m_type(type), m_database(database), m_view(data), m_viewSize(size) {}

std::vector<unsigned char> MemoryDwgFiler::takeBytes() {
  m_position = 0;
  if (m_view) return {m_view, m_view + m_viewSize};
  m_bytes.resize(std::exchange(m_written, 0));
  return std::exchange(m_bytes, {});
}

void MemoryDwgFiler::clear() {
  m_bytes.clear();
  m_written = 0;
  m_position = 0;
  m_status = Acad::eOk;
}

// Writing.

// The vector at least doubles when it must grow, as its own growth would.
void MemoryDwgFiler::grow(std::size_t length) {
  m_bytes.resize(std::max(2 * m_bytes.size(), m_written + length));
}

void MemoryDwgFiler::putRaw(const void* data, std::size_t length) {
  if (length > 0) std::memcpy(room(length), data, length);
}

// An item's kind byte and its number of kWidth bytes, in one piece of room.
template <std::size_t kWidth>
void MemoryDwgFiler::putItem(Kind kind, std::uint64_t value) {
  unsigned char* at = room(1 + kWidth);
  at[0] = static_cast<unsigned char>(kind);
  StoreLittleEndian<kWidth>(value, at + 1);
}

Acad::ErrorStatus MemoryDwgFiler::writeId(Kind kind, const AcDbObjectId& id) {
  if (idsAsHandles()) {
    putItem<8>(kind, id.isNull() ? 0 : id.handle().value());
  } else {
    putItem<8>(kind, static_cast<std::uint64_t>(id.asOldId()));
  }
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeHardOwnershipId(const AcDbObjectId& id) {
  return writeId(Kind::kHardOwner, id);
}
Acad::ErrorStatus MemoryDwgFiler::writeSoftOwnershipId(const AcDbObjectId& id) {
  return writeId(Kind::kSoftOwner, id);
}
Acad::ErrorStatus MemoryDwgFiler::writeHardPointerId(const AcDbObjectId& id) {
  return writeId(Kind::kHardPointer, id);
}
Acad::ErrorStatus MemoryDwgFiler::writeSoftPointerId(const AcDbObjectId& id) {
  return writeId(Kind::kSoftPointer, id);
}

Acad::ErrorStatus MemoryDwgFiler::writeAcDbHandle(const AcDbHandle& handle) {
  putItem<8>(Kind::kHandle, handle.value());
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeString(const char* text) {
  std::size_t length = text ? std::strlen(text) : 0;
  putItem<4>(Kind::kString, length);
  putRaw(text, length);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeBool(bool value) {
  putItem<1>(Kind::kBool, value ? 1 : 0);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeInt8(Adesk::Int8 value) {
  putItem<1>(Kind::kInt8, static_cast<std::uint8_t>(value));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeInt16(Adesk::Int16 value) {
  putItem<2>(Kind::kInt16, static_cast<std::uint16_t>(value));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeInt32(Adesk::Int32 value) {
  putItem<4>(Kind::kInt32, static_cast<std::uint32_t>(value));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeInt64(Adesk::Int64 value) {
  putItem<8>(Kind::kInt64, static_cast<std::uint64_t>(value));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeUInt16(Adesk::UInt16 value) {
  putItem<2>(Kind::kUInt16, value);
  return m_status;
}

namespace {
std::uint64_t DoubleBits(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
double BitsDouble(std::uint64_t bits) {
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
}  // namespace

void MemoryDwgFiler::putTriple(Kind kind, double x, double y, double z) {
  constexpr std::size_t kBytes = sizeof(std::uint64_t);
  unsigned char* at = room(1 + 3 * kBytes);
  at[0] = static_cast<unsigned char>(kind);
  StoreLittleEndian<kBytes>(DoubleBits(x), at + 1);
  StoreLittleEndian<kBytes>(DoubleBits(y), at + 1 + kBytes);
  StoreLittleEndian<kBytes>(DoubleBits(z), at + 1 + 2 * kBytes);
}

Acad::ErrorStatus MemoryDwgFiler::writeDouble(double value) {
  putItem<8>(Kind::kDouble, DoubleBits(value));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writePoint3d(const AcGePoint3d& point) {
  putTriple(Kind::kPoint, point.x, point.y, point.z);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeVector3d(const AcGeVector3d& vector) {
  putTriple(Kind::kVector, vector.x, vector.y, vector.z);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeBytes(const void* buffer, std::size_t length) {
  putItem<4>(Kind::kBytes, length);
  putRaw(buffer, length);
  return m_status;
}

// A blob's length is not known before its bytes are written: four bytes are kept for it.
std::size_t MemoryDwgFiler::startBlob() {
  putItem<4>(Kind::kBytes, 0);
  return m_written - 4;
}

void MemoryDwgFiler::endBlob(std::size_t mark) {
  StoreLittleEndian<4>(m_written - mark - 4, m_bytes.data() + mark);
}

// Reading.

bool MemoryDwgFiler::fail(Acad::ErrorStatus status) {
  if (m_status == Acad::eOk) m_status = status;
  return false;
}

bool MemoryDwgFiler::takeRaw(void* data, std::size_t length) {
  if (m_status != Acad::eOk) return false;
  if (length > sourceSize() - m_position) return fail(Acad::eEndOfFile);
  if (length > 0) std::memcpy(data, source() + m_position, length);
  m_position += length;
  return true;
}

bool MemoryDwgFiler::takeUInt(std::uint64_t* value, std::size_t width) {
  // Decoded in place rather than through takeRaw: a drawing's read takes this path per number.
  if (m_status != Acad::eOk) return false;
  if (width > sourceSize() - m_position) return fail(Acad::eEndOfFile);
  const unsigned char* from = source() + m_position;
  // Numbers are 1, 2, 4 or 8 bytes wide.
  switch (width) {
    case 8:
      *value = LoadLittleEndian<8>(from);
      break;
    case 4:
      *value = LoadLittleEndian<4>(from);
      break;
    case 2:
      *value = LoadLittleEndian<2>(from);
      break;
    default:
      *value = LoadLittleEndian<1>(from);
  }
  m_position += width;
  return true;
}

bool MemoryDwgFiler::expect(Kind kind) {
  if (m_status != Acad::eOk) return false;
  if (m_position >= sourceSize()) return fail(Acad::eEndOfFile);
  if (source()[m_position] != static_cast<unsigned char>(kind)) return fail(Acad::eFilerError);
  ++m_position;
  return true;
}

// An item's kind byte and its number of kWidth bytes; a whole item of the kind at the read
// position is taken in one step, anything else as the kind and number apart, which set the
// status a short or mismatched read deserves.
template <std::size_t kWidth>
bool MemoryDwgFiler::takeItem(Kind kind, std::uint64_t* value) {
  if (m_status == Acad::eOk && sourceSize() - m_position > kWidth &&
      source()[m_position] == static_cast<unsigned char>(kind)) {
    *value = LoadLittleEndian<kWidth>(source() + m_position + 1);
    m_position += 1 + kWidth;
    return true;
  }
  return takeItemApart(kind, value, kWidth);
}

// Out of line, so that the whole-item step above stays small enough to be inlined into every read.
bool MemoryDwgFiler::takeItemApart(Kind kind, std::uint64_t* value, std::size_t width) {
  return expect(kind) && takeUInt(value, width);
}

// A point's or vector's kind byte and its three numbers.
bool MemoryDwgFiler::takeTriple(Kind kind, std::uint64_t (&raw)[3]) {
  constexpr std::size_t kBytes = sizeof(std::uint64_t);
  if (m_status == Acad::eOk && sourceSize() - m_position > 3 * kBytes &&
      source()[m_position] == static_cast<unsigned char>(kind)) {
    const unsigned char* from = source() + m_position + 1;
    for (std::size_t i = 0; i < 3; ++i) raw[i] = LoadLittleEndian<kBytes>(from + i * kBytes);
    m_position += 1 + 3 * kBytes;
    return true;
  }
  if (!expect(kind)) return false;
  for (auto& r : raw) takeUInt(&r, kBytes);
  return m_status == Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::readId(Kind kind, AcDbObjectId* id) {
  std::uint64_t raw = 0;
  AcDbObjectId result;
  if (takeItem<8>(kind, &raw) && raw >= m_handleLimit) fail(Acad::eFilerError);
  if (m_status == Acad::eOk && raw != 0) {
    if (!idsAsHandles()) {
      result.setFromOldId(static_cast<std::int64_t>(raw));
    } else if (db::DatabaseImpl* impl = db::Impl(m_database)) {
      result = impl->idForHandle(AcDbHandle(raw), true);
    } else {
      fail(Acad::eNoDatabase);
    }
  }
  if (id) *id = result;
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readHardOwnershipId(AcDbObjectId* id) {
  return readId(Kind::kHardOwner, id);
}
Acad::ErrorStatus MemoryDwgFiler::readSoftOwnershipId(AcDbObjectId* id) {
  return readId(Kind::kSoftOwner, id);
}
Acad::ErrorStatus MemoryDwgFiler::readHardPointerId(AcDbObjectId* id) {
  return readId(Kind::kHardPointer, id);
}
Acad::ErrorStatus MemoryDwgFiler::readSoftPointerId(AcDbObjectId* id) {
  return readId(Kind::kSoftPointer, id);
}

Acad::ErrorStatus MemoryDwgFiler::readAcDbHandle(AcDbHandle* handle) {
  std::uint64_t raw = 0;
  if (takeItem<8>(Kind::kHandle, &raw) && raw >= m_handleLimit) fail(Acad::eFilerError);
  if (handle) *handle = AcDbHandle(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readString(std::string* text) {
  std::uint64_t length = 0;
  if (takeItem<4>(Kind::kString, &length) && length > sourceSize() - m_position)
    fail(Acad::eEndOfFile);
  if (m_status != Acad::eOk) {
    if (text) text->clear();
    return m_status;
  }
  // Into the caller's string: a short text is copied once, not built apart and moved over.
  const std::string_view read(reinterpret_cast<const char*>(source() + m_position), length);
  if (text) text->assign(read);
  m_position += length;
  if (m_checkText && !db::IsValidText(read)) fail(Acad::eFilerError);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readBool(bool* value) {
  std::uint64_t raw = 0;
  takeItem<1>(Kind::kBool, &raw);
  if (value) *value = raw != 0;
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readInt8(Adesk::Int8* value) {
  std::uint64_t raw = 0;
  takeItem<1>(Kind::kInt8, &raw);
  if (value) *value = static_cast<Adesk::Int8>(static_cast<std::uint8_t>(raw));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readInt16(Adesk::Int16* value) {
  std::uint64_t raw = 0;
  takeItem<2>(Kind::kInt16, &raw);
  if (value) *value = static_cast<Adesk::Int16>(static_cast<std::uint16_t>(raw));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readInt32(Adesk::Int32* value) {
  std::uint64_t raw = 0;
  takeItem<4>(Kind::kInt32, &raw);
  if (value) *value = static_cast<Adesk::Int32>(static_cast<std::uint32_t>(raw));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readInt64(Adesk::Int64* value) {
  std::uint64_t raw = 0;
  takeItem<8>(Kind::kInt64, &raw);
  if (value) *value = static_cast<Adesk::Int64>(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readUInt16(Adesk::UInt16* value) {
  std::uint64_t raw = 0;
  takeItem<2>(Kind::kUInt16, &raw);
  if (value) *value = static_cast<Adesk::UInt16>(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readDouble(double* value) {
  std::uint64_t raw = 0;
  takeItem<8>(Kind::kDouble, &raw);
  if (value) *value = BitsDouble(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readPoint3d(AcGePoint3d* point) {
  std::uint64_t raw[3] = {};
  takeTriple(Kind::kPoint, raw);
  if (point) point->set(BitsDouble(raw[0]), BitsDouble(raw[1]), BitsDouble(raw[2]));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readVector3d(AcGeVector3d* vector) {
  std::uint64_t raw[3] = {};
  takeTriple(Kind::kVector, raw);
  if (vector) *vector = AcGeVector3d(BitsDouble(raw[0]), BitsDouble(raw[1]), BitsDouble(raw[2]));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readBytes(void* buffer, std::size_t length) {
  std::uint64_t stored = 0;
  if (takeItem<4>(Kind::kBytes, &stored)) {
    if (stored != length) {
      fail(Acad::eFilerError);
    } else {
      takeRaw(buffer, length);
    }
  }
  if (m_status != Acad::eOk && buffer && length > 0) std::memset(buffer, 0, length);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readBlobInPlace(const unsigned char** data, std::size_t* size) {
  std::uint64_t length = 0;
  *data = nullptr;
  *size = 0;
  if (takeItem<4>(Kind::kBytes, &length)) {
    if (length > sourceSize() - m_position) {
      fail(Acad::eEndOfFile);
    } else {
      *data = source() + m_position;
      *size = length;
      m_position += length;
    }
  }
  return m_status;
}

}  // namespace tessera::files
