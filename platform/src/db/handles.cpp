// Handles and object ids.
#include <cinttypes>
#include <cstdio>
#include <cstring>

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

void AcDbHandle::getIntoAsciiBuffer(char* buffer) const {
  std::snprintf(buffer, 17, "%" PRIX64, m_value);
}

bool AcDbHandle::getIntoAsciiBuffer(char* buffer, std::size_t bufferLength) const {
  if (buffer == nullptr || bufferLength == 0) return false;
  int written = std::snprintf(buffer, bufferLength, "%" PRIX64, m_value);
  return written >= 0 && static_cast<std::size_t>(written) < bufferLength;
}

std::string AcDbHandle::text() const {
  char buffer[17];
  getIntoAsciiBuffer(buffer);
  return buffer;
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
