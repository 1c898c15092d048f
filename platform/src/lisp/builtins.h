// Installation of the evaluator's own functions, one group per file.
#pragma once

#include "lisp/interpreter.h"

namespace tessera::lisp {

// quote, function, setq, progn, if, repeat, while, cond, and, or, foreach, defun, lambda.
void InstallSpecialForms(Interpreter& interpreter);
// Lists, predicates, eval, apply, mapcar and printing.
void InstallCoreBuiltins(Interpreter& interpreter);
// Arithmetic and comparison.
void InstallMathBuiltins(Interpreter& interpreter);
// Strings and number-text conversion.
void InstallStringBuiltins(Interpreter& interpreter);

}  // namespace tessera::lisp
