// The command-line transcript: what the host's command line would show, line by line.
#include "platform/transcript.h"

#include <iostream>

namespace tessera {

namespace {

constexpr const char* kMessageBoxOpen = "[Message box] ";
constexpr const char* kMessageBoxClose = " [OK]";

}  // namespace

Transcript& Transcript::instance() {
  static Transcript transcript;
  return transcript;
}

void Transcript::emit(std::string_view text) {
  if (text.empty()) return;
  std::ostream& out = m_sink ? *m_sink : std::cout;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  m_atLineStart = text.back() == '\n';
}

void Transcript::write(const std::string& text) {
  if (text.empty()) return;
  if (m_breakOwed) {
    // The RETURN that ended the answer already moved to a new line.
    m_breakOwed = false;
    emit("\n");
    emit(std::string_view(text).substr(text.front() == '\n' ? 1 : 0));
    return;
  }
  emit(text);
}

void Transcript::answer(const std::string& text) {
  write(text);
  m_breakOwed = true;
}

void Transcript::finishLine() {
  if (m_breakOwed) {
    m_breakOwed = false;
    emit("\n");
  } else if (!m_atLineStart) {
    emit("\n");
  }
}

void Transcript::messageBox(const std::string& text) {
  std::string shown = text;
  while (!shown.empty() && shown.front() == '\n') shown.erase(0, 1);
  finishLine();
  answer(kMessageBoxOpen + shown + kMessageBoxClose);
}

}  // namespace tessera
