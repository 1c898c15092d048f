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

#include <cmath>

#include "cad/arx.h"
#include "common/settings.h"
#include "common/value_format.h"
#include "db/text_check.h"
#include "editor/answer.h"
#include "editor/input_source.h"
#include "files/dxf_encoding.h"
#include "files/dxf_reader.h"
#include "files/dxf_writer.h"
#include "files/tdb_format.h"
#include "linkage/ini_profile.h"
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

// A .tdb drawing read, written and read again: a drawing that was read writes a file that reads
// back to the same bytes, and a DXF file that reads back whole.
inline bool ReadTdbDrawing(const std::vector<unsigned char>& bytes) {
  AcDbDatabase drawing(false, true);
  if (files::ReadTdbBytes(bytes, &drawing)) return true;
  const std::vector<unsigned char> written = files::WriteTdbBytes(&drawing);
  AcDbDatabase again(false, true);
  if (files::ReadTdbBytes(written, &again) || files::WriteTdbBytes(&again) != written) return false;
  if (files::DataDxfCannotCarry(&drawing)) return true;
  const std::string dxf = files::WriteDxfText(&drawing);
  AcDbDatabase fromDxf(false, true);
  return db::IsValidText(dxf) && !files::ReadDxfText(dxf, &fromDxf);
}

// The bytes as a .tdb file, and again with their last eight bytes replaced by the checksum of
// the rest (of the version the bytes name), so that mutations reach past the checksum into the
// reader.
inline bool ReadTdbInput(std::string_view bytes) {
  std::vector<unsigned char> file(bytes.begin(), bytes.end());
  if (!ReadTdbDrawing(file)) return false;
  files::ResumTdbBytes(file);
  return ReadTdbDrawing(file);
}

// Settings strings of both kinds: refused, or read with a positive, finite insertion scale; every
// field's number reads, rounds and formats without a crash.
inline bool ReadSettingsInput(std::string_view bytes) {
  if (const auto figure = area::ParseFigureSettings(bytes)) {
    const double scale = area::MarkInsertScale(*figure);
    if (!(std::isfinite(scale) && scale > 0.0)) return false;
    double value = figure->markScale;
    area::RoundValue(figure->digits, figure->rounding, value);
    if (area::FormatValue(figure->digits, value).empty()) return false;
  }
  if (const auto table = area::ParseTableSettings(bytes)) {
    const double scale = area::TableInsertScale(*table);
    if (!(std::isfinite(scale) && scale > 0.0)) return false;
  }
  for (int shape = area::kShapeTriangle; shape <= area::kShapeLune; ++shape) {
    const auto formula = area::ComposeFormula(shape, bytes);
    if (formula && !area::FitsInNumber(formula->area)) return false;
  }
  return true;
}

// An INI file, asked for the section and key named on its first line ("section|key"): a value
// shorter than the host's buffer, or the fallback.
inline bool ReadIniInput(std::string_view bytes) {
  const std::size_t lineEnd = std::min(bytes.find('\n'), bytes.size());
  const std::string_view question = bytes.substr(0, lineEnd);
  const std::size_t bar = std::min(question.find('|'), question.size());
  const std::string_view section = question.substr(0, bar);
  const std::string_view key = bar < question.size() ? question.substr(bar + 1) : "";
  const std::string value = area::ProfileValue(bytes, section, key, "<none>");
  return value == "<none>" || value.size() < area::kProfileBufferLength;
}

}  // namespace tessera::fuzz
