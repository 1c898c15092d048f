// The host's input functions for applications: each asks one question of the current input
// (the running script), after the keywords and flags of the last acedInitGet.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cad/ads.h"
#include "editor/input_source.h"
#include "platform/search_path.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

struct InitGet {
  int flags = 0;
  std::vector<std::string> keywords;
};

InitGet& PendingInitGet() {
  static InitGet pending;
  return pending;
}

// acedInitGet applies to the next input call only.
Question TakeQuestion(Want want, const char* prompt) {
  InitGet initGet = std::move(PendingInitGet());
  PendingInitGet() = {};
  Question question;
  question.want = want;
  question.prompt = prompt ? prompt : "";
  question.flags = initGet.flags;
  question.keywords = std::move(initGet.keywords);
  return question;
}

std::string& LastKeyword() {
  static std::string keyword;
  return keyword;
}

// Copies text into a caller's buffer of `length` bytes, cut at a UTF-8 character boundary
// when it does not fit.
void CopyText(const std::string& text, char* buffer, std::size_t length) {
  std::size_t cut = std::min(text.size(), length - 1);
  if (cut < text.size()) {
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  }
  std::memcpy(buffer, text.data(), cut);
  buffer[cut] = '\0';
}

// The status every input function gives for RETURN, a cancel and a keyword.
int StatusOf(const Answer& answer) {
  switch (answer.kind) {
    case AnswerKind::kReturn:
      return RTNONE;
    case AnswerKind::kCancel:
      return RTCAN;
    case AnswerKind::kKeyword:
      LastKeyword() = answer.text;
      return RTKWORD;
    default:
      return RTNORM;
  }
}

std::string FormatPrint(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  int size = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (size <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<std::size_t>(size));
}

}  // namespace

}  // namespace tessera::editor

using namespace tessera::editor;

int acedInitGet(int flags, const char* keywords) {
  PendingInitGet().flags = flags;
  PendingInitGet().keywords = SplitKeywords(keywords ? keywords : "");
  return RTNORM;
}

int acedGetPoint(const ads_point basePoint, const char* prompt, ads_point result) {
  Question question = TakeQuestion(Want::kPoint, prompt);
  if (basePoint) question.basePoint = AcGePoint3d(basePoint[X], basePoint[Y], basePoint[Z]);
  Answer answer = AskFromInput(question);
  if (answer.kind == AnswerKind::kPoint && result) {
    result[X] = answer.point.x;
    result[Y] = answer.point.y;
    result[Z] = answer.point.z;
  }
  return StatusOf(answer);
}

int acedGetString(int acceptSpaces, const char* prompt, char* result, size_t bufferLength) {
  if (result == nullptr || bufferLength == 0) return RTERROR;
  Question question = TakeQuestion(Want::kString, prompt);
  question.acceptSpaces = acceptSpaces != 0;
  Answer answer = AskFromInput(question);
  if (answer.kind == AnswerKind::kCancel) return RTCAN;
  std::string text = answer.text;
  // Without spaces allowed, a space ends the answer as the space bar does.
  if (!acceptSpaces && text.find(' ') != std::string::npos) text.erase(text.find(' '));
  CopyText(text, result, bufferLength);
  return RTNORM;
}

int acedGetKword(const char* prompt, char* result, size_t bufferLength) {
  Question question = TakeQuestion(Want::kKeyword, prompt);
  Answer answer = AskFromInput(question);
  int status = StatusOf(answer);
  if (status == RTKWORD) status = RTNORM;
  if (result && bufferLength > 0)
    CopyText(status == RTNORM ? answer.text : "", result, bufferLength);
  return status;
}

int acedGetInt(const char* prompt, int* result) {
  Answer answer = AskFromInput(TakeQuestion(Want::kInteger, prompt));
  if (answer.kind == AnswerKind::kInteger && result) *result = answer.integer;
  return StatusOf(answer);
}

int acedGetReal(const char* prompt, ads_real* result) {
  Answer answer = AskFromInput(TakeQuestion(Want::kReal, prompt));
  if (answer.kind == AnswerKind::kReal && result) *result = answer.real;
  return StatusOf(answer);
}

int acedGetInput(char* result, size_t bufferLength) {
  if (result == nullptr || bufferLength == 0) return RTERROR;
  CopyText(LastKeyword(), result, bufferLength);
  return RTNORM;
}

int acedGrDraw(const ads_point from, const ads_point to, int color, int highlight) {
  // Nothing is shown: the transcript has no picture of the rubber band.
  return (from && to) ? RTNORM : RTERROR;
}

int acutPrintf(const char* format, ...) {
  if (format == nullptr) return 0;
  va_list args;
  va_start(args, format);
  std::string text = FormatPrint(format, args);
  va_end(args);
  tessera::Transcript::instance().write(text);
  return static_cast<int>(text.size());
}

int acedAlert(const char* text) {
  tessera::Transcript::instance().messageBox(text ? text : "");
  return RTNORM;
}

int acedFindFile(const char* name, char* result, size_t bufferLength) {
  if (name == nullptr || result == nullptr || bufferLength == 0) return RTERROR;
  std::optional<std::string> found = tessera::FindSupportFile(name);
  if (!found || found->size() + 1 > bufferLength) return RTERROR;
  std::memcpy(result, found->c_str(), found->size() + 1);
  return RTNORM;
}
