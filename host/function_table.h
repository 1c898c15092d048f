// The table of LISP functions the application defines in every drawing, and the dispatch of a
// call to its handler. A function's position in the table is its function code.
#pragma once

#include <array>

namespace area {

// A handler reads its own LISP arguments and returns RTNORM or RTERROR.
using LispHandler = int (*)();

struct LispFunction {
  const char* name;
  LispHandler handler;
};

constexpr int kLispFunctionCount = 15;

const std::array<LispFunction, kLispFunctionCount>& LispFunctions();

// Defines the functions in the current drawing, in table order; stops at the first refusal.
// Returns RTNORM when all were defined, else RTERROR.
int RegisterLispFunctions();
// Undefines every function of the table, ignoring refusals.
void UnregisterLispFunctions();
// Runs the handler of the function being called; returns RSRSLT or RSERR for the host.
int DispatchLispCall();

}  // namespace area
