// What each fuzz target does with one input, apart from libFuzzer's entry point, so that unit
// tests run the same bodies over chosen nasty inputs. Every body must return, on any bytes,
// without a crash, a hang or a read out of bounds; `false` is an inconsistency the target
// reports as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cad/arx.h"
#include "editor/answer.h"
#include "editor/input_source.h"
#include "files/dxf_encoding.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "lisp/printer.h"
#include "lisp/reader.h"

namespace tessera::fuzz {

inline std::string_view BytesOf(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A DXF file's bytes: a drawing or a message; a drawing that was read also writes.
inline bool ReadDxfInput(std::string_view bytes) {
  std::string text;
  if (files::DxfTextAsUtf8(bytes, text)) return true;
  AcDbDatabase drawing(false, true);
  if (!files::ReadDxfText(text, &drawing)) files::WriteDxfText(&drawing);
  return true;
}

// LISP text: forms or a message; what was read whole prints as text that reads whole again.
inline bool ReadLispInput(std::string_view bytes) {
  const lisp::ReadResult read = lisp::Read(bytes);
  if (read.status != lisp::ReadResult::Status::kComplete) return !read.message.empty();
  for (const lisp::Value& form : read.forms) {
    const lisp::ReadResult again = lisp::Read(lisp::Prin1String(form));
    if (again.status != lisp::ReadResult::Status::kComplete || again.forms.size() != 1)
      return false;
  }
  return true;
}

// Questions of every kind a script line may answer.
inline std::vector<editor::Question> ScriptQuestions() {
  using editor::Question;
  using editor::Want;
  const std::vector<std::string> keywords = {"Close", "Undo", "Window"};
  std::vector<Question> questions;
  for (Want want : {Want::kPoint, Want::kString, Want::kKeyword, Want::kInteger, Want::kReal,
                    Want::kSelection, Want::kEntity, Want::kDistance})
    questions.push_back(Question::Of(want, "", 0, keywords));
  questions[1].acceptSpaces = true;
  return questions;
}

// A script: its lines split into items (LISP read across lines), each text line interpreted
// as the answer to every kind of question. Nothing is run.
inline bool ReadScriptInput(std::string_view bytes) {
  static const std::vector<editor::Question> questions = ScriptQuestions();
  editor::InputSource source(std::string(bytes), "fuzz.scr");
  for (editor::InputItem item = source.next(); item.kind != editor::InputItem::Kind::kEnd;
       item = source.next()) {
    if (item.kind == editor::InputItem::Kind::kError && item.message.empty()) return false;
    if (item.kind != editor::InputItem::Kind::kText) continue;
    for (const editor::Question& question : questions)
      editor::EchoText(editor::Interpret(question, editor::Answer::Text(item.text)).value);
  }
  return true;
}

}  // namespace tessera::fuzz
