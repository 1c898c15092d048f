#include "files/memory_filer.h"

#include <algorithm>
#include <bit>
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
  forgetTriple();
  if (m_view) return {m_view, m_view + m_viewSize};
  m_bytes.resize(std::exchange(m_written, 0));
  return std::exchange(m_bytes, {});
}

void MemoryDwgFiler::clear() {
  m_bytes.clear();
  m_written = 0;
  m_position = 0;
  m_status = Acad::eOk;
  forgetTriple();
}

// Texts shared by a file's objects.

namespace {

constexpr std::size_t kTextBlockBytes = 64 * 1024;
constexpr std::size_t kFirstTextSlots = 1024;  // a power of two

// FNV-1a: the texts are short, and the table compares whole texts after the hash.
std::uint32_t TextHash(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return hash;
}

}  // namespace

std::uint64_t SharedTexts::numberOf(std::string_view text) {
  std::uint64_t& recent = m_recent[db::RecentSlot(text)];
  if (recent != 0 && m_texts[recent - 1] == text) return recent - 1;
  if (m_slots.empty()) m_slots.assign(kFirstTextSlots, 0);
  const std::uint32_t hash = TextHash(text);
  std::size_t slot = findSlot(text, hash);
  if (m_slots[slot] == 0) {
    m_texts.push_back(keep(text));
    m_hashes.push_back(hash);
    m_slots[slot] = static_cast<std::uint32_t>(m_texts.size());
    // Kept at most half full, so that a miss ends soon.
    if (2 * m_texts.size() > m_slots.size()) growTable();
    recent = m_texts.size();
    return m_texts.size() - 1;
  }
  recent = m_slots[slot];
  return m_slots[slot] - 1;
}

std::uint64_t SharedTexts::numberOfName(const db::SharedName& name) {
  const auto address = reinterpret_cast<std::uintptr_t>(&name.str());
  NameSlot& slot = m_nameSlots[(address >> 4) % kNameSlots];
  if (slot.name && *slot.name == name) return slot.number;
  const std::uint64_t number = numberOf(std::string_view(name.str()));
  slot.name = name;
  slot.number = number;
  return number;
}

// The slot that holds the text, or the free slot where it goes.
std::size_t SharedTexts::findSlot(std::string_view text, std::uint32_t hash) const {
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t held = m_slots[slot];
    if (held == 0 || (m_hashes[held - 1] == hash && m_texts[held - 1] == text)) return slot;
  }
}

void SharedTexts::growTable() {
  m_slots.assign(2 * m_slots.size(), 0);
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t number = 0; number < m_texts.size(); ++number) {
    std::size_t slot = m_hashes[number] & mask;
    while (m_slots[slot] != 0) slot = (slot + 1) & mask;
    m_slots[slot] = static_cast<std::uint32_t>(number + 1);
  }
}

const db::SharedName& SharedTexts::makeName(std::size_t number) {
  if (m_names.size() <= number) m_names.resize(m_texts.size());
  return m_names[number].emplace(m_texts[number]);
}

// A copy of the text that stays where it is while the writer lives.
std::string_view SharedTexts::keep(std::string_view text) {
  if (text.empty()) return {};
  if (text.size() > m_blockLeft) {
    const std::size_t size = std::max(kTextBlockBytes, text.size());
    m_blocks.push_back(std::make_unique<char[]>(size));
    m_blockEnd = m_blocks.back().get() + size;
    m_blockLeft = size;
  }
  char* at = m_blockEnd - m_blockLeft;
  std::memcpy(at, text.data(), text.size());
  m_blockLeft -= text.size();
  return {at, text.size()};
}

// Writing.

namespace {

// A 64-bit number takes at most ten bytes of seven bits.
constexpr std::size_t kMaxVarintBytes = 10;
constexpr unsigned char kVarintMore = 0x80;  // on every byte of a number but its last
constexpr unsigned char kVarintPart = 0x7F;  // the seven bits of the number a byte holds
constexpr unsigned kVarintBits = 7;

std::uint64_t ZigZag(std::int64_t value) {
  return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}
std::int64_t UnZigZag(std::uint64_t value) {
  return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

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

unsigned char KindByte(MemoryDwgFiler::Kind kind) {
  return static_cast<unsigned char>(kind);
}

using Kind = MemoryDwgFiler::Kind;

Kind FloatKind(Kind kind) {
  return kind == Kind::kPoint ? Kind::kFloatPoint : Kind::kFloatVector;
}
Kind RepeatedKind(Kind kind) {
  return kind == Kind::kPoint ? Kind::kRepeatedPoint : Kind::kRepeatedVector;
}

// The double bits of a zero of either sign, or of a normal float: a mantissa that fits a float's
// 23 bits and an exponent within a float's. Such a double is a float bit for bit; an infinity,
// a NaN (whose payload a float may not keep) or a float's subnormal never is.
constexpr std::uint64_t kBeyondFloatMantissa = (std::uint64_t{1} << 29) - 1;
constexpr unsigned kDoubleExponentShift = 52;
constexpr std::uint64_t kDoubleExponentBits = 0x7FF;
constexpr std::uint64_t kLowestFloatExponent = 1023 - 126;  // as a double's biased exponent
constexpr std::uint64_t kFloatExponents = 254;

bool IsExactFloat(std::uint64_t bits) {
  const std::uint64_t exponent = (bits >> kDoubleExponentShift) & kDoubleExponentBits;
  return (bits << 1) == 0 ||
         ((bits & kBeyondFloatMantissa) == 0 && exponent - kLowestFloatExponent < kFloatExponents);
}

std::uint32_t FloatBits(std::uint64_t doubleBits) {
  return std::bit_cast<std::uint32_t>(static_cast<float>(BitsDouble(doubleBits)));
}
std::uint64_t DoubleBitsOfFloat(std::uint64_t floatBits) {
  return DoubleBits(
      static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(floatBits))));
}

}  // namespace

// Within the room a writer reserved, the bytes are filled in steps, so that the pages of room left
// unused are never touched; beyond it the vector at least doubles, as its own growth would.
void MemoryDwgFiler::grow(std::size_t length) {
  constexpr std::size_t kStep = 64 * 1024;  // bytes
  const std::size_t needed = m_written + length;
  if (needed <= m_bytes.capacity())
    m_bytes.resize(std::min(m_bytes.capacity(), std::max(needed, m_bytes.size() + kStep)));
  else
    m_bytes.resize(std::max(2 * m_bytes.size(), needed));
}

void MemoryDwgFiler::putRaw(const void* data, std::size_t length) {
  if (length > 0) std::memcpy(room(length), data, length);
}

// An item's kind byte and its number of kWidth bytes, in one piece of room.
template <std::size_t kWidth>
void MemoryDwgFiler::putItem(Kind kind, std::uint64_t value) {
  unsigned char* at = room(1 + kWidth);
  at[0] = KindByte(kind);
  StoreLittleEndian<kWidth>(value, at + 1);
}

// A kind byte and a number, seven bits a byte from the lowest.
// Handles, counts and text numbers take one to three bytes: those are stored without the loop.
inline void MemoryDwgFiler::putNumber(unsigned char kindByte, std::uint64_t value) {
  constexpr std::uint64_t kTwoBytes = std::uint64_t{1} << (2 * kVarintBits);
  constexpr std::uint64_t kThreeBytes = std::uint64_t{1} << (3 * kVarintBits);
  if (value >= kThreeBytes || m_bytes.size() - m_written < 1 + kMaxVarintBytes)
    return putLongNumber(kindByte, value);
  unsigned char* at = m_bytes.data() + m_written;
  at[0] = kindByte;
  if (value < kVarintMore) {
    at[1] = static_cast<unsigned char>(value);
    m_written += 2;
  } else if (value < kTwoBytes) {
    at[1] = static_cast<unsigned char>(value | kVarintMore);
    at[2] = static_cast<unsigned char>(value >> kVarintBits);
    m_written += 3;
  } else {
    at[1] = static_cast<unsigned char>(value | kVarintMore);
    at[2] = static_cast<unsigned char>((value >> kVarintBits) | kVarintMore);
    at[3] = static_cast<unsigned char>(value >> (2 * kVarintBits));
    m_written += 4;
  }
}

void MemoryDwgFiler::putLongNumber(unsigned char kindByte, std::uint64_t value) {
  unsigned char* at = reserve(1 + kMaxVarintBytes);
  at[0] = kindByte;
  std::size_t length = 1;
  for (; value >= kVarintMore; value >>= kVarintBits)
    at[length++] = static_cast<unsigned char>(value | kVarintMore);
  at[length++] = static_cast<unsigned char>(value);
  m_written += length;
}

void MemoryDwgFiler::putSigned(Kind kind, std::int64_t value) {
  putNumber(KindByte(kind), ZigZag(value));
}

Acad::ErrorStatus MemoryDwgFiler::writeId(Kind kind, const AcDbObjectId& id) {
  if (idsAsHandles()) {
    putNumber(KindByte(kind), id.isNull() ? 0 : id.handle().value());
  } else {
    putNumber(KindByte(kind), static_cast<std::uint64_t>(id.asOldId()));
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
  putNumber(KindByte(Kind::kHandle), handle.value());
  return m_status;
}

void MemoryDwgFiler::putText(std::string_view text) {
  if (m_texts != nullptr) {
    putNumber(KindByte(Kind::kString) | kSharedTextFlag, m_texts->numberOf(text));
  } else {
    putNumber(KindByte(Kind::kString), text.size());
    putRaw(text.data(), text.size());
  }
}

Acad::ErrorStatus MemoryDwgFiler::writeString(const char* text) {
  putText(text ? text : "");
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeName(const db::SharedName& name) {
  if (m_texts == nullptr) {
    putText(name.str());
  } else {
    putNumber(KindByte(Kind::kString) | kSharedTextFlag, m_texts->numberOfName(name));
  }
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
  putSigned(Kind::kInt16, value);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeInt32(Adesk::Int32 value) {
  putSigned(Kind::kInt32, value);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeInt64(Adesk::Int64 value) {
  putSigned(Kind::kInt64, value);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeUInt16(Adesk::UInt16 value) {
  putNumber(KindByte(Kind::kUInt16), value);
  return m_status;
}

// A point's or vector's kind byte, flagging its zero parts, and its other parts: eight bytes
// each, or four when all of them are exactly floats; only the kind byte when it repeats the last.
void MemoryDwgFiler::putTriple(Kind kind, const double (&parts)[3]) {
  const std::uint64_t bits[3] = {DoubleBits(parts[0]), DoubleBits(parts[1]), DoubleBits(parts[2])};
  if (m_hasLastTriple && bits[0] == m_lastTriple[0] && bits[1] == m_lastTriple[1] &&
      bits[2] == m_lastTriple[2]) {
    *room(1) = KindByte(RepeatedKind(kind));
    return;
  }
  rememberTriple(bits);
  const bool floats = (bits[0] | bits[1] | bits[2]) != 0 && IsExactFloat(bits[0]) &&
                      IsExactFloat(bits[1]) && IsExactFloat(bits[2]);
  unsigned char* at = reserve(1 + 3 * sizeof bits[0]);
  unsigned char kindByte = KindByte(floats ? FloatKind(kind) : kind);
  std::size_t length = 1;
  for (std::size_t i = 0; i < 3; ++i) {
    if (bits[i] == 0) {
      kindByte |= kZeroFlags[i];
    } else if (floats) {
      StoreLittleEndian<4>(FloatBits(bits[i]), at + length);
      length += 4;
    } else {
      StoreLittleEndian<8>(bits[i], at + length);
      length += 8;
    }
  }
  at[0] = kindByte;
  m_written += length;
}

Acad::ErrorStatus MemoryDwgFiler::writeDouble(double value) {
  const std::uint64_t bits = DoubleBits(value);
  if (bits == 0) {
    *room(1) = KindByte(Kind::kDouble) | kZeroFlags[0];
  } else if (IsExactFloat(bits)) {
    unsigned char* at = room(1 + 4);
    at[0] = KindByte(Kind::kDouble) | kFloatFlag;
    StoreLittleEndian<4>(FloatBits(bits), at + 1);
  } else {
    putItem<8>(Kind::kDouble, bits);
  }
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writePoint3d(const AcGePoint3d& point) {
  putTriple(Kind::kPoint, {point.x, point.y, point.z});
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::writeVector3d(const AcGeVector3d& vector) {
  putTriple(Kind::kVector, {vector.x, vector.y, vector.z});
  return m_status;
}

// Byte blocks keep a four-byte length, so that a blob's can be filled in once its bytes are in.
Acad::ErrorStatus MemoryDwgFiler::writeBytes(const void* buffer, std::size_t length) {
  putItem<4>(Kind::kBytes, length);
  putRaw(buffer, length);
  return m_status;
}

std::size_t MemoryDwgFiler::startBlob() {
  forgetTriple();
  putItem<4>(Kind::kBytes, 0);
  return m_written - 4;
}

// A blob of fewer than 256 bytes (most objects' data) is moved back to take a length of one
// byte, flagged in its kind byte.
void MemoryDwgFiler::endBlob(std::size_t mark) {
  forgetTriple();
  const std::size_t length = m_written - mark - 4;
  unsigned char* at = m_bytes.data() + mark;
  if (length > UINT8_MAX) {
    StoreLittleEndian<4>(length, at);
    return;
  }
  at[-1] = KindByte(Kind::kBytes) | kShortBytesFlag;
  at[0] = static_cast<unsigned char>(length);
  std::memmove(at + 1, at + 4, length);
  m_written -= 3;
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
  if (source()[m_position] != KindByte(kind)) return fail(Acad::eFilerError);
  ++m_position;
  return true;
}

bool MemoryDwgFiler::expectFlagged(Kind kind, unsigned char allowed, unsigned char* flags) {
  if (m_status != Acad::eOk) return false;
  if (m_position >= sourceSize()) return fail(Acad::eEndOfFile);
  const unsigned char kindByte = source()[m_position];
  if ((kindByte & kKindBits) != KindByte(kind) || (kindByte & ~kKindBits & ~allowed) != 0)
    return fail(Acad::eFilerError);
  *flags = kindByte & ~kKindBits;
  ++m_position;
  return true;
}

// An item's kind byte and its number of kWidth bytes; a whole item of the kind at the read
// position is taken in one step, anything else as the kind and number apart, which set the
// status a short or mismatched read deserves.
template <std::size_t kWidth>
bool MemoryDwgFiler::takeItem(Kind kind, std::uint64_t* value) {
  if (m_status == Acad::eOk && sourceSize() - m_position > kWidth &&
      source()[m_position] == KindByte(kind)) {
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

// The number at `from`, and the bytes it takes; 0 for one that runs to `end` or past 64 bits.
// Handles and counts take one to three bytes: those are read without the loop.
static inline std::size_t DecodeVarint(const unsigned char* from, const unsigned char* end,
                                       std::uint64_t* value) {
  const auto available = static_cast<std::size_t>(end - from);
  if (available == 0) return 0;
  const std::uint64_t first = from[0];
  if (first < kVarintMore) {
    *value = first;
    return 1;
  }
  if (available >= 3) {
    const std::uint64_t second = from[1];
    if (second < kVarintMore) {
      *value = (first & kVarintPart) | second << kVarintBits;
      return 2;
    }
    const std::uint64_t third = from[2];
    if (third < kVarintMore) {
      *value = (first & kVarintPart) | (second & kVarintPart) << kVarintBits |
               third << (2 * kVarintBits);
      return 3;
    }
  }
  std::uint64_t result = 0;
  for (std::size_t i = 0; i < std::min(kMaxVarintBytes, available); ++i) {
    const std::uint64_t byte = from[i];
    result |= (byte & kVarintPart) << (kVarintBits * i);
    if (byte < kVarintMore) {
      // The tenth byte holds the 64th bit alone.
      if (i + 1 == kMaxVarintBytes && byte > 1) return 0;
      *value = result;
      return i + 1;
    }
  }
  return 0;
}

// A number of seven bits a byte at the read position: one that runs past the end is short, one
// longer than 64 bits damaged.
bool MemoryDwgFiler::takeVarint(std::uint64_t* value) {
  if (m_status != Acad::eOk) return false;
  const unsigned char* from = source() + m_position;
  const std::size_t available = sourceSize() - m_position;
  if (const std::size_t length = DecodeVarint(from, from + available, value)) {
    m_position += length;
    return true;
  }
  const bool cut =
      available < kMaxVarintBytes &&
      std::all_of(from, from + available, [](unsigned char byte) { return byte >= kVarintMore; });
  return fail(cut ? Acad::eEndOfFile : Acad::eFilerError);
}

// A kind byte and a number in one step; anything but a whole number of the kind apart, which sets
// the status a short or damaged number deserves.
bool MemoryDwgFiler::takeCompact(Kind kind, std::uint64_t* value) {
  if (m_status == Acad::eOk && m_position < sourceSize() &&
      source()[m_position] == KindByte(kind)) {
    const unsigned char* end = source() + sourceSize();
    if (const std::size_t length = DecodeVarint(source() + m_position + 1, end, value)) {
      m_position += 1 + length;
      return true;
    }
  }
  return takeCompactApart(kind, value);
}

bool MemoryDwgFiler::takeCompactApart(Kind kind, std::uint64_t* value) {
  return expect(kind) && takeVarint(value);
}

template <std::size_t kWidth, bool kSigned>
bool MemoryDwgFiler::takeNumber(Kind kind, std::uint64_t* value) {
  constexpr unsigned kBits = 8 * kWidth;
  if (m_fixedWidths) {
    if (!takeItem<kWidth>(kind, value)) return false;
    if constexpr (kSigned && kBits < 64)
      *value = static_cast<std::uint64_t>(static_cast<std::int64_t>(*value << (64 - kBits)) >>
                                          (64 - kBits));
    return true;
  }
  if (!takeCompact(kind, value)) return false;
  if constexpr (kSigned) {
    const std::int64_t number = UnZigZag(*value);
    if constexpr (kBits < 64) {
      constexpr std::int64_t kLimit = std::int64_t{1} << (kBits - 1);
      if (number < -kLimit || number >= kLimit) return fail(Acad::eFilerError);
    }
    *value = static_cast<std::uint64_t>(number);
  } else if constexpr (kBits < 64) {
    if (*value >> kBits != 0) return fail(Acad::eFilerError);
  }
  return true;
}

// A double's bits: eight bytes, four for one that is a float, or none for a zero.
bool MemoryDwgFiler::takeDouble(std::uint64_t* bits) {
  if (m_fixedWidths) return takeItem<8>(Kind::kDouble, bits);
  if (m_status == Acad::eOk && sourceSize() - m_position > sizeof *bits) {
    const unsigned char kindByte = source()[m_position];
    if (kindByte == KindByte(Kind::kDouble)) {
      *bits = LoadLittleEndian<sizeof *bits>(source() + m_position + 1);
      m_position += 1 + sizeof *bits;
      return true;
    }
    if (kindByte == (KindByte(Kind::kDouble) | kZeroFlags[0])) {
      *bits = 0;
      ++m_position;
      return true;
    }
    if (kindByte == (KindByte(Kind::kDouble) | kFloatFlag)) {
      *bits = DoubleBitsOfFloat(LoadLittleEndian<4>(source() + m_position + 1));
      m_position += 1 + 4;
      return true;
    }
  }
  unsigned char flags = 0;
  if (!expectFlagged(Kind::kDouble, kZeroFlags[0] | kFloatFlag, &flags)) return false;
  if (flags == kZeroFlags[0]) {
    *bits = 0;
    return true;
  }
  if (flags == kFloatFlag) {
    if (!takeUInt(bits, 4)) return false;
    *bits = DoubleBitsOfFloat(*bits);
    return true;
  }
  if (flags != 0) return fail(Acad::eFilerError);
  return takeUInt(bits, sizeof *bits);
}

// A point's or vector's kind byte and its three parts: a whole triple in one step; a repeated
// one, and anything short or mismatched, apart.
bool MemoryDwgFiler::takeTriple(Kind kind, std::uint64_t (&raw)[3]) {
  if (m_fixedWidths) return takeFixedTriple(kind, raw);
  if (m_status != Acad::eOk || atEnd()) return takeTripleApart(kind, raw);
  const unsigned char kindByte = source()[m_position];
  const bool floats = (kindByte & kKindBits) == KindByte(FloatKind(kind));
  if ((kindByte & kKindBits) != KindByte(kind) && !floats) return takeTripleApart(kind, raw);
  const std::size_t width = floats ? 4 : 8;
  // The parts filed, by the three zero flags above the kind bits.
  constexpr unsigned char kPartsFiled[8] = {3, 2, 2, 1, 2, 1, 1, 0};
  static_assert(kZeroFlags[0] == 1 << 5 && kZeroFlags[1] == 1 << 6 && kZeroFlags[2] == 1 << 7);
  const std::size_t parts = kPartsFiled[kindByte >> 5];
  if (sourceSize() - m_position - 1 < parts * width) return takeTripleApart(kind, raw);
  const unsigned char* from = source() + m_position + 1;
  for (std::size_t i = 0; i < 3; ++i) {
    if ((kindByte & kZeroFlags[i]) != 0) {
      raw[i] = 0;
    } else {
      raw[i] = floats ? DoubleBitsOfFloat(LoadLittleEndian<4>(from)) : LoadLittleEndian<8>(from);
      from += width;
    }
  }
  m_position = static_cast<std::size_t>(from - source());
  rememberTriple(raw);
  return true;
}

bool MemoryDwgFiler::takeTripleApart(Kind kind, std::uint64_t (&raw)[3]) {
  if (m_status != Acad::eOk) return false;
  if (atEnd()) return fail(Acad::eEndOfFile);
  const unsigned char kindByte = source()[m_position];
  if (kindByte == KindByte(RepeatedKind(kind))) {
    // One that repeats nothing is damaged.
    if (!m_hasLastTriple) return fail(Acad::eFilerError);
    ++m_position;
    for (std::size_t i = 0; i < 3; ++i) raw[i] = m_lastTriple[i];
    return true;
  }
  const bool floats = (kindByte & kKindBits) == KindByte(FloatKind(kind));
  unsigned char flags = 0;
  if (!expectFlagged(floats ? FloatKind(kind) : kind, kZeroFlags[0] | kZeroFlags[1] | kZeroFlags[2],
                     &flags))
    return false;
  for (std::size_t i = 0; i < 3; ++i) {
    raw[i] = 0;
    if ((flags & kZeroFlags[i]) == 0 && takeUInt(&raw[i], floats ? 4 : sizeof raw[i]) && floats)
      raw[i] = DoubleBitsOfFloat(raw[i]);
  }
  if (m_status != Acad::eOk) return false;
  rememberTriple(raw);
  return true;
}

bool MemoryDwgFiler::takeFixedTriple(Kind kind, std::uint64_t (&raw)[3]) {
  if (!expect(kind)) return false;
  for (auto& r : raw) takeUInt(&r, sizeof r);
  return m_status == Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::readId(Kind kind, AcDbObjectId* id) {
  std::uint64_t raw = 0;
  AcDbObjectId result;
  if (takeNumber<8>(kind, &raw) && raw >= m_handleLimit) fail(Acad::eFilerError);
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
  if (takeNumber<8>(Kind::kHandle, &raw) && raw >= m_handleLimit) fail(Acad::eFilerError);
  if (handle) *handle = AcDbHandle(raw);
  return m_status;
}

// A text named by its number among the shared texts, which were checked as they were read.
bool MemoryDwgFiler::takeSharedText(std::string_view* text) {
  std::uint64_t number = 0;
  if (!takeVarint(&number)) return false;
  if (number >= m_texts->texts().size()) return fail(Acad::eFilerError);
  *text = m_texts->texts()[number];
  return true;
}

// A shared text's number in one step when the next item names one the texts hold; false, with
// nothing taken, for any other item.
bool MemoryDwgFiler::takeSharedNumber(std::size_t* number) {
  if (m_texts == nullptr || m_fixedWidths || m_status != Acad::eOk || m_position >= sourceSize() ||
      source()[m_position] != (KindByte(Kind::kString) | kSharedTextFlag))
    return false;
  std::uint64_t value = 0;
  const std::size_t length =
      DecodeVarint(source() + m_position + 1, source() + sourceSize(), &value);
  if (length == 0 || value >= m_texts->texts().size()) return false;
  *number = static_cast<std::size_t>(value);
  m_position += 1 + length;
  return true;
}

Acad::ErrorStatus MemoryDwgFiler::readTextInPlace(std::string_view* text) {
  if (std::size_t shared = 0; takeSharedNumber(&shared)) {
    *text = m_texts->texts()[shared];
    return m_status;
  }
  if (!m_fixedWidths && m_status == Acad::eOk && m_position < sourceSize()) {
    // In one step: a text whose bytes are all there.
    const unsigned char kindByte = source()[m_position];
    const unsigned char* from = source() + m_position + 1;
    std::uint64_t number = 0;
    const std::size_t length = DecodeVarint(from, source() + sourceSize(), &number);
    if (kindByte == KindByte(Kind::kString) && length != 0 &&
        number <= sourceSize() - m_position - 1 - length) {
      const std::string_view read(reinterpret_cast<const char*>(from + length), number);
      if (!m_checkText || db::IsValidText(read)) {
        *text = read;
        m_position += 1 + length + number;
        return m_status;
      }
    }
  }
  *text = {};
  std::uint64_t length = 0;
  if (m_fixedWidths) {
    takeItem<4>(Kind::kString, &length);
  } else {
    unsigned char flags = 0;
    if (!expectFlagged(Kind::kString, m_texts ? kSharedTextFlag : 0, &flags)) return m_status;
    if (flags != 0) {
      takeSharedText(text);
      return m_status;
    }
    takeVarint(&length);
  }
  if (m_status == Acad::eOk && length > sourceSize() - m_position) fail(Acad::eEndOfFile);
  if (m_status != Acad::eOk) return m_status;
  const std::string_view read(reinterpret_cast<const char*>(source() + m_position), length);
  m_position += length;
  if (m_checkText && !db::IsValidText(read)) {
    fail(Acad::eFilerError);
    return m_status;
  }
  *text = read;
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readString(std::string* text) {
  std::string_view read;
  readTextInPlace(&read);
  // Into the caller's string: a short text is copied once, not built apart and moved over.
  if (text) text->assign(read);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readName(db::SharedName* name) {
  std::size_t shared = 0;
  if (!takeSharedNumber(&shared)) return AcDbDwgFiler::readName(name);
  const db::SharedName& read = m_texts->nameOf(shared);
  if (!(*name == read)) *name = read;
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
  takeNumber<2, true>(Kind::kInt16, &raw);
  if (value) *value = static_cast<Adesk::Int16>(static_cast<std::uint16_t>(raw));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readInt32(Adesk::Int32* value) {
  std::uint64_t raw = 0;
  takeNumber<4, true>(Kind::kInt32, &raw);
  if (value) *value = static_cast<Adesk::Int32>(static_cast<std::uint32_t>(raw));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readInt64(Adesk::Int64* value) {
  std::uint64_t raw = 0;
  takeNumber<8, true>(Kind::kInt64, &raw);
  if (value) *value = static_cast<Adesk::Int64>(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readUInt16(Adesk::UInt16* value) {
  std::uint64_t raw = 0;
  takeNumber<2>(Kind::kUInt16, &raw);
  if (value) *value = static_cast<Adesk::UInt16>(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readDouble(double* value) {
  std::uint64_t raw = 0;
  takeDouble(&raw);
  if (value) *value = BitsDouble(raw);
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readPoint3d(AcGePoint3d* point) {
  std::uint64_t raw[3] = {};
  if (!takeTriple(Kind::kPoint, raw)) raw[0] = raw[1] = raw[2] = 0;
  if (point) point->set(BitsDouble(raw[0]), BitsDouble(raw[1]), BitsDouble(raw[2]));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readVector3d(AcGeVector3d* vector) {
  std::uint64_t raw[3] = {};
  if (!takeTriple(Kind::kVector, raw)) raw[0] = raw[1] = raw[2] = 0;
  if (vector) *vector = AcGeVector3d(BitsDouble(raw[0]), BitsDouble(raw[1]), BitsDouble(raw[2]));
  return m_status;
}

Acad::ErrorStatus MemoryDwgFiler::readBytes(void* buffer, std::size_t length) {
  std::uint64_t stored = 0;
  if (takeBytesLength(&stored)) {
    if (stored != length) {
      fail(Acad::eFilerError);
    } else {
      takeRaw(buffer, length);
    }
  }
  if (m_status != Acad::eOk && buffer && length > 0) std::memset(buffer, 0, length);
  return m_status;
}

// A block's length: four bytes, or one flagged in the kind byte.
bool MemoryDwgFiler::takeBytesLength(std::uint64_t* length) {
  if (m_status == Acad::eOk && sourceSize() - m_position > 1 &&
      source()[m_position] == (KindByte(Kind::kBytes) | kShortBytesFlag) && !m_fixedWidths) {
    *length = source()[m_position + 1];
    m_position += 2;
    return true;
  }
  return takeItem<4>(Kind::kBytes, length);
}

Acad::ErrorStatus MemoryDwgFiler::readBlobInPlace(const unsigned char** data, std::size_t* size) {
  std::uint64_t length = 0;
  *data = nullptr;
  *size = 0;
  if (takeBytesLength(&length)) {
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

// Copying items.

bool MemoryDwgFiler::copyItemTo(MemoryDwgFiler& out) {
  if (m_status == Acad::eOk && atEnd()) return fail(Acad::eEndOfFile);
  if (m_status != Acad::eOk) return false;
  const auto kind = static_cast<Kind>(source()[m_position] & kKindBits);
  std::uint64_t number = 0;
  switch (kind) {
    case Kind::kHardOwner:
    case Kind::kSoftOwner:
    case Kind::kHardPointer:
    case Kind::kSoftPointer:
    case Kind::kHandle:
      if (takeNumber<8>(kind, &number)) out.putNumber(KindByte(kind), number);
      break;
    case Kind::kString: {
      std::string_view text;
      if (readTextInPlace(&text) == Acad::eOk) out.putText(text);
      break;
    }
    case Kind::kBool:
    case Kind::kInt8:
      if (takeItem<1>(kind, &number)) out.putItem<1>(kind, number);
      break;
    case Kind::kInt16:
      if (takeNumber<2, true>(kind, &number))
        out.putSigned(kind, static_cast<std::int64_t>(number));
      break;
    case Kind::kInt32:
      if (takeNumber<4, true>(kind, &number))
        out.putSigned(kind, static_cast<std::int64_t>(number));
      break;
    case Kind::kInt64:
      if (takeNumber<8, true>(kind, &number))
        out.putSigned(kind, static_cast<std::int64_t>(number));
      break;
    case Kind::kUInt16:
      if (takeNumber<2>(kind, &number)) out.putNumber(KindByte(kind), number);
      break;
    case Kind::kDouble: {
      double value = 0;
      if (readDouble(&value) == Acad::eOk) out.writeDouble(value);
      break;
    }
    case Kind::kPoint:
    case Kind::kFloatPoint:
    case Kind::kRepeatedPoint: {
      AcGePoint3d point;
      if (readPoint3d(&point) == Acad::eOk) out.writePoint3d(point);
      break;
    }
    case Kind::kVector:
    case Kind::kFloatVector:
    case Kind::kRepeatedVector: {
      AcGeVector3d vector;
      if (readVector3d(&vector) == Acad::eOk) out.writeVector3d(vector);
      break;
    }
    case Kind::kBytes: {
      const unsigned char* data = nullptr;
      std::size_t size = 0;
      if (readBlobInPlace(&data, &size) == Acad::eOk) out.writeBytes(data, size);
      break;
    }
    default:
      return fail(Acad::eFilerError);
  }
  return m_status == Acad::eOk;
}

}  // namespace tessera::files
