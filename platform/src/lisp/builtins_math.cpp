// Arithmetic and comparison. Integers stay 32-bit integers (wrapping as the host's do) until a
// real joins the computation; arguments combine left to right.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "lisp/builtins.h"

namespace tessera::lisp {

namespace {

using Args = std::vector<Value>;

enum class Operation { kAdd, kSubtract, kMultiply, kDivide, kRemainder };

// Two's-complement wrap-around of a 64-bit result into 32 bits.
std::int32_t Wrap(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

Value CombineIntegers(std::int32_t a, std::int32_t b, Operation operation) {
  std::int64_t x = a, y = b;
  switch (operation) {
    case Operation::kAdd:
      return Value::Integer(Wrap(x + y));
    case Operation::kSubtract:
      return Value::Integer(Wrap(x - y));
    case Operation::kMultiply:
      return Value::Integer(Wrap(x * y));
    case Operation::kDivide:
      if (y == 0) throw Error(std::string(kDivideByZero));
      return Value::Integer(Wrap(x / y));
    case Operation::kRemainder:
      if (y == 0) throw Error(std::string(kDivideByZero));
      return Value::Integer(Wrap(x % y));
  }
  return Value();
}

Value CombineReals(double x, double y, Operation operation) {
  switch (operation) {
    case Operation::kAdd:
      return Value::Real(x + y);
    case Operation::kSubtract:
      return Value::Real(x - y);
    case Operation::kMultiply:
      return Value::Real(x * y);
    case Operation::kDivide:
      if (y == 0.0) throw Error(std::string(kDivideByZero));
      return Value::Real(x / y);
    case Operation::kRemainder:
      if (y == 0.0) throw Error(std::string(kDivideByZero));
      return Value::Real(std::fmod(x, y));
  }
  return Value();
}

Value Combine(const Value& a, const Value& b, Operation operation) {
  NumberArgument(a);
  NumberArgument(b);
  if (a.isInteger() && b.isInteger()) return CombineIntegers(a.integer(), b.integer(), operation);
  return CombineReals(a.number(), b.number(), operation);
}

// Folds the arguments left to right; no arguments give 0, one argument `single` of it.
Builtin Arithmetic(Operation operation, Value (*single)(const Value&)) {
  return [operation, single](Interpreter&, Args& args) {
    if (args.empty()) return Value::Integer(0);
    NumberArgument(args[0]);
    if (args.size() == 1) return single(args[0]);
    Value result = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) result = Combine(result, args[i], operation);
    return result;
  };
}

Value Itself(const Value& value) {
  return value;
}

Value Negate(const Value& value) {
  return Combine(Value::Integer(0), value, Operation::kSubtract);
}

Builtin Step(std::int32_t delta) {
  return [delta](Interpreter&, Args& args) {
    CheckArgumentCount(args, 1, 1);
    return Combine(args[0], Value::Integer(delta), Operation::kAdd);
  };
}

Value Abs(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  NumberArgument(args[0]);
  if (args[0].isReal()) return Value::Real(std::fabs(args[0].real()));
  return args[0].integer() < 0 ? Negate(args[0]) : args[0];
}

// Truncates toward zero; a real beyond the 32-bit range stays a (truncated) real.
Value Fix(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  double value = std::trunc(NumberArgument(args[0]));
  if (args[0].isInteger()) return args[0];
  if (value >= std::numeric_limits<std::int32_t>::min() &&
      value <= std::numeric_limits<std::int32_t>::max()) {
    return Value::Integer(static_cast<std::int32_t>(value));
  }
  return Value::Real(value);
}

Value Float(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  return Value::Real(NumberArgument(args[0]));
}

Value Sqrt(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, 1);
  double value = NumberArgument(args[0]);
  if (value < 0) throw Error("function undefined for argument: " + Prin1String(args[0]));
  return Value::Real(std::sqrt(value));
}

// max or min: an integer when every argument is one, else a real.
Builtin Extreme(bool wantMax) {
  return [wantMax](Interpreter&, Args& args) {
    CheckArgumentCount(args, 1, kAnyNumber);
    bool allIntegers = true;
    double best = NumberArgument(args[0]);
    for (const Value& arg : args) {
      double value = NumberArgument(arg);
      allIntegers = allIntegers && arg.isInteger();
      best = wantMax ? std::max(best, value) : std::min(best, value);
    }
    return allIntegers ? Value::Integer(static_cast<std::int32_t>(best)) : Value::Real(best);
  };
}

Builtin NumberTest(bool (*test)(double)) {
  return [test](Interpreter&, Args& args) {
    CheckArgumentCount(args, 1, 1);
    return Truth(test(NumberArgument(args[0])));
  };
}

// -1, 0 or 1 as a is below, equal to or above b; numbers with numbers, strings with strings.
int Compare(const Value& a, const Value& b) {
  if (a.isString() || b.isString()) {
    int order = StringArgument(a).compare(StringArgument(b));
    return (order > 0) - (order < 0);
  }
  if (a.isInteger() && b.isInteger())
    return (a.integer() > b.integer()) - (a.integer() < b.integer());
  double x = NumberArgument(a), y = NumberArgument(b);
  return (x > y) - (x < y);
}

// = and /= also accept symbols, names and lists, compared for identity.
bool Same(const Value& a, const Value& b) {
  bool comparable = (a.isNumber() || a.isString()) && (b.isNumber() || b.isString());
  return comparable ? Compare(a, b) == 0 : Eq(a, b);
}

// A comparison that must hold between every two neighbouring arguments.
Builtin Ordering(bool (*holds)(int order)) {
  return [holds](Interpreter&, Args& args) {
    CheckArgumentCount(args, 1, kAnyNumber);
    bool result = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
      bool holdsHere = holds(Compare(args[i - 1], args[i]));  // every argument is type-checked
      result = result && holdsHere;
    }
    return Truth(result);
  };
}

Value EqualNumbers(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, kAnyNumber);
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!Same(args[i - 1], args[i])) return Value();
  }
  return Value::T();
}

// T when no two neighbouring arguments are the same.
Value NotEqualNumbers(Interpreter&, Args& args) {
  CheckArgumentCount(args, 1, kAnyNumber);
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (Same(args[i - 1], args[i])) return Value();
  }
  return Value::T();
}

}  // namespace

void InstallMathBuiltins(Interpreter& lisp) {
  lisp.define("+", Arithmetic(Operation::kAdd, Itself));
  lisp.define("-", Arithmetic(Operation::kSubtract, Negate));
  lisp.define("*", Arithmetic(Operation::kMultiply, Itself));
  lisp.define("/", Arithmetic(Operation::kDivide, Itself));
  lisp.define("rem", Arithmetic(Operation::kRemainder, Itself));
  lisp.define("1+", Step(1));
  lisp.define("1-", Step(-1));
  lisp.define("abs", Abs);
  lisp.define("fix", Fix);
  lisp.define("float", Float);
  lisp.define("sqrt", Sqrt);
  lisp.define("max", Extreme(true));
  lisp.define("min", Extreme(false));
  lisp.define("zerop", NumberTest([](double v) { return v == 0.0; }));
  lisp.define("minusp", NumberTest([](double v) { return v < 0.0; }));
  lisp.define("=", EqualNumbers);
  lisp.define("/=", NotEqualNumbers);
  lisp.define("<", Ordering([](int order) { return order < 0; }));
  lisp.define(">", Ordering([](int order) { return order > 0; }));
  lisp.define("<=", Ordering([](int order) { return order <= 0; }));
  lisp.define(">=", Ordering([](int order) { return order >= 0; }));
}

}  // namespace tessera::lisp
