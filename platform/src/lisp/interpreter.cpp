// Evaluation, function calls, symbols and argument checks.
#include "lisp/interpreter.h"

#include <iostream>

#include "lisp/builtins.h"

namespace tessera::lisp {

namespace {

constexpr std::string_view kConstantT = "T";
constexpr std::string_view kLambda = "LAMBDA";
constexpr std::string_view kLocalsSeparator = "/";

// Keeps count of nested evaluations for as long as one evaluation runs.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) {
    if (depth_ >= kMaxEvalDepth) throw Error(std::string(kStackOverflow));
    ++depth_;
  }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

// Restores a counter when a nested top-level evaluation ends.
class CounterRestore {
 public:
  explicit CounterRestore(std::uint64_t& counter) : counter_(counter), saved_(counter) {
    counter_ = 0;
  }
  ~CounterRestore() { counter_ = saved_; }
  CounterRestore(const CounterRestore&) = delete;
  CounterRestore& operator=(const CounterRestore&) = delete;

 private:
  std::uint64_t& counter_;
  std::uint64_t saved_;
};

std::vector<std::string> ParameterNames(const Value& list, std::vector<std::string>& locals) {
  std::vector<std::string> parameters;
  bool inLocals = false;
  for (const Value& item : ListToVector(list)) {
    const std::string& name = SymbolArgument(item);
    if (name == kLocalsSeparator && !inLocals) {
      inLocals = true;
    } else {
      (inLocals ? locals : parameters).push_back(name);
    }
  }
  return parameters;
}

}  // namespace

Interpreter::Interpreter() {
  symbols_[std::string(kConstantT)] = Value::T();
  InstallSpecialForms(*this);
  InstallCoreBuiltins(*this);
  InstallMathBuiltins(*this);
  InstallStringBuiltins(*this);
}

Value Interpreter::evalTopLevel(const Value& form) {
  CounterRestore freshBudget(steps_);
  return eval(form);
}

void Interpreter::countStep() {
  if (++steps_ > stepLimit_) {
    throw Error("Function cancelled: more than " + std::to_string(stepLimit_) +
                " evaluation steps");
  }
}

Value Interpreter::eval(const Value& form) {
  countStep();
  switch (form.type()) {
    case ValueType::kSymbol:
      return lookup(form.symbolName());
    case ValueType::kCons: {
      DepthGuard guard(depth_);
      return evalCall(form);
    }
    default:
      return form;
  }
}

Value Interpreter::evalCall(const Value& form) {
  const Value& head = form.car();
  // A local copy keeps the function alive even if its body redefines it.
  Value function = head.isSymbol() ? lookup(head.symbolName()) : eval(head);
  if (!function.isFunction()) {
    if (head.isSymbol()) throw Error(std::string(kNoFunctionDefinition) + head.symbolName());
    function = resolveFunction(function);
  }
  if (function.type() == ValueType::kSubr && function.subr()->special) {
    return function.subr()->special(*this, form.cdr());
  }
  std::vector<Value> args;
  const Value* rest = &form.cdr();
  for (; rest->isCons(); rest = &rest->cdr()) args.push_back(eval(rest->car()));
  if (!rest->isNil()) throw Error(std::string(kMalformedList));
  return call(function, args);
}

Value Interpreter::evalBody(const Value& forms) {
  Value result;
  for (const Value* rest = &forms; rest->isCons(); rest = &rest->cdr()) {
    result = eval(rest->car());
  }
  return result;
}

Value Interpreter::resolveFunction(const Value& function) {
  if (function.isFunction()) return function;
  if (function.isSymbol()) {
    Value value = lookup(function.symbolName());
    if (value.isFunction()) return value;
    throw Error(std::string(kNoFunctionDefinition) + function.symbolName());
  }
  if (function.isCons() && function.car().isSymbol(kLambda)) {
    return MakeUserFunction("", function.cdr());
  }
  throw Error(std::string(kBadFunction) + prin1String(function));
}

Value Interpreter::call(const Value& function, std::vector<Value>& args) {
  Value resolved = resolveFunction(function);
  if (resolved.type() == ValueType::kUserFunction) {
    return callUserFunction(*resolved.userFunction(), args);
  }
  const Subr& subr = *resolved.subr();
  if (!subr.builtin) throw Error(std::string(kBadFunction) + prin1String(resolved));
  return subr.builtin(*this, args);
}

Value Interpreter::callUserFunction(const UserFunction& function, std::vector<Value>& args) {
  if (args.size() < function.parameters.size()) throw Error(std::string(kTooFewArguments));
  if (args.size() > function.parameters.size()) throw Error(std::string(kTooManyArguments));
  DepthGuard guard(depth_);
  Bindings bindings(*this);
  for (std::size_t i = 0; i < args.size(); ++i) {
    bindings.bind(function.parameters[i], std::move(args[i]));
  }
  for (const std::string& local : function.locals) bindings.bind(local, Value());
  return evalBody(function.body);
}

void Interpreter::define(std::string_view name, Builtin function) {
  auto subr = std::make_shared<Subr>();
  subr->name = ToUpperAscii(name);
  subr->builtin = std::move(function);
  std::string key = subr->name;
  symbols_[key] = Value::Function(std::shared_ptr<const Subr>(std::move(subr)));
}

void Interpreter::defineSpecial(std::string_view name, SpecialForm form) {
  auto subr = std::make_shared<Subr>();
  subr->name = ToUpperAscii(name);
  subr->special = std::move(form);
  std::string key = subr->name;
  symbols_[key] = Value::Function(std::shared_ptr<const Subr>(std::move(subr)));
}

void Interpreter::undefine(std::string_view name) {
  auto it = symbols_.find(ToUpperAscii(name));
  if (it != symbols_.end() && it->second.isFunction()) symbols_.erase(it);
}

bool Interpreter::isDefined(std::string_view name) const {
  return lookup(ToUpperAscii(name)).isFunction();
}

void Interpreter::setSymbol(std::string_view name, Value value) {
  assign(ToUpperAscii(name), std::move(value));
}

Value Interpreter::getSymbol(std::string_view name) const {
  return lookup(ToUpperAscii(name));
}

void Interpreter::assign(const std::string& upperName, Value value) {
  if (upperName == kConstantT) throw Error("attempt to set a constant: T");
  if (value.isNil()) {
    symbols_.erase(upperName);
  } else {
    symbols_[upperName] = std::move(value);
  }
}

Value Interpreter::lookup(const std::string& upperName) const {
  auto it = symbols_.find(upperName);
  return it == symbols_.end() ? Value() : it->second;
}

void Interpreter::write(std::string_view text) {
  if (output_) {
    output_(text);
  } else {
    std::cout << text << std::flush;
  }
}

std::string Interpreter::prin1String(const Value& value) const {
  return Prin1String(value, entityNameText_);
}

std::string Interpreter::princString(const Value& value) const {
  return PrincString(value, entityNameText_);
}

Interpreter::Bindings::~Bindings() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (it->second.isNil()) {
      interpreter_.symbols_.erase(it->first);
    } else {
      interpreter_.symbols_[it->first] = std::move(it->second);
    }
  }
}

void Interpreter::Bindings::bind(const std::string& upperName, Value value) {
  saved_.emplace_back(upperName, interpreter_.lookup(upperName));
  interpreter_.assign(upperName, std::move(value));
}

Value MakeUserFunction(std::string name, const Value& parametersAndBody) {
  if (!parametersAndBody.isCons()) throw Error(std::string(kTooFewArguments));
  auto function = std::make_shared<UserFunction>();
  function->name = std::move(name);
  function->parameters = ParameterNames(parametersAndBody.car(), function->locals);
  function->body = parametersAndBody.cdr();
  function->definition = parametersAndBody;
  return Value::Function(std::shared_ptr<const UserFunction>(std::move(function)));
}

void CheckArgumentCount(const std::vector<Value>& args, std::size_t min, std::size_t max) {
  if (args.size() < min) throw Error(std::string(kTooFewArguments));
  if (args.size() > max) throw Error(std::string(kTooManyArguments));
}

void ThrowBadArgumentType(std::string_view predicate, const Value& value) {
  throw Error(std::string(kBadArgumentType) + std::string(predicate) + ": " + Prin1String(value));
}

std::int32_t IntegerArgument(const Value& value) {
  if (!value.isInteger()) ThrowBadArgumentType("fixnump", value);
  return value.integer();
}

double NumberArgument(const Value& value) {
  if (!value.isNumber()) ThrowBadArgumentType("numberp", value);
  return value.number();
}

const std::string& StringArgument(const Value& value) {
  if (!value.isString()) ThrowBadArgumentType("stringp", value);
  return value.string();
}

const std::string& SymbolArgument(const Value& value) {
  if (!value.isSymbol()) ThrowBadArgumentType("symbolp", value);
  return value.symbolName();
}

}  // namespace tessera::lisp
