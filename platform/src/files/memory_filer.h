// A binary filer over a byte vector: objects write their fields into it in order and read them
// back in that order. The .tdb drawing format, the undo log and COPY all file through it.
//
// Every item is stored as a one-byte kind, then its value in little-endian order, so a read of
// the wrong kind, or past the end, is detected and sets the filer's status (eFilerError or
// eEndOfFile) instead of reading out of bounds; once the status is not eOk every read fails.
//
// Object ids are stored as handles for the file filer (a read resolves them in the filer's
// database, making an empty stub for a handle not yet read), and as the raw stub address for
// every other kind (undo, copy, wblock clone), which only lives as long as the session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cad/db_object.h"

namespace tessera::files {

class MemoryDwgFiler : public AcDbDwgFiler {
 public:
  // A filer to write into; reads then start from the beginning of what was written.
  explicit MemoryDwgFiler(AcDb::FilerType type = AcDb::kFileFiler,
                          AcDbDatabase* database = nullptr);
  // A filer to read the given bytes.
  MemoryDwgFiler(std::vector<unsigned char> bytes, AcDb::FilerType type,
                 AcDbDatabase* database = nullptr);
  // A filer to read `size` bytes at `data`, which the caller keeps alive and unchanged while the
  // filer reads; nothing may be written into it.
  MemoryDwgFiler(const unsigned char* data, std::size_t size, AcDb::FilerType type,
                 AcDbDatabase* database = nullptr);

  Acad::ErrorStatus filerStatus() const override { return m_status; }
  AcDb::FilerType filerType() const override { return m_type; }
  void setFilerType(AcDb::FilerType type) { m_type = type; }
  void setFilerStatus(Acad::ErrorStatus status) override { m_status = status; }
  void resetFilerStatus() override { m_status = Acad::eOk; }
  AcDbDatabase* database() const override { return m_database; }
  void setDatabase(AcDbDatabase* database) { m_database = database; }

  // The bytes written so far, and the read position in them.
  const std::vector<unsigned char>& bytes() const {
    m_bytes.resize(m_written);
    return m_bytes;
  }
  // All the bytes, written or viewed (a copy for a view).
  std::vector<unsigned char> takeBytes();
  std::size_t position() const { return m_position; }
  void rewind() { m_position = 0; }
  bool atEnd() const { return m_position >= sourceSize(); }
  std::size_t remaining() const { return atEnd() ? 0 : sourceSize() - m_position; }
  // Drops everything written and resets the status.
  void clear();
  // From now on a read of text that is not valid drawing text (db/text_check.h), or of a handle
  // at or above `handleLimit`, fails with eFilerError: what no drawing holds, in a file's bytes.
  void refuseInvalid(std::uint64_t handleLimit) {
    m_checkText = true;
    m_handleLimit = handleLimit;
  }

  // Blobs: length-prefixed blocks of bytes whose length the reader does not know in advance.
  // A blob read in place: where its bytes start in what the filer reads, and how many.
  Acad::ErrorStatus readBlobInPlace(const unsigned char** data, std::size_t* size);
  // A blob whose bytes are written next, straight into the filer (no buffer of their own):
  // startBlob returns a mark that endBlob takes once they are all written.
  std::size_t startBlob();
  void endBlob(std::size_t mark);
  // Bytes taken into an open blob as they are, without a kind of their own.
  void appendToBlob(const unsigned char* data, std::size_t size) { putRaw(data, size); }

  Acad::ErrorStatus readHardOwnershipId(AcDbObjectId* id) override;
  Acad::ErrorStatus writeHardOwnershipId(const AcDbObjectId& id) override;
  Acad::ErrorStatus readSoftOwnershipId(AcDbObjectId* id) override;
  Acad::ErrorStatus writeSoftOwnershipId(const AcDbObjectId& id) override;
  Acad::ErrorStatus readHardPointerId(AcDbObjectId* id) override;
  Acad::ErrorStatus writeHardPointerId(const AcDbObjectId& id) override;
  Acad::ErrorStatus readSoftPointerId(AcDbObjectId* id) override;
  Acad::ErrorStatus writeSoftPointerId(const AcDbObjectId& id) override;
  Acad::ErrorStatus readAcDbHandle(AcDbHandle* handle) override;
  Acad::ErrorStatus writeAcDbHandle(const AcDbHandle& handle) override;
  Acad::ErrorStatus readString(std::string* text) override;
  Acad::ErrorStatus writeString(const char* text) override;
  using AcDbDwgFiler::writeString;
  Acad::ErrorStatus readBool(bool* value) override;
  Acad::ErrorStatus writeBool(bool value) override;
  Acad::ErrorStatus readInt8(Adesk::Int8* value) override;
  Acad::ErrorStatus writeInt8(Adesk::Int8 value) override;
  Acad::ErrorStatus readInt16(Adesk::Int16* value) override;
  Acad::ErrorStatus writeInt16(Adesk::Int16 value) override;
  Acad::ErrorStatus readInt32(Adesk::Int32* value) override;
  Acad::ErrorStatus writeInt32(Adesk::Int32 value) override;
  Acad::ErrorStatus readInt64(Adesk::Int64* value) override;
  Acad::ErrorStatus writeInt64(Adesk::Int64 value) override;
  Acad::ErrorStatus readUInt16(Adesk::UInt16* value) override;
  Acad::ErrorStatus writeUInt16(Adesk::UInt16 value) override;
  Acad::ErrorStatus readDouble(double* value) override;
  Acad::ErrorStatus writeDouble(double value) override;
  Acad::ErrorStatus readPoint3d(AcGePoint3d* point) override;
  Acad::ErrorStatus writePoint3d(const AcGePoint3d& point) override;
  Acad::ErrorStatus readVector3d(AcGeVector3d* vector) override;
  Acad::ErrorStatus writeVector3d(const AcGeVector3d& vector) override;
  Acad::ErrorStatus readBytes(void* buffer, std::size_t length) override;
  Acad::ErrorStatus writeBytes(const void* buffer, std::size_t length) override;

  // The kind byte in front of every item.
  enum class Kind : unsigned char {
    kHardOwner = 1,
    kSoftOwner,
    kHardPointer,
    kSoftPointer,
    kHandle,
    kString,
    kBool,
    kInt8,
    kInt16,
    kInt32,
    kInt64,
    kUInt16,
    kDouble,
    kPoint,
    kVector,
    kBytes,
  };

 private:
  bool idsAsHandles() const { return m_type == AcDb::kFileFiler; }
  const unsigned char* source() const { return m_view ? m_view : m_bytes.data(); }
  std::size_t sourceSize() const { return m_view ? m_viewSize : m_written; }
  Acad::ErrorStatus writeId(Kind kind, const AcDbObjectId& id);
  Acad::ErrorStatus readId(Kind kind, AcDbObjectId* id);
  // Where the next `length` bytes go, counted as written.
  unsigned char* room(std::size_t length) {
    if (m_bytes.size() - m_written < length) grow(length);
    unsigned char* at = m_bytes.data() + m_written;
    m_written += length;
    return at;
  }
  void grow(std::size_t length);
  void putRaw(const void* data, std::size_t length);
  template <std::size_t kWidth>
  void putItem(Kind kind, std::uint64_t value);
  void putTriple(Kind kind, double x, double y, double z);
  // Checks the next kind byte; on a mismatch or at the end sets the status and returns false.
  bool expect(Kind kind);
  bool takeRaw(void* data, std::size_t length);
  bool takeUInt(std::uint64_t* value, std::size_t width);
  template <std::size_t kWidth>
  bool takeItem(Kind kind, std::uint64_t* value);
  [[gnu::noinline]] bool takeItemApart(Kind kind, std::uint64_t* value, std::size_t width);
  bool takeTriple(Kind kind, std::uint64_t (&raw)[3]);
  bool fail(Acad::ErrorStatus status);

  AcDb::FilerType m_type;
  AcDbDatabase* m_database;
  Acad::ErrorStatus m_status = Acad::eOk;
  // Written bytes are the first m_written; the vector grows ahead of them (bytes() trims it), so
  // that appending a number is a store rather than a resize that fills the room first.
  mutable std::vector<unsigned char> m_bytes;
  std::size_t m_written = 0;
  const unsigned char* m_view = nullptr;  // bytes read in place, when not null
  std::size_t m_viewSize = 0;
  std::size_t m_position = 0;
  bool m_checkText = false;
  std::uint64_t m_handleLimit = UINT64_MAX;
};

}  // namespace tessera::files
