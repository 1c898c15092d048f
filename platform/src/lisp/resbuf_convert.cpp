// Values to chains and back. Nested lists are walked with explicit stacks, so their depth is
// bounded by memory, not by the C++ stack.
#include "lisp/resbuf_convert.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <variant>

#include "lisp/group_codes.h"
#include "lisp/printer.h"

namespace tessera::lisp {

namespace {

constexpr int kExtendedDataMarker = -3;
constexpr int kApplicationName = 1001;
constexpr std::string_view kBadDxfGroup = "bad DXF group: ";
constexpr std::string_view kMalformedChain = "malformed result-buffer list";
constexpr int kPointDimensions = 3;

bool FitsShort(std::int64_t value) {
  return value >= std::numeric_limits<short>::min() && value <= std::numeric_limits<short>::max();
}

// A proper list of exactly two or three numbers: what the host passes as a point.
bool IsPointList(const Value& value, int& dimensions) {
  dimensions = 0;
  const Value* rest = &value;
  for (; rest->isCons(); rest = &rest->cdr()) {
    if (!rest->car().isNumber() || ++dimensions > kPointDimensions) return false;
  }
  return rest->isNil() && dimensions >= 2;
}

void StorePoint(resbuf* rb, const Value& list) {
  int i = 0;
  for (const Value* rest = &list; rest->isCons(); rest = &rest->cdr()) {
    rb->resval.rpoint[i++] = rest->car().number();
  }
  for (; i < kPointDimensions; ++i) rb->resval.rpoint[i] = 0.0;
}

void StoreName(resbuf* rb, const Value& value) {
  ads_name name;
  value.name(name);
  rb->resval.rlname[0] = name[0];
  rb->resval.rlname[1] = name[1];
}

void AppendAtom(ResbufChain& chain, const Value& value) {
  switch (value.type()) {
    case ValueType::kNil:
      chain.append(RTNIL);
      return;
    case ValueType::kInteger:
      if (FitsShort(value.integer())) {
        chain.append(RTSHORT)->resval.rint = static_cast<short>(value.integer());
      } else {
        chain.append(RTLONG)->resval.rlong = value.integer();
      }
      return;
    case ValueType::kReal:
      chain.append(RTREAL)->resval.rreal = value.real();
      return;
    case ValueType::kString:
      chain.append(RTSTR)->resval.rstring = NewResbufString(value.string());
      return;
    case ValueType::kSymbol:
      if (value.isT()) {
        chain.append(RTT);
      } else if (value.symbolName().empty()) {
        chain.append(RTVOID);
      } else {
        chain.append(RTSTR)->resval.rstring = NewResbufString(value.symbolName());
      }
      return;
    case ValueType::kEntityName:
      StoreName(chain.append(RTENAME), value);
      return;
    case ValueType::kSelectionSet:
      StoreName(chain.append(RTPICKS), value);
      return;
    case ValueType::kCons:
    case ValueType::kSubr:
    case ValueType::kUserFunction:
      break;
  }
  throw Error(std::string(kBadArgumentType) + Prin1String(value));
}

// Appends one value, lists as RTLB ... RTLE (or as a point), to the chain.
void AppendValue(ResbufChain& chain, const Value& root) {
  // A value still to append, or a marker type without value (RTLE, RTDOTE).
  using Item = std::variant<const Value*, int>;
  std::vector<Item> pending{&root};
  while (!pending.empty()) {
    Item item = pending.back();
    pending.pop_back();
    if (const int* marker = std::get_if<int>(&item)) {
      chain.append(*marker);
      continue;
    }
    const Value& value = *std::get<const Value*>(item);
    int dimensions = 0;
    if (!value.isCons()) {
      AppendAtom(chain, value);
    } else if (IsPointList(value, dimensions)) {
      StorePoint(chain.append(dimensions == 2 ? RTPOINT : RT3DPOINT), value);
    } else {
      chain.append(RTLB);
      std::vector<const Value*> elements;
      const Value* rest = &value;
      for (; rest->isCons(); rest = &rest->cdr()) elements.push_back(&rest->car());
      pending.push_back(RTLE);
      if (!rest->isNil()) {
        pending.push_back(rest);
        pending.push_back(RTDOTE);
      }
      for (auto it = elements.rbegin(); it != elements.rend(); ++it) pending.push_back(*it);
    }
  }
}

Value NameValue(const resbuf* rb, bool selectionSet) {
  ads_name name = {rb->resval.rlname[0], rb->resval.rlname[1]};
  return selectionSet ? Value::SelectionSet(name) : Value::EntityName(name);
}

Value PointValue(const resbuf* rb, int dimensions) {
  std::vector<Value> coordinates;
  for (int i = 0; i < dimensions; ++i) coordinates.push_back(Value::Real(rb->resval.rpoint[i]));
  return List(std::move(coordinates));
}

Value StringValue(const char* text) {
  return Value::String(text != nullptr ? text : "");
}

// The value of one group-code item (without its code).
Value GroupItemValue(const resbuf* rb, int code) {
  switch (GroupCodeValueKind(code)) {
    case GroupValueKind::kString:
    case GroupValueKind::kHandle:
      return StringValue(rb->resval.rstring);
    case GroupValueKind::kObjectId:
      return NameValue(rb, false);
    case GroupValueKind::kInt16:
      return Value::Integer(rb->resval.rint);
    case GroupValueKind::kInt32:
      return Value::Integer(rb->resval.rlong);
    case GroupValueKind::kInt64: {
      std::int64_t n = rb->resval.mnLong;
      bool fits = n >= std::numeric_limits<std::int32_t>::min() &&
                  n <= std::numeric_limits<std::int32_t>::max();
      return fits ? Value::Integer(static_cast<std::int32_t>(n))
                  : Value::Real(static_cast<double>(n));
    }
    case GroupValueKind::kReal:
      return Value::Real(rb->resval.rreal);
    case GroupValueKind::kPoint:
      return PointValue(rb, kPointDimensions);
    case GroupValueKind::kInvalid:
      break;
  }
  throw Error("bad DXF group code: " + std::to_string(code));
}

// (code . value) of a group-code item; RTDXF0 is code 0.
Value GroupItem(const resbuf* rb) {
  int code = rb->restype == RTDXF0 ? 0 : rb->restype;
  return Value::Cons(Value::Integer(code), GroupItemValue(rb, code));
}

Value AtomValue(const resbuf* rb) {
  switch (rb->restype) {
    case RTSHORT:
      return Value::Integer(rb->resval.rint);
    case RTLONG:
      return Value::Integer(rb->resval.rlong);
    case RTREAL:
    case RTANG:
    case RTORINT:
      return Value::Real(rb->resval.rreal);
    case RTSTR:
      return StringValue(rb->resval.rstring);
    case RTENAME:
      return NameValue(rb, false);
    case RTPICKS:
      return NameValue(rb, true);
    case RTPOINT:
      return PointValue(rb, 2);
    case RT3DPOINT:
      return PointValue(rb, 3);
    case RTNIL:
    case RTNONE:
      return Value();
    case RTT:
      return Value::T();
    case RTVOID:
      return Value::NullSymbol();
    default:
      break;
  }
  if (rb->restype < RTNONE || rb->restype == RTDXF0) return GroupItem(rb);
  throw Error("unknown result-buffer type " + std::to_string(rb->restype));
}

// A list being rebuilt from RTLB ... RTLE.
struct OpenList {
  std::vector<Value> items;
  bool dotted = false;
  std::optional<Value> tail;
};

void AddItem(std::vector<OpenList>& open, std::vector<Value>& top, Value value) {
  if (open.empty()) {
    top.push_back(std::move(value));
    return;
  }
  OpenList& list = open.back();
  if (!list.dotted) {
    list.items.push_back(std::move(value));
    return;
  }
  if (list.tail) throw Error(std::string(kMalformedChain));
  list.tail = std::move(value);
}

Value CloseList(OpenList& list) {
  if (list.dotted && !list.tail) throw Error(std::string(kMalformedChain));
  Value value = list.tail ? *list.tail : Value();
  for (auto it = list.items.rbegin(); it != list.items.rend(); ++it) {
    value = Value::Cons(std::move(*it), std::move(value));
  }
  return value;
}

// Gathers the extended data after -3: ("APPNAME" (1000 . "...") ...) per application.
Value ExtendedData(const resbuf* rb) {
  std::vector<Value> applications;
  std::vector<Value> current;
  auto flush = [&] {
    if (!current.empty()) applications.push_back(List(std::move(current)));
    current.clear();
  };
  for (; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == kApplicationName) {
      flush();
      current.push_back(StringValue(rb->resval.rstring));
    } else if (current.empty()) {
      throw Error("extended data without an application name");
    } else {
      current.push_back(GroupItem(rb));
    }
  }
  flush();
  return Value::Cons(Value::Integer(kExtendedDataMarker), List(std::move(applications)));
}

[[noreturn]] void BadGroup(const Value& item) {
  throw Error(std::string(kBadDxfGroup) + Prin1String(item));
}

// Appends one (code . value) item to a group-code chain.
void AppendGroupItem(ResbufChain& chain, const Value& item) {
  if (!item.isCons() || !item.car().isInteger()) BadGroup(item);
  int code = item.car().integer();
  const Value& value = item.cdr();
  int dimensions = 0;
  switch (GroupCodeValueKind(code)) {
    case GroupValueKind::kString:
    case GroupValueKind::kHandle:
      if (!value.isString()) BadGroup(item);
      chain.append(code)->resval.rstring = NewResbufString(value.string());
      return;
    case GroupValueKind::kObjectId:
      if (!value.isEntityName()) BadGroup(item);
      StoreName(chain.append(code), value);
      return;
    case GroupValueKind::kInt16:
      if (!value.isInteger() || !FitsShort(value.integer())) BadGroup(item);
      chain.append(code)->resval.rint = static_cast<short>(value.integer());
      return;
    case GroupValueKind::kInt32:
      if (!value.isInteger()) BadGroup(item);
      chain.append(code)->resval.rlong = value.integer();
      return;
    case GroupValueKind::kInt64:
      if (!value.isInteger()) BadGroup(item);
      chain.append(code)->resval.mnLong = value.integer();
      return;
    case GroupValueKind::kReal:
      if (!value.isNumber()) BadGroup(item);
      chain.append(code)->resval.rreal = value.number();
      return;
    case GroupValueKind::kPoint:
      if (!IsPointList(value, dimensions)) BadGroup(item);
      StorePoint(chain.append(code), value);
      return;
    case GroupValueKind::kInvalid:
      break;
  }
  BadGroup(item);
}

// Appends (-3 ("APPNAME" items...) ...) as -3, then 1001 and the items of each application.
void AppendExtendedData(ResbufChain& chain, const Value& item) {
  chain.append(kExtendedDataMarker);
  if (!item.cdr().isList()) BadGroup(item);
  for (const Value& application : ListToVector(item.cdr())) {
    if (!application.isCons() || !application.car().isString()) BadGroup(item);
    const std::string& name = application.car().string();
    chain.append(kApplicationName)->resval.rstring = NewResbufString(name);
    for (const Value& data : ListToVector(application.cdr())) AppendGroupItem(chain, data);
  }
}

}  // namespace

bool ResbufHoldsString(int restype) {
  if (restype == RTSTR || restype == RTDXF0) return true;
  if (restype >= RTNONE) return false;
  GroupValueKind kind = GroupCodeValueKind(restype);
  return kind == GroupValueKind::kString || kind == GroupValueKind::kHandle;
}

char* NewResbufString(std::string_view text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy == nullptr) throw std::bad_alloc();
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return copy;
}

ResbufChain::~ResbufChain() {
  if (head_ != nullptr) acutRelRb(head_);
}

resbuf* ResbufChain::append(int restype) {
  resbuf* rb = acutNewRb(restype);
  *tail_ = rb;
  tail_ = &rb->rbnext;
  return rb;
}

resbuf* ResbufChain::release() {
  resbuf* head = head_;
  head_ = nullptr;
  tail_ = &head_;
  return head;
}

resbuf* ArgumentsToResbuf(const std::vector<Value>& args) {
  ResbufChain chain;
  for (const Value& arg : args) AppendValue(chain, arg);
  return chain.release();
}

resbuf* ValueToResbuf(const Value& value) {
  return ArgumentsToResbuf({value});
}

Value ResbufToValue(const resbuf* chain) {
  std::vector<Value> top;
  std::vector<OpenList> open;
  for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == RTLB) {
      open.emplace_back();
    } else if (rb->restype == RTLE) {
      if (open.empty()) throw Error(std::string(kMalformedChain));
      Value list = CloseList(open.back());
      open.pop_back();
      AddItem(open, top, std::move(list));
    } else if (rb->restype == RTDOTE) {
      if (open.empty() || open.back().items.empty() || open.back().dotted) {
        throw Error(std::string(kMalformedChain));
      }
      open.back().dotted = true;
    } else {
      AddItem(open, top, AtomValue(rb));
    }
  }
  if (!open.empty()) throw Error(std::string(kMalformedChain));
  if (top.size() == 1) return top[0];
  return List(std::move(top));
}

Value GroupListToValue(const resbuf* chain) {
  std::vector<Value> items;
  for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype == kExtendedDataMarker) {
      items.push_back(ExtendedData(rb->rbnext));
      break;
    }
    if (rb->restype >= RTNONE && rb->restype != RTDXF0) {
      throw Error("not a group code in an entity list: " + std::to_string(rb->restype));
    }
    items.push_back(GroupItem(rb));
  }
  return List(std::move(items));
}

resbuf* ValueToGroupList(const Value& list) {
  ResbufChain chain;
  for (const Value& item : ListToVector(list)) {
    if (item.isCons() && item.car().isInteger() && item.car().integer() == kExtendedDataMarker) {
      AppendExtendedData(chain, item);
    } else {
      AppendGroupItem(chain, item);
    }
  }
  return chain.release();
}

}  // namespace tessera::lisp
