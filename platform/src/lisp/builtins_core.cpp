// List functions, predicates, evaluation helpers and printing.
#include <string>

#include "lisp/builtins.h"

namespace tessera::lisp {

namespace {

using Args = std::vector<Value>;

const Value& CarOf(const Value& value) {
  static const Value kNil;
  if (value.isNil()) return kNil;
  if (!value.isCons()) ThrowBadArgumentType("consp", value);
  return value.car();
}

const Value& CdrOf(const Value& value) {
  static const Value kNil;
  if (value.isNil()) return kNil;
  if (!value.isCons()) ThrowBadArgumentType("consp", value);
  return value.cdr();
}

const Value& ListArgument(const Value& value) {
  if (!value.isList()) ThrowBadArgumentType("listp", value);
  return value;
}

// A car/cdr composition such as cadr: `path` lists the steps from the outermost, 'a' or 'd'.
Builtin CarCdrPath(std::string path) {
  return [path](Interpreter&, Args& args) {
    CheckArgumentCount(args, 1, 1);
    Value value = args[0];
    for (auto step = path.rbegin(); step != path.rend(); ++step) {
      value = *step == 'a' ? CarOf(value) : CdrOf(value);
    }
    return value;
  };
}

Value ListOf(Interpreter&, Args& args) {
  return List(std::move(args));
}

Value ConsOf(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 2);
  return Value::Cons(std::move(args[0]), std::move(args[1]));
}

Value Nth(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 2);
  std::int32_t index = IntegerArgument(args[0]);
  const Value* rest = &ListArgument(args[1]);
  for (; index > 0 && rest->isCons(); --index) rest = &rest->cdr();
  return index == 0 && rest->isCons() ? rest->car() : Value();
}

Value Length(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  return Value::Integer(static_cast<std::int32_t>(ListToVector(ListArgument(args[0])).size()));
}

Value Append(Interpreter&, Args& args) {
  std::vector<Value> items;
  for (const Value& list : args) {
    for (Value& item : ListToVector(ListArgument(list))) items.push_back(std::move(item));
  }
  return List(std::move(items));
}

Value Reverse(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  Value reversed;
  for (Value& item : ListToVector(ListArgument(args[0]))) {
    reversed = Value::Cons(std::move(item), std::move(reversed));
  }
  return reversed;
}

Value Last(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  std::vector<Value> items = ListToVector(ListArgument(args[0]));
  return items.empty() ? Value() : items.back();
}

// The first element of an association list whose car equals the key.
Value Assoc(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 2);
  for (const Value& item : ListToVector(ListArgument(args[1]))) {
    if (item.isCons() && Equal(item.car(), args[0])) return item;
  }
  return Value();
}

// The tail of the list that starts with the first element equal to the value.
Value Member(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 2);
  const Value* rest = &ListArgument(args[1]);
  for (; rest->isCons(); rest = &rest->cdr()) {
    if (Equal(rest->car(), args[0])) return *rest;
  }
  return Value();
}

Builtin Predicate(bool (*test)(const Value&)) {
  return [test](Interpreter&, Args& args) {
    CheckArgumentCount(args, 1, 1);
    return Truth(test(args[0]));
  };
}

Value EqOf(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 2);
  return Truth(Eq(args[0], args[1]));
}

Value EqualOf(Interpreter&, Args& args) {
  CheckArgumentCount(args, 2, 3);
  double fuzz = args.size() == 3 ? NumberArgument(args[2]) : 0.0;
  return Truth(Equal(args[0], args[1], fuzz));
}

Value TypeOf(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  switch (args[0].type()) {
    case ValueType::kNil:
      return Value();
    case ValueType::kInteger:
      return Value::Symbol("INT");
    case ValueType::kReal:
      return Value::Symbol("REAL");
    case ValueType::kString:
      return Value::Symbol("STR");
    case ValueType::kSymbol:
      return Value::Symbol("SYM");
    case ValueType::kCons:
      return Value::Symbol("LIST");
    case ValueType::kEntityName:
      return Value::Symbol("ENAME");
    case ValueType::kSelectionSet:
      return Value::Symbol("PICKSET");
    case ValueType::kSubr:
      return Value::Symbol("SUBR");
    case ValueType::kUserFunction:
      return Value::Symbol("USUBR");
  }
  return Value();
}

Value Boundp(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 1, 1);
  if (args[0].isNil()) return Value();
  return Truth(!lisp.lookup(SymbolArgument(args[0])).isNil());
}

Value Set(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 2, 2);
  lisp.assign(SymbolArgument(args[0]), args[1]);
  return args[1];
}

Value EvalOf(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 1, 1);
  return lisp.eval(args[0]);
}

Value Apply(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 2, 2);
  std::vector<Value> callArgs = ListToVector(ListArgument(args[1]));
  return lisp.call(args[0], callArgs);
}

// Calls the function with the first elements of every list, then the second, ... until the
// shortest list ends.
Value Mapcar(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 2, kAnyNumber);
  Value function = lisp.resolveFunction(args[0]);
  std::vector<std::vector<Value>> lists;
  std::size_t shortest = static_cast<std::size_t>(-1);
  for (std::size_t i = 1; i < args.size(); ++i) {
    lists.push_back(ListToVector(ListArgument(args[i])));
    shortest = std::min(shortest, lists.back().size());
  }
  std::vector<Value> results;
  for (std::size_t row = 0; row < shortest; ++row) {
    std::vector<Value> callArgs;
    for (const auto& list : lists) callArgs.push_back(list[row]);
    results.push_back(lisp.call(function, callArgs));
  }
  return List(std::move(results));
}

Value Princ(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 0, 1);
  if (args.empty()) return Value::NullSymbol();
  lisp.write(lisp.princString(args[0]));
  return args[0];
}

Value Prin1(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 0, 1);
  if (args.empty()) return Value::NullSymbol();
  lisp.write(lisp.prin1String(args[0]));
  return args[0];
}

// A new line, the value in prin1 form, then a blank.
Value Print(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 0, 1);
  if (args.empty()) return Value::NullSymbol();
  lisp.write("\n" + lisp.prin1String(args[0]) + " ");
  return args[0];
}

Value Terpri(Interpreter& lisp, Args& args) {
  CheckArgumentCount(args, 0, 0);
  lisp.write("\n");
  return Value();
}

}  // namespace

void InstallCoreBuiltins(Interpreter& lisp) {
  lisp.define("list", ListOf);
  lisp.define("cons", ConsOf);
  for (const char* path : {"a", "d", "aa", "ad", "da", "dd", "add", "dda"}) {
    lisp.define(std::string("c") + path + "r", CarCdrPath(path));
  }
  lisp.define("nth", Nth);
  lisp.define("length", Length);
  lisp.define("append", Append);
  lisp.define("reverse", Reverse);
  lisp.define("last", Last);
  lisp.define("assoc", Assoc);
  lisp.define("member", Member);
  lisp.define("null", Predicate([](const Value& v) { return v.isNil(); }));
  lisp.define("not", Predicate([](const Value& v) { return v.isNil(); }));
  lisp.define("atom", Predicate([](const Value& v) { return !v.isCons(); }));
  lisp.define("listp", Predicate([](const Value& v) { return v.isList(); }));
  lisp.define("numberp", Predicate([](const Value& v) { return v.isNumber(); }));
  lisp.define("eq", EqOf);
  lisp.define("equal", EqualOf);
  lisp.define("type", TypeOf);
  lisp.define("boundp", Boundp);
  lisp.define("set", Set);
  lisp.define("eval", EvalOf);
  lisp.define("apply", Apply);
  lisp.define("mapcar", Mapcar);
  lisp.define("princ", Princ);
  lisp.define("prin1", Prin1);
  lisp.define("print", Print);
  lisp.define("terpri", Terpri);
}

}  // namespace tessera::lisp
