// A binary filer over a byte vector: objects write their fields into it in order and read them
// back in that order. The .tdb drawing format, the undo log and COPY all file through it.
//
// Every item is stored as a kind byte, then its value, so a read of the wrong kind, or past the
// end, is detected and sets the filer's status (eFilerError or eEndOfFile) instead of reading out
// of bounds; once the status is not eOk every read fails. Values take as few bytes as they need:
// whole numbers, handles and ids seven bits a byte (signed ones zigzagged, so that -1 is short),
// doubles eight bytes, or four when the double is exactly a float (a text's height, a scale of 1,
// a whole coordinate), a double or a point's part that is zero none at all, flagged in the kind
// byte instead, and a point or vector the same as the last one filed (a text's alignment point
// at its position) only its kind byte. Files of .tdb versions 1 to 3 hold every value at a fixed
// width: a filer told so reads them.
//
// Object ids are stored as handles for the file filer (a read resolves them in the filer's
// database, making an empty stub for a handle not yet read), and as the raw stub address for
// every other kind (undo, copy, wblock clone), which only lives as long as the session.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/db_object.h"
#include "cad/shared_name.h"
#include "db/recent_slot.h"

namespace tessera::files {

// The texts of a file's objects, each held once and named by its number in the objects' data.
// A writer numbers texts in the order of their first use; a reader takes them as the file lists
// them, viewed in the file's bytes.
class SharedTexts {
 public:
  std::uint64_t numberOf(std::string_view text);
  std::uint64_t numberOfName(const db::SharedName& name);
  void add(std::string_view text) { m_texts.push_back(text); }
  const std::vector<std::string_view>& texts() const { return m_texts; }
  // A read text as a shared name, made at its first use: a drawing names its few layers and
  // styles in every entity.
  const db::SharedName& nameOf(std::size_t number) {
    if (number < m_names.size() && m_names[number]) return *m_names[number];
    return makeName(number);
  }

 private:
  const db::SharedName& makeName(std::size_t number);
  std::string_view keep(std::string_view text);
  std::size_t findSlot(std::string_view text, std::uint32_t hash) const;
  void growTable();

  // The writer's copies of its texts, which the views below keep, in blocks that never move.
  std::vector<std::unique_ptr<char[]>> m_blocks;
  char* m_blockEnd = nullptr;
  std::size_t m_blockLeft = 0;
  // Open addressing: each slot holds a text's number plus one, or 0 when free.
  std::vector<std::uint32_t> m_slots;
  std::vector<std::uint32_t> m_hashes;  // of each numbered text
  std::vector<std::string_view> m_texts;
  std::vector<std::optional<db::SharedName>> m_names;  // by number, as far as any was asked
  // The last name met in each slot by the address of its one copy, with its number: a name is
  // numbered without hashing its text. Held here, that copy stays while it is in its slot.
  struct NameSlot {
    std::optional<db::SharedName> name;
    std::uint64_t number = 0;
  };
  static constexpr std::size_t kNameSlots = 64;
  std::array<NameSlot, kNameSlots> m_nameSlots{};
  // The number, plus one, of the last text met in each of the writer's recent slots.
  std::array<std::uint64_t, db::kRecentSlots> m_recent{};
};

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
  void rewind() {
    m_position = 0;
    forgetTriple();
  }
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

  // Reads values at the fixed widths of .tdb files of versions 1 to 3.
  void readFixedWidths() { m_fixedWidths = true; }
  // From now on texts are written as, or may be read as, numbers in `texts` (null: whole).
  void shareTexts(SharedTexts* texts) { m_texts = texts; }
  // A text read in place: a view of the bytes the filer reads, or of the shared texts.
  Acad::ErrorStatus readTextInPlace(std::string_view* text);
  // Copies the item at the read position into `out`, as `out` writes it (a shared text whole);
  // false, with the status set, when there is none or it is damaged.
  bool copyItemTo(MemoryDwgFiler& out);

  // Blobs: length-prefixed blocks of bytes whose length the reader does not know in advance
  // (four bytes of length, or one for a blob of fewer than 256 bytes).
  // A blob read in place: where its bytes start in what the filer reads, and how many.
  Acad::ErrorStatus readBlobInPlace(const unsigned char** data, std::size_t* size);
  // A blob whose bytes are written next, straight into the filer (no buffer of their own):
  // startBlob returns a mark that endBlob takes once they are all written.
  std::size_t startBlob();
  void endBlob(std::size_t mark);

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
  Acad::ErrorStatus readName(db::SharedName* name) override;
  Acad::ErrorStatus writeString(const char* text) override;
  Acad::ErrorStatus writeName(const db::SharedName& name) override;
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

  // The kind byte in front of every item: the kind in its low bits, flags above it.
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
    // A point or vector whose parts that are not zero are each exactly a float, four bytes each.
    kFloatPoint,
    kFloatVector,
    // A point or vector with the same parts as the last one filed, in no bytes at all.
    kRepeatedPoint,
    kRepeatedVector,
  };
  static constexpr unsigned char kKindBits = 0x1F;
  // Flags of a text named by its number among the shared texts, and of a double, or a point's or
  // vector's x, y and z, that is zero and left out.
  static constexpr unsigned char kSharedTextFlag = 0x20;
  static constexpr unsigned char kZeroFlags[3] = {0x20, 0x40, 0x80};
  // Flags a double that is exactly a float, filed in four bytes.
  static constexpr unsigned char kFloatFlag = 0x40;
  // Flags a block of bytes whose length takes one byte instead of four.
  static constexpr unsigned char kShortBytesFlag = 0x20;

  // The kind of the item at the read position, if there is one.
  std::optional<Kind> nextKind() const {
    if (atEnd()) return std::nullopt;
    return static_cast<Kind>(source()[m_position] & kKindBits);
  }

 private:
  bool idsAsHandles() const { return m_type == AcDb::kFileFiler; }
  const unsigned char* source() const { return m_view ? m_view : m_bytes.data(); }
  std::size_t sourceSize() const { return m_view ? m_viewSize : m_written; }
  Acad::ErrorStatus writeId(Kind kind, const AcDbObjectId& id);
  Acad::ErrorStatus readId(Kind kind, AcDbObjectId* id);
  // Room for `length` more bytes after those written; the caller counts what it uses.
  unsigned char* reserve(std::size_t length) {
    if (m_bytes.size() - m_written < length) grow(length);
    return m_bytes.data() + m_written;
  }
  // Where the next `length` bytes go, counted as written.
  unsigned char* room(std::size_t length) {
    unsigned char* at = reserve(length);
    m_written += length;
    return at;
  }
  void grow(std::size_t length);
  void putRaw(const void* data, std::size_t length);
  template <std::size_t kWidth>
  void putItem(Kind kind, std::uint64_t value);
  void putNumber(unsigned char kindByte, std::uint64_t value);
  void putLongNumber(unsigned char kindByte, std::uint64_t value);
  void putSigned(Kind kind, std::int64_t value);
  void putText(std::string_view text);
  void putTriple(Kind kind, const double (&parts)[3]);
  // Checks the next kind byte; on a mismatch or at the end sets the status and returns false.
  bool expect(Kind kind);
  // The next kind byte, which must be of `kind` with no flags but `allowed`.
  bool expectFlagged(Kind kind, unsigned char allowed, unsigned char* flags);
  bool takeRaw(void* data, std::size_t length);
  bool takeUInt(std::uint64_t* value, std::size_t width);
  template <std::size_t kWidth>
  bool takeItem(Kind kind, std::uint64_t* value);
  [[gnu::noinline]] bool takeItemApart(Kind kind, std::uint64_t* value, std::size_t width);
  bool takeVarint(std::uint64_t* value);
  bool takeCompact(Kind kind, std::uint64_t* value);
  [[gnu::noinline]] bool takeCompactApart(Kind kind, std::uint64_t* value);
  // A number of the kind that fits kWidth bytes; a signed one comes sign-extended to 64 bits.
  template <std::size_t kWidth, bool kSigned = false>
  bool takeNumber(Kind kind, std::uint64_t* value);
  bool takeDouble(std::uint64_t* bits);
  bool takeTriple(Kind kind, std::uint64_t (&raw)[3]);
  [[gnu::noinline]] bool takeTripleApart(Kind kind, std::uint64_t (&raw)[3]);
  void rememberTriple(const std::uint64_t (&raw)[3]) {
    for (std::size_t i = 0; i < 3; ++i) m_lastTriple[i] = raw[i];
    m_hasLastTriple = true;
  }
  void forgetTriple() { m_hasLastTriple = false; }
  bool takeFixedTriple(Kind kind, std::uint64_t (&raw)[3]);
  bool takeSharedText(std::string_view* text);
  bool takeSharedNumber(std::size_t* number);
  bool takeBytesLength(std::uint64_t* length);
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
  bool m_fixedWidths = false;
  SharedTexts* m_texts = nullptr;
  // The last point or vector filed, which a repeated one stands for: none at the start, after a
  // rewind, and on either side of a blob (a blob's bytes are read by a filer of their own).
  std::uint64_t m_lastTriple[3] = {};
  bool m_hasLastTriple = false;
};

}  // namespace tessera::files
