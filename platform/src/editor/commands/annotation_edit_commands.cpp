// Annotation edits: TEXTEDIT replaces a text's string, -ATTEDIT one attribute's text of a block
// reference (the reference is opened for write first, so that its change follows the
// attribute's).
#include <cctype>

#include "editor/commands/command_groups.h"
#include "editor/commands/command_support.h"
#include "editor/selection.h"

namespace tessera::editor {

namespace {

namespace annotation_prompts {
constexpr const char* kSelectAnnotation = "\nSelect an annotation object: ";
constexpr const char* kNewText = "\nEnter new text: ";
constexpr const char* kSelectReference = "\nSelect block reference: ";
constexpr const char* kTag = "\nEnter attribute tag: ";
constexpr const char* kNewValue = "\nEnter new value: ";
constexpr const char* kNotText = "The object selected is not a text.";
constexpr const char* kNotReference = "The object selected is not a block reference.";
constexpr const char* kNoSuchTag = "The block reference has no attribute \"%s\".";
}  // namespace annotation_prompts

// The entity a pick or an entity name stands for; null for RETURN or a pick of nothing.
AcDbObjectId EntityOf(CommandContext& command, const Answer& answer) {
  if (answer.kind == AnswerKind::kPoint) return PickAt(command.database(), answer.point);
  AcDbObjectId id;
  if (answer.kind == AnswerKind::kEntity && acdbGetObjectId(id, answer.name.data()) == Acad::eOk &&
      !id.isErased())
    return id;
  return {};
}

bool SameTag(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

Task<void> TextEditCommand(CommandContext& command) {
  Answer picked = co_await command.getEntity(annotation_prompts::kSelectAnnotation);
  AcDbObjectId id = EntityOf(command, picked);
  if (id.isNull()) co_return;
  {
    Opened<AcDbText> text(id, AcDb::kForRead);
    if (!text || AcDbAttribute::cast(text.get())) throw CommandError(annotation_prompts::kNotText);
  }
  Answer replacement = co_await command.getString(annotation_prompts::kNewText, true);
  Opened<AcDbText> text(id, AcDb::kForWrite);
  if (text) text->setTextString(replacement.text.c_str());
}

Task<void> AttributeEditCommand(CommandContext& command) {
  Answer picked = co_await command.getEntity(annotation_prompts::kSelectReference);
  AcDbObjectId id = EntityOf(command, picked);
  if (id.isNull()) co_return;
  {
    Opened<AcDbBlockReference> reference(id, AcDb::kForRead);
    if (!reference) throw CommandError(annotation_prompts::kNotReference);
  }
  Answer tag = co_await command.getString(annotation_prompts::kTag, false);
  Answer value = co_await command.getString(annotation_prompts::kNewValue, true);
  Opened<AcDbBlockReference> reference(id, AcDb::kForWrite);
  if (!reference) co_return;
  for (const AcDbObjectId& attributeId : reference->attributeIds()) {
    AcDbAttribute* attribute = nullptr;
    if (reference->openAttribute(attribute, attributeId, AcDb::kForWrite) != Acad::eOk) continue;
    bool match = SameTag(attribute->tag(), tag.text);
    if (match) attribute->setTextString(value.text.c_str());
    attribute->close();
    if (match) co_return;
  }
  throw CommandError(Formatted(annotation_prompts::kNoSuchTag, tag.text));
}

}  // namespace

void AddAnnotationEditCommands(std::vector<HostCommand>& commands) {
  commands.push_back({"TEXTEDIT", TextEditCommand});
  commands.push_back({"-ATTEDIT", AttributeEditCommand});
}

}  // namespace tessera::editor
