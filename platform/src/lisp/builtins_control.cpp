// The special forms: their arguments arrive unevaluated and each decides what to evaluate.
#include <string>

#include "lisp/builtins.h"

namespace tessera::lisp {

namespace {

// The unevaluated arguments of a special form, checked for count.
std::vector<Value> Forms(const Value& arguments, std::size_t min, std::size_t max) {
  std::vector<Value> forms = ListToVector(arguments);
  CheckArgumentCount(forms, min, max);
  return forms;
}

bool IsTrue(const Value& value) {
  return !value.isNil();
}

Value Quote(Interpreter&, const Value& arguments) {
  return Forms(arguments, 1, 1)[0];
}

Value Setq(Interpreter& lisp, const Value& arguments) {
  std::vector<Value> forms = Forms(arguments, 2, kAnyNumber);
  if (forms.size() % 2 != 0) throw Error(std::string(kTooFewArguments));
  Value value;
  for (std::size_t i = 0; i < forms.size(); i += 2) {
    const std::string& name = SymbolArgument(forms[i]);
    value = lisp.eval(forms[i + 1]);
    lisp.assign(name, value);
  }
  return value;
}

Value Progn(Interpreter& lisp, const Value& arguments) {
  return lisp.evalBody(arguments);
}

Value If(Interpreter& lisp, const Value& arguments) {
  std::vector<Value> forms = Forms(arguments, 2, 3);
  if (IsTrue(lisp.eval(forms[0]))) return lisp.eval(forms[1]);
  return forms.size() == 3 ? lisp.eval(forms[2]) : Value();
}

Value Repeat(Interpreter& lisp, const Value& arguments) {
  std::vector<Value> forms = Forms(arguments, 1, kAnyNumber);
  std::int32_t count = IntegerArgument(lisp.eval(forms[0]));
  const Value& body = arguments.cdr();
  // An empty body can do nothing, however often it runs.
  if (body.isNil()) return Value();
  Value result;
  for (std::int32_t i = 0; i < count; ++i) result = lisp.evalBody(body);
  return result;
}

Value While(Interpreter& lisp, const Value& arguments) {
  Forms(arguments, 1, kAnyNumber);
  Value result;
  while (IsTrue(lisp.eval(arguments.car()))) result = lisp.evalBody(arguments.cdr());
  return result;
}

Value Cond(Interpreter& lisp, const Value& arguments) {
  for (const Value& clause : ListToVector(arguments)) {
    if (!clause.isCons()) ThrowBadArgumentType("consp", clause);
    Value test = lisp.eval(clause.car());
    if (!IsTrue(test)) continue;
    return clause.cdr().isNil() ? test : lisp.evalBody(clause.cdr());
  }
  return Value();
}

Value And(Interpreter& lisp, const Value& arguments) {
  for (const Value& form : ListToVector(arguments)) {
    if (!IsTrue(lisp.eval(form))) return Value();
  }
  return Value::T();
}

Value Or(Interpreter& lisp, const Value& arguments) {
  for (const Value& form : ListToVector(arguments)) {
    if (IsTrue(lisp.eval(form))) return Value::T();
  }
  return Value();
}

Value Foreach(Interpreter& lisp, const Value& arguments) {
  std::vector<Value> forms = Forms(arguments, 2, kAnyNumber);
  const std::string& name = SymbolArgument(forms[0]);
  Value list = lisp.eval(forms[1]);
  const Value& body = arguments.cdr().cdr();
  Value result;
  for (Value& item : ListToVector(list)) {
    Interpreter::Bindings binding(lisp);
    binding.bind(name, std::move(item));
    result = lisp.evalBody(body);
  }
  return result;
}

Value Defun(Interpreter& lisp, const Value& arguments) {
  std::vector<Value> forms = Forms(arguments, 2, kAnyNumber);
  const std::string& name = SymbolArgument(forms[0]);
  lisp.assign(name, MakeUserFunction(name, arguments.cdr()));
  return forms[0];
}

Value Lambda(Interpreter&, const Value& arguments) {
  Forms(arguments, 1, kAnyNumber);
  return MakeUserFunction("", arguments);
}

}  // namespace

void InstallSpecialForms(Interpreter& lisp) {
  lisp.defineSpecial("quote", Quote);
  lisp.defineSpecial("function", Quote);
  lisp.defineSpecial("setq", Setq);
  lisp.defineSpecial("progn", Progn);
  lisp.defineSpecial("if", If);
  lisp.defineSpecial("repeat", Repeat);
  lisp.defineSpecial("while", While);
  lisp.defineSpecial("cond", Cond);
  lisp.defineSpecial("and", And);
  lisp.defineSpecial("or", Or);
  lisp.defineSpecial("foreach", Foreach);
  lisp.defineSpecial("defun", Defun);
  lisp.defineSpecial("lambda", Lambda);
}

}  // namespace tessera::lisp
