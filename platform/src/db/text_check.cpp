// The one check of text entering a drawing.
#include "db/text_check.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessera::db {
namespace {

// Lead bytes of two-, three- and four-byte sequences; C0, C1 and F5..FF start nothing.
constexpr unsigned char kFirstTwoByteLead = 0xC2;
constexpr unsigned char kFirstThreeByteLead = 0xE0;
constexpr unsigned char kFirstFourByteLead = 0xF0;
constexpr unsigned char kLastFourByteLead = 0xF4;
// Continuation bytes are 10xxxxxx.
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;
// The second byte's range where the lead alone does not decide: E0 (no overlong), ED (no
// surrogate halves), F0 (no overlong), F4 (nothing above U+10FFFF).
constexpr unsigned char kLeadE0 = 0xE0;
constexpr unsigned char kLeadED = 0xED;
constexpr unsigned char kLeadF0 = 0xF0;
constexpr unsigned char kLeadF4 = 0xF4;
constexpr unsigned char kSecondLowest = 0x80;
constexpr unsigned char kSecondHighest = 0xBF;
constexpr unsigned char kAfterE0Lowest = 0xA0;
constexpr unsigned char kBeforeSurrogates = 0x9F;
constexpr unsigned char kAfterF0Lowest = 0x90;
constexpr unsigned char kBelowF4Limit = 0x8F;

bool IsContinuation(unsigned char byte) {
  return (byte & kContinuationMask) == kContinuationBits;
}

// Bytes of the sequence that its lead byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < kContinuationBits) return 1;
  if (lead < kFirstTwoByteLead) return 0;
  if (lead < kFirstThreeByteLead) return 2;
  if (lead < kFirstFourByteLead) return 3;
  return lead <= kLastFourByteLead ? 4 : 0;
}

// The range the second byte of a sequence must fall in.
void SecondByteRange(unsigned char lead, unsigned char& lowest, unsigned char& highest) {
  lowest = kSecondLowest;
  highest = kSecondHighest;
  if (lead == kLeadE0) lowest = kAfterE0Lowest;
  if (lead == kLeadED) highest = kBeforeSurrogates;
  if (lead == kLeadF0) lowest = kAfterF0Lowest;
  if (lead == kLeadF4) highest = kBelowF4Limit;
}

// Bytes of the character of drawing text at `at`: well-formed UTF-8 other than NUL; 0 otherwise.
std::size_t TextCharacterAt(std::string_view text, std::size_t at) {
  return text[at] == '\0' ? 0 : Utf8CharacterAt(text, at);
}

}  // namespace

std::size_t Utf8CharacterAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = SequenceLength(lead);
  if (length <= 1) return length;
  if (at + length > text.size()) return 0;
  unsigned char lowest = 0;
  unsigned char highest = 0;
  SecondByteRange(lead, lowest, highest);
  const auto second = static_cast<unsigned char>(text[at + 1]);
  if (second < lowest || second > highest) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) return 0;
  return length;
}

namespace {

// A byte that passes the test below, to fill out a text shorter than eight bytes.
constexpr char kPassingByte = 'a';

// Whether the eight bytes at `at` are all from 1 to 127: no high bit, and no byte that borrows
// when one is taken from each.
bool EightAsciiBytes(const char* at) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::uint64_t word = 0;
  std::memcpy(&word, at, sizeof word);
  return (word & kHighBits) == 0 && ((word - kOnes) & ~word & kHighBits) == 0;
}

// Whether the text from `at` on is drawing text: ASCII runs eight bytes at a time where they
// are whole, anything else a character at a time.
bool IsValidTextFrom(std::string_view text, std::size_t at) {
  while (at < text.size()) {
    if (text.size() - at >= sizeof(std::uint64_t) && EightAsciiBytes(text.data() + at)) {
      at += sizeof(std::uint64_t);
      continue;
    }
    const std::size_t length = TextCharacterAt(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace

bool IsValidText(std::string_view text) {
  // Most text is short and ASCII, whose bytes from 1 to 127 stand for themselves: a file's read
  // checks every text it holds, eight bytes at a time, the last few together with bytes already
  // checked (or, in a text of fewer than eight, with bytes that pass).
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  const std::size_t size = text.size();
  std::size_t at = 0;
  for (; size - at >= kWord; at += kWord)
    if (!EightAsciiBytes(text.data() + at)) return IsValidTextFrom(text, at);
  if (at == size) return true;
  if (size >= kWord) {
    if (EightAsciiBytes(text.data() + size - kWord)) return true;
  } else {
    char word[kWord] = {kPassingByte, kPassingByte, kPassingByte, kPassingByte,
                        kPassingByte, kPassingByte, kPassingByte, kPassingByte};
    std::memcpy(word, text.data(), size);
    if (EightAsciiBytes(word)) return true;
  }
  return IsValidTextFrom(text, at);
}

std::string ValidText(std::string_view text) {
  std::string valid;
  valid.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = TextCharacterAt(text, at);
    if (length == 0) {
      valid += kReplacementCharacter;
      ++at;
    } else {
      valid.append(text.substr(at, length));
      at += length;
    }
  }
  return valid;
}

bool RepairText(std::string& text) {
  if (IsValidText(text)) return true;
  text = ValidText(text);
  return false;
}

}  // namespace tessera::db
