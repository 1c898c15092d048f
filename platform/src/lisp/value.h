// Values of the platform's AutoLISP evaluator: nil, numbers, strings, symbols, cons cells, entity
// and selection-set names, and functions. Values are immutable and cheap to copy: strings, cells
// and functions are shared.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "cad/ads.h"

namespace tessera::lisp {

class Interpreter;
class Value;

// An evaluation error. The message is the host's text after "; error: ".
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Messages of the errors that several parts of the evaluator raise.
inline constexpr std::string_view kTooFewArguments = "too few arguments";
inline constexpr std::string_view kTooManyArguments = "too many arguments";
inline constexpr std::string_view kDivideByZero = "divide by zero";
inline constexpr std::string_view kMalformedList = "malformed list on input";
inline constexpr std::string_view kMalformedString = "malformed string on input";
inline constexpr std::string_view kExtraRightParen = "extra right paren on input";
inline constexpr std::string_view kNoFunctionDefinition = "no function definition: ";
inline constexpr std::string_view kBadFunction = "bad function: ";
inline constexpr std::string_view kBadArgumentType = "bad argument type: ";
inline constexpr std::string_view kBadArgumentValue = "bad argument value: ";
inline constexpr std::string_view kBadList = "bad list: ";
inline constexpr std::string_view kStackOverflow = "LISP stack overflow";

// A function implemented in C++; it receives its arguments evaluated.
using Builtin = std::function<Value(Interpreter&, std::vector<Value>& args)>;
// A special form receives the unevaluated argument list (the form without its head).
using SpecialForm = std::function<Value(Interpreter&, const Value& arguments)>;

enum class ValueType {
  kNil,
  kInteger,
  kReal,
  kString,
  kSymbol,
  kCons,
  kEntityName,
  kSelectionSet,
  kSubr,
  kUserFunction,
};

struct ConsCell;

// A built-in function or special form (exactly one of `builtin`, `special` is set).
struct Subr {
  std::string name;
  Builtin builtin;
  SpecialForm special;
};

// A function made by defun or lambda. Parameters and locals are bound dynamically during a call.
struct UserFunction;

class Value {
 public:
  Value() = default;  // nil
  Value(const Value&) = default;
  Value& operator=(const Value&) = default;
  // A moved-from value is nil.
  Value(Value&& other) noexcept : storage_(std::exchange(other.storage_, std::monostate())) {}
  Value& operator=(Value&& other) noexcept {
    if (this != &other) storage_ = std::exchange(other.storage_, std::monostate());
    return *this;
  }

  static Value Integer(std::int32_t value);
  static Value Real(double value);
  static Value String(std::string text);
  // Symbol names are case-insensitive and kept upper-case; "NIL" gives nil.
  static Value Symbol(std::string_view name);
  static Value T();
  // The symbol with the empty name: what (princ) returns and the command line does not print.
  static Value NullSymbol();
  static Value Cons(Value car, Value cdr);
  static Value EntityName(const ads_name name);
  static Value SelectionSet(const ads_name name);
  static Value Function(std::shared_ptr<const Subr> subr);
  static Value Function(std::shared_ptr<const UserFunction> function);

  ValueType type() const;
  bool isNil() const { return type() == ValueType::kNil; }
  bool isInteger() const { return type() == ValueType::kInteger; }
  bool isReal() const { return type() == ValueType::kReal; }
  bool isNumber() const { return isInteger() || isReal(); }
  bool isString() const { return type() == ValueType::kString; }
  bool isSymbol() const { return type() == ValueType::kSymbol; }
  // True for the symbol of that name; `upperName` must be upper-case.
  bool isSymbol(std::string_view upperName) const;
  bool isT() const { return isSymbol("T"); }
  bool isCons() const { return type() == ValueType::kCons; }
  // nil or a cons cell.
  bool isList() const { return isNil() || isCons(); }
  bool isEntityName() const { return type() == ValueType::kEntityName; }
  bool isSelectionSet() const { return type() == ValueType::kSelectionSet; }
  bool isFunction() const {
    return type() == ValueType::kSubr || type() == ValueType::kUserFunction;
  }

  // Accessors; each requires the matching type (checked, throws std::logic_error otherwise).
  std::int32_t integer() const;
  double real() const;
  double number() const;  // integer or real, as a real
  const std::string& string() const;
  const std::string& symbolName() const;
  const Value& car() const;
  const Value& cdr() const;
  // Entity or selection-set name: [0] the object or set, [1] its drawing.
  void name(ads_name out) const;
  const std::shared_ptr<const Subr>& subr() const;
  const std::shared_ptr<const UserFunction>& userFunction() const;

  // Identity as AutoLISP's eq sees it: same number, symbol or name; same string or cell object.
  friend bool Eq(const Value& a, const Value& b);

 private:
  friend struct ConsCell;
  struct StringRef {
    std::shared_ptr<const std::string> text;
  };
  struct SymbolRef {
    std::shared_ptr<const std::string> name;
  };
  struct EntityNameValue {
    std::int64_t id[2];
  };
  struct SelectionSetValue {
    std::int64_t id[2];
  };
  using Storage = std::variant<std::monostate, std::int32_t, double, StringRef, SymbolRef,
                               std::shared_ptr<ConsCell>, EntityNameValue, SelectionSetValue,
                               std::shared_ptr<const Subr>, std::shared_ptr<const UserFunction>>;

  explicit Value(Storage storage) : storage_(std::move(storage)) {}
  // True when this value is the only owner of a cell or user function, whose parts it holds.
  bool ownsParts() const;
  // Moves the parts of an only-owned cell or user function to `pending` (for flat destruction).
  void moveOwnedPartsTo(std::vector<Value>& pending);

  Storage storage_;
};

struct ConsCell {
  Value car;
  Value cdr;
  // Releases long or deeply nested lists without recursion.
  ~ConsCell();
};

struct UserFunction {
  std::string name;  // empty for lambda
  std::vector<std::string> parameters;
  std::vector<std::string> locals;
  Value body;        // list of forms
  Value definition;  // (parameters body...), as printed
};

bool Eq(const Value& a, const Value& b);

// Structural equality (AutoLISP's equal): numbers within `fuzz`, strings by content, lists by
// elements. Works without recursion on any depth of nesting.
bool Equal(const Value& a, const Value& b, double fuzz = 0.0);

// Builds a proper list.
Value List(std::vector<Value> items);
// Elements of a proper list; throws Error "bad list: ..." for a dotted list or a non-list.
std::vector<Value> ListToVector(const Value& list);
// Upper-cases ASCII letters; other bytes (UTF-8 sequences included) are kept.
std::string ToUpperAscii(std::string_view text);

}  // namespace tessera::lisp
