// The AutoLISP evaluator: one global symbol table holding variables and functions alike (as in
// the host, a function is the value of its symbol), dynamic binding of parameters and locals,
// the special forms, and the registration of C++ functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "lisp/printer.h"
#include "lisp/value.h"

namespace tessera::lisp {

// Nested evaluations allowed before "LISP stack overflow". It bounds the C++ stack the evaluator
// uses: under 1 KB a level even unoptimised with sanitizers, so at most 2 MB of a thread's 8 MB.
// A recursive defun uses about three levels a call.
inline constexpr int kMaxEvalDepth = 2000;
// Evaluation steps one top-level form may take before it is cancelled, so an endless loop in a
// script ends with a message instead of hanging the run. A step is one evaluated form.
inline constexpr std::uint64_t kDefaultStepLimit = 100'000'000;

// Receives everything princ, prin1, print and terpri write.
using OutputSink = std::function<void(std::string_view text)>;

class Interpreter {
 public:
  // An interpreter with the core functions defined and T bound to itself.
  Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  // Evaluates a form typed at the command line, with a fresh step budget.
  Value evalTopLevel(const Value& form);
  Value eval(const Value& form);
  // Evaluates each form of a list in turn; the value of the last (nil for none).
  Value evalBody(const Value& forms);
  // Calls a function given as a function value, a symbol naming one, or a (LAMBDA ...) list,
  // with arguments already evaluated.
  Value call(const Value& function, std::vector<Value>& args);
  // The function a value stands for, as `call`, apply and mapcar accept it; throws otherwise.
  Value resolveFunction(const Value& function);

  // Registers a C++ function under a (case-insensitive) name, replacing any earlier value.
  void define(std::string_view name, Builtin function);
  // Registers a form whose arguments reach it unevaluated.
  void defineSpecial(std::string_view name, SpecialForm form);
  // Removes the function of that name (the symbol becomes unbound); other values are kept.
  void undefine(std::string_view name);
  bool isDefined(std::string_view name) const;
  // Symbol values; nil means unbound.
  void setSymbol(std::string_view name, Value value);
  Value getSymbol(std::string_view name) const;

  void setOutput(OutputSink sink) { output_ = std::move(sink); }
  void write(std::string_view text);
  void setEntityNameText(EntityNameText text) { entityNameText_ = std::move(text); }
  std::string prin1String(const Value& value) const;
  std::string princString(const Value& value) const;
  void setStepLimit(std::uint64_t steps) { stepLimit_ = steps; }

  // Binds symbols for the life of the object and restores their earlier values afterwards,
  // also when an error unwinds: the dynamic binding of defun parameters and foreach.
  class Bindings {
   public:
    explicit Bindings(Interpreter& interpreter) : interpreter_(interpreter) {}
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;
    ~Bindings();
    void bind(const std::string& upperName, Value value);

   private:
    Interpreter& interpreter_;
    std::vector<std::pair<std::string, Value>> saved_;
  };

  // Sets a symbol named by an already upper-cased name; refuses the constant T.
  void assign(const std::string& upperName, Value value);
  Value lookup(const std::string& upperName) const;

 private:
  Value evalCall(const Value& form);
  Value callUserFunction(const UserFunction& function, std::vector<Value>& args);
  void countStep();

  std::unordered_map<std::string, Value> symbols_;
  OutputSink output_;
  EntityNameText entityNameText_;
  int depth_ = 0;
  std::uint64_t steps_ = 0;
  std::uint64_t stepLimit_ = kDefaultStepLimit;
};

// Helpers for C++ functions: argument checks with the host's messages.
inline constexpr std::size_t kAnyNumber = std::numeric_limits<std::size_t>::max();
// Throws "too few arguments" / "too many arguments".
void CheckArgumentCount(const std::vector<Value>& args, std::size_t min, std::size_t max);
// "bad argument type: PREDICATE: VALUE", for example bad argument type: numberp: "a".
[[noreturn]] void ThrowBadArgumentType(std::string_view predicate, const Value& value);
std::int32_t IntegerArgument(const Value& value);       // fixnump
double NumberArgument(const Value& value);              // numberp
const std::string& StringArgument(const Value& value);  // stringp
const std::string& SymbolArgument(const Value& value);  // symbolp
// T or nil.
inline Value Truth(bool condition) {
  return condition ? Value::T() : Value();
}

// Makes the function of (LAMBDA params body...) or of defun, from the list after the head.
Value MakeUserFunction(std::string name, const Value& parametersAndBody);

}  // namespace tessera::lisp
