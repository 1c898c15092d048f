// Construction, access and comparison of LISP values.
#include "lisp/value.h"

#include <cctype>
#include <cmath>
#include <utility>

#include "db/text_check.h"
#include "lisp/printer.h"

namespace tessera::lisp {

namespace {

[[noreturn]] void WrongType(const char* wanted) {
  throw std::logic_error(std::string("LISP value is not ") + wanted);
}

}  // namespace

Value Value::Integer(std::int32_t value) {
  return Value(Storage(value));
}

Value Value::Real(double value) {
  return Value(Storage(value));
}

Value Value::String(std::string text) {
  // Every string a program makes may end up in the drawing, which holds valid text only.
  db::RepairText(text);
  return Value(Storage(StringRef{std::make_shared<const std::string>(std::move(text))}));
}

Value Value::Symbol(std::string_view name) {
  std::string upper = ToUpperAscii(name);
  if (upper == "NIL") return Value();
  return Value(Storage(SymbolRef{std::make_shared<const std::string>(std::move(upper))}));
}

Value Value::T() {
  return Symbol("T");
}

Value Value::NullSymbol() {
  return Symbol("");
}

Value Value::Cons(Value car, Value cdr) {
  auto cell = std::make_shared<ConsCell>();
  cell->car = std::move(car);
  cell->cdr = std::move(cdr);
  return Value(Storage(std::move(cell)));
}

Value Value::EntityName(const ads_name name) {
  return Value(Storage(EntityNameValue{{name[0], name[1]}}));
}

Value Value::SelectionSet(const ads_name name) {
  return Value(Storage(SelectionSetValue{{name[0], name[1]}}));
}

Value Value::Function(std::shared_ptr<const Subr> subr) {
  return Value(Storage(std::move(subr)));
}

Value Value::Function(std::shared_ptr<const UserFunction> function) {
  return Value(Storage(std::move(function)));
}

ValueType Value::type() const {
  return static_cast<ValueType>(storage_.index());
}

bool Value::isSymbol(std::string_view upperName) const {
  return isSymbol() && symbolName() == upperName;
}

std::int32_t Value::integer() const {
  if (!isInteger()) WrongType("an integer");
  return std::get<std::int32_t>(storage_);
}

double Value::real() const {
  if (!isReal()) WrongType("a real");
  return std::get<double>(storage_);
}

double Value::number() const {
  return isInteger() ? integer() : real();
}

const std::string& Value::string() const {
  if (!isString()) WrongType("a string");
  return *std::get<StringRef>(storage_).text;
}

const std::string& Value::symbolName() const {
  if (!isSymbol()) WrongType("a symbol");
  return *std::get<SymbolRef>(storage_).name;
}

const Value& Value::car() const {
  if (!isCons()) WrongType("a cons cell");
  return std::get<std::shared_ptr<ConsCell>>(storage_)->car;
}

const Value& Value::cdr() const {
  if (!isCons()) WrongType("a cons cell");
  return std::get<std::shared_ptr<ConsCell>>(storage_)->cdr;
}

void Value::name(ads_name out) const {
  const std::int64_t* id = nullptr;
  if (isEntityName()) {
    id = std::get<EntityNameValue>(storage_).id;
  } else if (isSelectionSet()) {
    id = std::get<SelectionSetValue>(storage_).id;
  } else {
    WrongType("an entity or selection-set name");
  }
  out[0] = id[0];
  out[1] = id[1];
}

const std::shared_ptr<const Subr>& Value::subr() const {
  if (type() != ValueType::kSubr) WrongType("a built-in function");
  return std::get<std::shared_ptr<const Subr>>(storage_);
}

const std::shared_ptr<const UserFunction>& Value::userFunction() const {
  if (type() != ValueType::kUserFunction) WrongType("a user function");
  return std::get<std::shared_ptr<const UserFunction>>(storage_);
}

bool Value::ownsParts() const {
  if (auto* cell = std::get_if<std::shared_ptr<ConsCell>>(&storage_)) {
    return cell->use_count() == 1;
  }
  if (auto* function = std::get_if<std::shared_ptr<const UserFunction>>(&storage_)) {
    return function->use_count() == 1;
  }
  return false;
}

void Value::moveOwnedPartsTo(std::vector<Value>& pending) {
  if (!ownsParts()) return;
  if (auto* cell = std::get_if<std::shared_ptr<ConsCell>>(&storage_)) {
    pending.push_back(std::move((*cell)->car));
    pending.push_back(std::move((*cell)->cdr));
    return;
  }
  // The function was made non-const (MakeUserFunction) and nothing else can see it any more.
  auto& function =
      const_cast<UserFunction&>(*std::get<std::shared_ptr<const UserFunction>>(storage_));
  pending.push_back(std::move(function.body));
  pending.push_back(std::move(function.definition));
}

ConsCell::~ConsCell() {
  // The parts that only this cell keeps alive are taken apart here one at a time, so that a
  // million-element list (or a million nested ones) does not recurse a million destructors deep.
  if (!car.ownsParts() && !cdr.ownsParts()) return;
  std::vector<Value> pending;
  pending.push_back(std::move(car));
  pending.push_back(std::move(cdr));
  while (!pending.empty()) {
    Value part = std::move(pending.back());
    pending.pop_back();
    part.moveOwnedPartsTo(pending);
  }
}

bool Eq(const Value& a, const Value& b) {
  if (a.type() != b.type()) return false;
  using S = Value::Storage;
  const S& x = a.storage_;
  const S& y = b.storage_;
  switch (a.type()) {
    case ValueType::kNil:
      return true;
    case ValueType::kInteger:
      return a.integer() == b.integer();
    case ValueType::kReal:
      return a.real() == b.real();
    case ValueType::kString:
      return std::get<Value::StringRef>(x).text == std::get<Value::StringRef>(y).text;
    case ValueType::kSymbol:
      return a.symbolName() == b.symbolName();
    case ValueType::kCons:
      return std::get<std::shared_ptr<ConsCell>>(x) == std::get<std::shared_ptr<ConsCell>>(y);
    case ValueType::kEntityName:
    case ValueType::kSelectionSet: {
      ads_name m, n;
      a.name(m);
      b.name(n);
      return m[0] == n[0] && m[1] == n[1];
    }
    case ValueType::kSubr:
      return a.subr() == b.subr();
    case ValueType::kUserFunction:
      return a.userFunction() == b.userFunction();
  }
  return false;
}

namespace {

// Equality of two atoms (anything but a cons cell) as equal sees them.
bool EqualAtoms(const Value& a, const Value& b, double fuzz) {
  if (a.isNumber() && b.isNumber()) {
    if (a.isInteger() && b.isInteger() && fuzz == 0.0) return a.integer() == b.integer();
    return std::fabs(a.number() - b.number()) <= fuzz;
  }
  if (a.isString() && b.isString()) return a.string() == b.string();
  return Eq(a, b);
}

}  // namespace

bool Equal(const Value& a, const Value& b, double fuzz) {
  std::vector<std::pair<const Value*, const Value*>> pending{{&a, &b}};
  while (!pending.empty()) {
    auto [x, y] = pending.back();
    pending.pop_back();
    if (x->isCons() != y->isCons()) return false;
    if (!x->isCons()) {
      if (!EqualAtoms(*x, *y, fuzz)) return false;
      continue;
    }
    if (Eq(*x, *y)) continue;
    pending.emplace_back(&x->cdr(), &y->cdr());
    pending.emplace_back(&x->car(), &y->car());
  }
  return true;
}

Value List(std::vector<Value> items) {
  Value list;
  for (auto it = items.rbegin(); it != items.rend(); ++it) {
    list = Value::Cons(std::move(*it), std::move(list));
  }
  return list;
}

std::vector<Value> ListToVector(const Value& list) {
  std::vector<Value> items;
  const Value* rest = &list;
  while (rest->isCons()) {
    items.push_back(rest->car());
    rest = &rest->cdr();
  }
  if (!rest->isNil()) throw Error(std::string(kBadList) + Prin1String(list));
  return items;
}

std::string ToUpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace tessera::lisp
