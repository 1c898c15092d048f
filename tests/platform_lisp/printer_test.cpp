// Printing values as the command line shows them.
#include "lisp/printer.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <cmath>
#include <functional>
#include <string>

#include "lisp/interpreter.h"
#include "lisp/reader.h"

namespace tessera::lisp {
namespace {

// Runs `body` on a thread with a small stack, where code that recursed once per level of a
// value tens of thousands of levels deep would overflow.
void RunOnSmallStack(const std::function<void()>& body) {
  constexpr std::size_t kStackBytes = 1 << 20;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kStackBytes);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&body)),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

Value ReadOne(std::string_view text) {
  ReadResult result = Read(text);
  EXPECT_EQ(result.status, ReadResult::Status::kComplete) << text;
  return result.forms.empty() ? Value() : result.forms[0];
}

TEST(PrinterTest, RealsWithSixSignificantDigitsAndAPoint) {
  struct Case {
    double value;
    const char* printed;
  };
  const Case cases[] = {
      {2.5, "2.5"},           {1.0, "1.0"},           {-2.0, "-2.0"},
      {0.0, "0.0"},           {1.0 / 3, "0.333333"},  {1234.567, "1234.57"},
      {100000.0, "100000.0"}, {123456.7, "123457.0"}, {1234567.0, "1.23457e+06"},
      {1e7, "1.0e+07"},       {1.5e7, "1.5e+07"},     {0.0001, "0.0001"},
      {1e-5, "1.0e-05"},      {HUGE_VAL, "1.#INF"},   {-HUGE_VAL, "-1.#INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatReal(c.value), c.printed) << c.value;
}

TEST(PrinterTest, Prin1QuotesAndEscapesStringsPrincDoesNot) {
  Value text = Value::String("a\"b\\c\nd\te\x1b\x01");
  EXPECT_EQ(Prin1String(text), R"("a\"b\\c\nd\te\e\001")");
  EXPECT_EQ(PrincString(text), "a\"b\\c\nd\te\x1b\x01");

  Value list = ReadOne(R"((1 2.5 "a" ("b" . "c")))");
  EXPECT_EQ(Prin1String(list), R"((1 2.5 "a" ("b" . "c")))");
  EXPECT_EQ(PrincString(list), "(1 2.5 a (b . c))");
}

TEST(PrinterTest, PrintedValuesReadBackEqual) {
  for (const char* text : {R"((0 . "INSERT"))", R"((1 (2 (3 . 4)) "x\ny" 2.5 nil T SYM))",
                           R"(("\001\t\"" . -7))", "(1 2 . 3)"}) {
    Value value = ReadOne(text);
    EXPECT_TRUE(Equal(ReadOne(Prin1String(value)), value)) << text;
  }
}

TEST(PrinterTest, AtomsOfTheHost) {
  EXPECT_EQ(Prin1String(Value()), "nil");
  EXPECT_EQ(Prin1String(Value::T()), "T");
  EXPECT_EQ(Prin1String(Value::NullSymbol()), "");
  EXPECT_EQ(Prin1String(Value::Symbol("area_triangle")), "AREA_TRIANGLE");

  ads_name entity = {0x2a, 1};
  EXPECT_EQ(Prin1String(Value::EntityName(entity)), "<Entity name: 2A>");
  EntityNameText handles = [](const ads_name name) { return "H" + std::to_string(name[0]); };
  EXPECT_EQ(Prin1String(List({Value::EntityName(entity)}), handles), "(<Entity name: H42>)");
  ads_name set = {1, 1};
  EXPECT_EQ(Prin1String(Value::SelectionSet(set)), "<Selection set: 1>");
}

TEST(PrinterTest, DeepValuesPrintAndFreeOnASmallStack) {
  constexpr int kDepth = 30000;
  RunOnSmallStack([] {
    Value deep = Value::Integer(1);
    for (int i = 0; i < kDepth; ++i) deep = List({deep});
    std::string printed = Prin1String(deep);
    EXPECT_EQ(printed.size(), 2u * kDepth + 1);
    EXPECT_EQ(printed.substr(kDepth - 2, 5), "((1))");

    Value pairs;
    for (int i = 0; i < kDepth; ++i) pairs = Value::Cons(pairs, Value::Integer(i));
    EXPECT_EQ(Prin1String(pairs).substr(0, 3), "(((");

    // Functions whose bodies hold functions: (lambda () '(lambda () '...)).
    Value functions;
    for (int i = 0; i < kDepth; ++i) {
      functions = MakeUserFunction("", List({Value(), List({Value::Symbol("quote"), functions})}));
    }
    EXPECT_EQ(Prin1String(functions).substr(0, 18), "(nil (QUOTE (nil (");
  });
}

}  // namespace
}  // namespace tessera::lisp
