// Handles and object ids.
#include <algorithm>
#include <cstring>
#include <string>

#include "cad/arx.h"
#include "db/stub.h"

const AcDbObjectId AcDbObjectId::kNull;

AcDbHandle::AcDbHandle(const char* hexText) {
  if (hexText == nullptr) return;
  std::uint64_t value = 0;
  int digits = 0;
  for (const char* p = hexText; *p != '\0'; ++p) {
    char c = *p;
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return;  // not a handle: stays null
    if (++digits > 16) return;
    value = (value << 4) | static_cast<std::uint64_t>(digit);
  }
  m_value = value;
}

namespace {

constexpr std::size_t kMostHexDigits = 16;  // of a 64-bit handle

// The handle's upper-case hexadecimal digits without leading zeros ("0" for zero) and a NUL;
// their count. Written by hand: a save formats a handle per object and per reference.
std::size_t HexDigits(std::uint64_t value, char (&digits)[kMostHexDigits + 1]) {
  char reversed[kMostHexDigits];
  std::size_t count = 0;
  do {
    reversed[count++] = "0123456789ABCDEF"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  for (std::size_t i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
  digits[count] = '\0';
  return count;
}

}  // namespace

void AcDbHandle::getIntoAsciiBuffer(char* buffer) const {
  char digits[kMostHexDigits + 1];
  std::memcpy(buffer, digits, HexDigits(m_value, digits) + 1);
}

bool AcDbHandle::getIntoAsciiBuffer(char* buffer, std::size_t bufferLength) const {
  if (buffer == nullptr || bufferLength == 0) return false;
  char digits[kMostHexDigits + 1];
  const std::size_t count = HexDigits(m_value, digits);
  const std::size_t kept = std::min(count, bufferLength - 1);  // cut short as snprintf would
  std::memcpy(buffer, digits, kept);
  buffer[kept] = '\0';
  return kept == count;
}

std::string AcDbHandle::text() const {
  char digits[kMostHexDigits + 1];
  return std::string(digits, HexDigits(m_value, digits));
}

bool AcDbObjectId::isValid() const {
  return m_stub != nullptr && m_stub->object != nullptr;
}

bool AcDbObjectId::isErased() const {
  return m_stub != nullptr && m_stub->erased;
}

AcDbHandle AcDbObjectId::handle() const {
  return m_stub ? AcDbHandle(m_stub->handle) : AcDbHandle();
}

AcDbDatabase* AcDbObjectId::database() const {
  return m_stub ? m_stub->database : nullptr;
}

AcRxClass* AcDbObjectId::objectClass() const {
  return (m_stub && m_stub->object) ? m_stub->object->isA() : nullptr;
}
