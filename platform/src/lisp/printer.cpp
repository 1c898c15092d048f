// Printing of LISP values. Lists are walked with an explicit stack, so any depth prints.
#include "lisp/printer.h"

#include <cmath>
#include <cstdio>
#include <variant>
#include <vector>

namespace tessera::lisp {

namespace {

constexpr int kRealSignificantDigits = 6;
constexpr char kEscapeChar = '\x1b';

std::string Hex(std::int64_t number, bool upperCase) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, upperCase ? "%llX" : "%llx",
                static_cast<unsigned long long>(number));
  return buffer;
}

// A string in prin1 form; control characters without a letter escape are written in octal.
std::string QuoteString(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case kEscapeChar:
        quoted += "\\e";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char octal[8];
          std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(c));
          quoted += octal;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

class Printer {
 public:
  Printer(bool quoteStrings, const EntityNameText& entityNameText)
      : quoteStrings_(quoteStrings), entityNameText_(entityNameText) {}

  std::string print(const Value& root) {
    pending_.push_back(&root);
    while (!pending_.empty()) {
      Item item = pending_.back();
      pending_.pop_back();
      if (auto* text = std::get_if<const char*>(&item)) {
        out_ += *text;
      } else {
        printOne(*std::get<const Value*>(item));
      }
    }
    return std::move(out_);
  }

 private:
  // A value still to print, or a piece of punctuation.
  using Item = std::variant<const Value*, const char*>;

  void printOne(const Value& value) {
    if (value.isCons()) {
      scheduleList(value);
    } else if (value.type() == ValueType::kUserFunction) {
      // Printed as its definition, (parameters body...).
      pending_.push_back(&value.userFunction()->definition);
    } else {
      out_ += atomText(value);
    }
  }

  // Queues the elements of a list between its parentheses, in reverse for the stack.
  void scheduleList(const Value& list) {
    std::vector<const Value*> elements;
    const Value* rest = &list;
    for (; rest->isCons(); rest = &rest->cdr()) elements.push_back(&rest->car());
    out_ += "(";
    pending_.push_back(")");
    if (!rest->isNil()) {
      pending_.push_back(rest);
      pending_.push_back(" . ");
    }
    for (std::size_t i = elements.size(); i-- > 0;) {
      pending_.push_back(elements[i]);
      if (i > 0) pending_.push_back(" ");
    }
  }

  std::string atomText(const Value& value) const {
    switch (value.type()) {
      case ValueType::kNil:
        return "nil";
      case ValueType::kInteger:
        return std::to_string(value.integer());
      case ValueType::kReal:
        return FormatReal(value.real());
      case ValueType::kString:
        return quoteStrings_ ? QuoteString(value.string()) : value.string();
      case ValueType::kSymbol:
        return value.symbolName();
      case ValueType::kEntityName:
        return "<Entity name: " + entityName(value) + ">";
      case ValueType::kSelectionSet: {
        ads_name name;
        value.name(name);
        return "<Selection set: " + Hex(name[0], false) + ">";
      }
      case ValueType::kSubr:
        return "<Subr: #" + value.subr()->name + ">";
      case ValueType::kUserFunction:
      case ValueType::kCons:
        break;
    }
    return "";
  }

  std::string entityName(const Value& value) const {
    ads_name name;
    value.name(name);
    return entityNameText_ ? entityNameText_(name) : Hex(name[0], true);
  }

  bool quoteStrings_;
  const EntityNameText& entityNameText_;
  std::vector<Item> pending_;
  std::string out_;
};

}  // namespace

std::string FormatReal(double value) {
  if (std::isnan(value)) return "-1.#IND";
  if (std::isinf(value)) return value < 0 ? "-1.#INF" : "1.#INF";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", kRealSignificantDigits, value);
  std::string text = buffer;
  if (text.find('.') != std::string::npos) return text;
  std::size_t exponent = text.find('e');
  if (exponent == std::string::npos) return text + ".0";
  return text.insert(exponent, ".0");
}

std::string Prin1String(const Value& value, const EntityNameText& entityNameText) {
  return Printer(true, entityNameText).print(value);
}

std::string PrincString(const Value& value, const EntityNameText& entityNameText) {
  return Printer(false, entityNameText).print(value);
}

}  // namespace tessera::lisp
