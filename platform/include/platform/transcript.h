// The command-line transcript: every prompt with its answer, every printed line, every message
// box. It goes to standard output unless the program sends it elsewhere.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace tessera {

class Transcript {
 public:
  static Transcript& instance();
  void setSink(std::ostream* sink) { m_sink = sink; }
  // Text exactly as the host prints it ("\n" starts a new line).
  void write(const std::string& text);
  // A modal message box with an OK button: shown, and answered OK at once.
  void messageBox(const std::string& text);
  // An answer typed at a prompt: it ends its line as the user's RETURN does, and a "\n" that
  // starts the next text does not open a second one.
  void answer(const std::string& text);
  // Ends the current line if something is on it.
  void finishLine();
  bool atLineStart() const { return m_atLineStart || m_breakOwed; }

 private:
  void emit(std::string_view text);

  std::ostream* m_sink = nullptr;
  bool m_atLineStart = true;
  bool m_breakOwed = false;
};

}  // namespace tessera
