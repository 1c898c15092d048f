// Text of LISP values as the command line shows them: prin1 form (strings quoted and escaped,
// readable back) and princ form (strings as they are).
#pragma once

#include <functional>
#include <string>

#include "lisp/value.h"

namespace tessera::lisp {

// The text inside "<Entity name: ...>", for example the entity's handle "2A". Without one the
// raw object number is printed in hexadecimal.
using EntityNameText = std::function<std::string(const ads_name)>;

// A real with up to 6 significant digits and always a decimal point: 2.5, 1.0, 0.333333,
// 1234.57, 1.0e+07.
std::string FormatReal(double value);

// prin1 form: "a\"b", (1 2.5 "a"), (0 . "INSERT"), <Entity name: 2A>, <Selection set: 1>.
std::string Prin1String(const Value& value, const EntityNameText& entityNameText = {});
// princ form: as prin1, but strings (also inside lists) without quotes or escapes.
std::string PrincString(const Value& value, const EntityNameText& entityNameText = {});

}  // namespace tessera::lisp
