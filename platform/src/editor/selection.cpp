// Selection sets, filters, picks and windows, and the "Select objects:" dialog.
#include "editor/selection.h"
#include "editor/message_text.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "cad/arx.h"
#include "editor/entity_names.h"
#include "editor/input_source.h"
#include "editor/pick_geometry.h"
#include "editor/spatial_index.h"
#include "editor/system_variables.h"
#include "platform/transcript.h"

namespace tessera::editor {

namespace {

// Prompts and messages of the "Select objects:" dialog.
constexpr const char* kSelectObjects = "\nSelect objects: ";
constexpr const char* kFirstCorner = "\nSpecify first corner: ";
constexpr const char* kOppositeCorner = "\nSpecify opposite corner: ";
constexpr const char* kFound = "\n%d found";
constexpr const char* kTotal = ", %d total";
constexpr const char* kRemoved = ", %d removed";
const std::vector<std::string> kSelectionKeywords = {"Window",   "Crossing", "Last",  "ALL",
                                                     "Previous", "Add",      "Remove"};

// Marks the second word of a selection-set name, so that it is never taken for an entity's.
constexpr std::int64_t kSelectionSetTag = 0x5353;
constexpr int kExtendedDataCode = -3;

std::map<std::int64_t, IdList>& Sets() {
  static std::map<std::int64_t, IdList> sets;
  return sets;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Printed(const char* format, int count) {
  return Substitute(format, {std::to_string(count)});
}

// One pattern without "," alternatives.
bool MatchOne(const char* text, const char* pattern) {
  for (; *pattern != '\0'; ++pattern, ++text) {
    char p = *pattern;
    if (p == '*') {
      for (const char* rest = text;; ++rest) {
        if (MatchOne(rest, pattern + 1)) return true;
        if (*rest == '\0') return false;
      }
    }
    if (*text == '\0') return false;
    unsigned char c = static_cast<unsigned char>(*text);
    bool fits = p == '?' || (p == '#' && std::isdigit(c)) || (p == '@' && std::isalpha(c)) ||
                (p == '.' && !std::isalnum(c)) ||
                std::toupper(c) == std::toupper(static_cast<unsigned char>(p));
    if (!fits) return false;
  }
  return *text == '\0';
}

std::string EntityTypeName(const AcDbEntity* entity) {
  for (AcRxClass* aClass = entity->isA(); aClass != nullptr; aClass = aClass->myParent())
    if (*aClass->dxfName() != '\0') return aClass->dxfName();
  return entity->isA()->name();
}

bool HasExtendedData(const AcDbEntity* entity, const std::string& pattern) {
  resbuf* data = entity->xData(nullptr);
  bool found = false;
  for (const resbuf* item = data; item != nullptr && !found; item = item->rbnext) {
    if (item->restype == AcDb::kDxfRegAppName && item->resval.rstring)
      found = MatchesWildcard(item->resval.rstring, pattern);
  }
  acutRelRb(data);
  return found;
}

void AddUnique(IdList& set, const IdList& more, int& added) {
  for (const AcDbObjectId& id : more) {
    if (std::find(set.begin(), set.end(), id) != set.end()) continue;
    set.push_back(id);
    ++added;
  }
}

void RemoveFrom(IdList& set, const IdList& fewer, int& removed) {
  for (const AcDbObjectId& id : fewer) {
    auto found = std::find(set.begin(), set.end(), id);
    if (found == set.end()) continue;
    set.erase(found);
    ++removed;
  }
}

AcDbDatabase* Working() {
  return acdbHostApplicationServices()->workingDatabase();
}

IdList IdsOfAnswer(const Answer& answer) {
  if (answer.kind == AnswerKind::kSelectionSet) {
    const IdList* members = SelectionSetMembers(answer.name.data());
    return members ? *members : IdList();
  }
  AcDbObjectId id;
  if (acdbGetObjectId(id, answer.name.data()) == Acad::eOk && !id.isErased()) return {id};
  return {};
}

Task<IdList> AskWindow(Conversation& conversation, bool crossing,
                       std::vector<SelectionWindow>* windows) {
  Answer first = co_await conversation.ask(Question::Of(Want::kPoint, kFirstCorner, RSG_NONULL));
  Question second = Question::Of(Want::kPoint, kOppositeCorner, RSG_NONULL);
  second.basePoint = first.point;
  Answer opposite = co_await conversation.ask(second);
  if (windows) windows->push_back({first.point, opposite.point, crossing});
  co_return SelectByWindow(Working(), first.point, opposite.point, crossing);
}

}  // namespace

void NewSelectionSet(const IdList& members, ads_name name) {
  static std::int64_t serial = 0;
  Sets()[++serial] = members;
  name[0] = serial;
  name[1] = kSelectionSetTag;
}

const IdList* SelectionSetMembers(const ads_name name) {
  if (name == nullptr || name[1] != kSelectionSetTag) return nullptr;
  auto found = Sets().find(name[0]);
  return found == Sets().end() ? nullptr : &found->second;
}

bool FreeSelectionSet(const ads_name name) {
  if (name == nullptr || name[1] != kSelectionSetTag) return false;
  return Sets().erase(name[0]) > 0;
}

bool MatchesWildcard(const std::string& text, const std::string& pattern) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = pattern.find(',', start);
    std::string one =
        pattern.substr(start, end == std::string::npos ? std::string::npos : end - start);
    bool negated = !one.empty() && one.front() == '~';
    if (negated) one.erase(0, 1);
    if (MatchOne(text.c_str(), one.c_str()) != negated) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

SelectionFilter::SelectionFilter(const resbuf* list) {
  bool applications = false;
  for (const resbuf* item = list; item != nullptr; item = item->rbnext) {
    int code = item->restype == RTDXF0 ? 0 : item->restype;
    if (code == kExtendedDataCode) {
      applications = true;
      continue;
    }
    if (applications && code == AcDb::kDxfRegAppName && item->resval.rstring)
      m_conditions.push_back({kExtendedDataCode, item->resval.rstring});
    else if ((code == 0 || code == 1 || code == 2 || code == 8) && item->resval.rstring)
      m_conditions.push_back({code, item->resval.rstring});
    else if (code == 62)
      m_conditions.push_back({code, {}, item->resval.rint});
  }
}

bool SelectionFilter::accepts(AcDbObjectId id) const {
  if (m_conditions.empty()) return true;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) return false;
  bool accepted = true;
  for (const Condition& condition : m_conditions) {
    switch (condition.code) {
      case 0:
        accepted = MatchesWildcard(EntityTypeName(entity), condition.pattern);
        break;
      case 1: {
        auto* text = AcDbText::cast(entity);
        accepted = text && MatchesWildcard(text->textString(), condition.pattern);
        break;
      }
      case 2: {
        auto* reference = AcDbBlockReference::cast(entity);
        accepted = reference && MatchesWildcard(reference->blockName(), condition.pattern);
        break;
      }
      case 8:
        accepted = MatchesWildcard(entity->layer(), condition.pattern);
        break;
      case 62:
        accepted = entity->colorIndex() == condition.number;
        break;
      default:
        accepted = HasExtendedData(entity, condition.pattern);
        break;
    }
    if (!accepted) break;
  }
  entity->close();
  return accepted;
}

namespace {

// The entities that could show inside a window of the current UCS, in drawing order: through the
// spatial index, or all of them when the UCS plane stands edge-on to the world's.
IdList EntitiesNear(AcDbDatabase* database, const Window& window) {
  if (database == nullptr) return {};
  if (std::optional<Window> world = WorldBoxUnder(window, database))
    return SpatialIndex::Of(database).entitiesMeeting(*world);
  return ModelSpaceEntities(database);
}

}  // namespace

AcDbObjectId PickAt(AcDbDatabase* database, const AcGePoint3d& point) {
  double reach = IntVariable("PICKBOX", 3);
  Window around({point.x - reach, point.y - reach}, {point.x + reach, point.y + reach});
  IdList ids = EntitiesNear(database, around);
  for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, *id, AcDb::kForRead) != Acad::eOk) continue;
    Shape shape = ShapeOf(entity, database);
    entity->close();
    if (DistanceTo(shape, {point.x, point.y}) <= reach) return *id;
  }
  return {};
}

IdList SelectByWindow(AcDbDatabase* database, const AcGePoint3d& corner1,
                      const AcGePoint3d& corner2, bool crossing) {
  Window window({corner1.x, corner1.y}, {corner2.x, corner2.y});
  IdList selected;
  for (const AcDbObjectId& id : EntitiesNear(database, window)) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    Shape shape = ShapeOf(entity, database);
    entity->close();
    if (crossing ? CrossesWindow(shape, window) : InsideWindow(shape, window))
      selected.push_back(id);
  }
  return selected;
}

IdList SelectAll(AcDbDatabase* database) {
  return ModelSpaceEntities(database);
}

IdList Filtered(const IdList& ids, const SelectionFilter* filter) {
  if (filter == nullptr) return ids;
  IdList kept;
  for (const AcDbObjectId& id : ids)
    if (filter->accepts(id)) kept.push_back(id);
  return kept;
}

IdList& PreviousSelection() {
  static IdList previous;
  return previous;
}

Task<IdList> SelectObjects(Conversation& conversation, SelectionFilter filter,
                           std::vector<SelectionWindow>* windows) {
  IdList selected;
  bool removing = false;
  for (;;) {
    Question question = Question::Of(Want::kSelection, kSelectObjects, 0, kSelectionKeywords);
    Answer answer = co_await conversation.ask(question);
    if (answer.kind == AnswerKind::kReturn) break;
    IdList found;
    if (answer.kind == AnswerKind::kKeyword) {
      const std::string& keyword = answer.text;
      if (keyword == "Add" || keyword == "Remove") {
        removing = keyword == "Remove";
        continue;
      }
      if (keyword == "Window" || keyword == "Crossing")
        found = co_await AskWindow(conversation, keyword == "Crossing", windows);
      if (keyword == "Last" && !LastEntity(Working()).isNull()) found = {LastEntity(Working())};
      if (keyword == "ALL") found = SelectAll(Working());
      if (keyword == "Previous") found = PreviousSelection();
    } else if (answer.kind == AnswerKind::kPoint) {
      AcDbObjectId picked = PickAt(Working(), answer.point);
      if (!picked.isNull()) found = {picked};
    } else {
      found = IdsOfAnswer(answer);
    }
    found = Filtered(found, &filter);
    int changed = 0;
    std::string message = Printed(kFound, static_cast<int>(found.size()));
    if (removing) {
      RemoveFrom(selected, found, changed);
      message += Printed(kRemoved, changed);
    } else {
      AddUnique(selected, found, changed);
      if (static_cast<int>(selected.size()) != changed)
        message += Printed(kTotal, static_cast<int>(selected.size()));
    }
    Transcript::instance().write(message);
  }
  if (!selected.empty()) PreviousSelection() = selected;
  co_return selected;
}

}  // namespace tessera::editor

using namespace tessera::editor;

namespace {

// The "Select objects:" dialog run on the current input, as a prompt of a plug-in.
int SelectInteractively(const SelectionFilter& filter, IdList& selected) {
  Conversation conversation;
  bool ended = false;
  auto dialog = [](Conversation& c, SelectionFilter f, IdList& out, bool& done) -> Task<void> {
    out = co_await SelectObjects(c, std::move(f));
    done = true;
  };
  conversation.setTask(dialog(conversation, filter, selected, ended));
  conversation.start();
  DriveFromInput(conversation);
  return ended ? RTNORM : RTCAN;
}

AcGePoint3d PointOf(const void* point) {
  const double* p = static_cast<const double*>(point);
  return {p[0], p[1], p[2]};
}

}  // namespace

int acedSSGet(const char* mode, const void* point1, const void* point2, const resbuf* filter,
              ads_name selection) {
  if (selection == nullptr) return RTERROR;
  acdbNameClear(selection);
  SelectionFilter conditions(filter);
  std::string kind = mode ? mode : "";
  while (!kind.empty() && kind.front() == '_') kind.erase(0, 1);
  kind = Upper(kind);
  AcDbDatabase* database = Working();
  IdList selected;
  if (kind.empty() && point1 != nullptr) {
    AcDbObjectId picked = PickAt(database, PointOf(point1));
    if (!picked.isNull()) selected = Filtered({picked}, &conditions);
  } else if (kind.empty() || kind == ":S") {
    if (SelectInteractively(conditions, selected) != RTNORM) return RTCAN;
  } else if (kind == "X") {
    selected = Filtered(SelectAll(database), &conditions);
  } else if (kind == "L") {
    AcDbObjectId last = LastEntity(database);
    if (!last.isNull()) selected = Filtered({last}, &conditions);
  } else if (kind == "P") {
    selected = Filtered(PreviousSelection(), &conditions);
  } else if ((kind == "W" || kind == "C") && point1 != nullptr && point2 != nullptr) {
    selected = Filtered(SelectByWindow(database, PointOf(point1), PointOf(point2), kind == "C"),
                        &conditions);
  } else {
    return RTERROR;
  }
  if (selected.empty()) return RTERROR;
  NewSelectionSet(selected, selection);
  return RTNORM;
}

int acedSSLength(const ads_name selection, std::int32_t* length) {
  const IdList* members = SelectionSetMembers(selection);
  if (members == nullptr || length == nullptr) return RTERROR;
  *length = static_cast<std::int32_t>(members->size());
  return RTNORM;
}

int acedSSName(const ads_name selection, std::int32_t index, ads_name entity) {
  const IdList* members = SelectionSetMembers(selection);
  if (members == nullptr || entity == nullptr || index < 0 ||
      static_cast<std::size_t>(index) >= members->size())
    return RTERROR;
  return acdbGetAdsName(entity, (*members)[static_cast<std::size_t>(index)]) == Acad::eOk ? RTNORM
                                                                                          : RTERROR;
}

int acedSSFree(const ads_name selection) {
  return FreeSelectionSet(selection) ? RTNORM : RTERROR;
}
