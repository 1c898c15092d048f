// The system variables: session settings (ORTHOMODE, OSMODE, PICKBOX, ...) and the ones kept in
// the working drawing (TEXTSIZE, CLAYER). acedGetVar and acedSetVar reach them through here.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cad/ads.h"
#include "cad/ge.h"

namespace tessera::editor {

using VariableValue = std::variant<int, double, std::string, AcGePoint3d>;

bool IsSystemVariable(const std::string& name);
bool IsReadOnlyVariable(const std::string& name);
std::optional<VariableValue> GetSystemVariable(const std::string& name);
// Why a setting was refused, or empty when it was made.
std::string SetSystemVariable(const std::string& name, const VariableValue& value);
// A variable's value as its type wants it from text ("1", "2.5", "LAYER1", "1,2").
std::optional<VariableValue> ParseVariableValue(const std::string& name, const std::string& text);
std::string VariableText(const VariableValue& value);

// Convenience for the editor's own use.
int IntVariable(const std::string& name, int fallback);
double RealVariable(const std::string& name, double fallback);

AcGePoint3d LastPoint();
void SetLastPoint(const AcGePoint3d& point);

// Puts every session variable back to its default (a fresh session, for tests).
void ResetSessionVariables();

}  // namespace tessera::editor
