// Reading script text: whole forms, text that needs another line, and text that can never read.
#include "lisp/reader.h"

#include <gtest/gtest.h>

#include <string>

#include "lisp/printer.h"

namespace tessera::lisp {
namespace {

using Status = ReadResult::Status;

// The forms of a text that must read completely, in prin1 form separated by " | ".
std::string ReadForms(std::string_view text) {
  ReadResult result = Read(text);
  EXPECT_EQ(result.status, Status::kComplete) << text << ": " << result.message;
  std::string printed;
  for (const Value& form : result.forms) {
    printed += (printed.empty() ? "" : " | ") + Prin1String(form);
  }
  return printed;
}

TEST(ReaderTest, ReadsEveryFormOfALine) {
  EXPECT_EQ(ReadForms("(setq a 1) (setq b \"x\")"), "(SETQ A 1) | (SETQ B \"x\")");
  EXPECT_EQ(ReadForms("  "), "");
  EXPECT_EQ(ReadForms("; only a comment"), "");
  EXPECT_EQ(ReadForms("(+ 1 ; one\n 2) ;| block\n comment |; 3"), "(+ 1 2) | 3");
}

TEST(ReaderTest, NumbersAsTheHostReadsThem) {
  struct Case {
    const char* text;
    const char* printed;
    ValueType type;
  };
  const Case cases[] = {
      {"1", "1", ValueType::kInteger},
      {"-3", "-3", ValueType::kInteger},
      {"+5", "5", ValueType::kInteger},
      {"2.5", "2.5", ValueType::kReal},
      {".5", "0.5", ValueType::kReal},
      {"-.5", "-0.5", ValueType::kReal},
      {"1.", "1.0", ValueType::kReal},
      {"1e3", "1000.0", ValueType::kReal},
      {"2.5E-1", "0.25", ValueType::kReal},
      {"2147483647", "2147483647", ValueType::kInteger},
      {"-2147483648", "-2147483648", ValueType::kInteger},
      {"2147483648", "2.14748e+09", ValueType::kReal},
      {"-99999999999999999999", "-1.0e+20", ValueType::kReal},
      {"1+", "1+", ValueType::kSymbol},
      {"-", "-", ValueType::kSymbol},
      {"1e", "1E", ValueType::kSymbol},
      {"1.2.3", "1.2.3", ValueType::kSymbol},
  };
  for (const Case& c : cases) {
    ReadResult result = Read(c.text);
    ASSERT_EQ(result.status, Status::kComplete) << c.text;
    ASSERT_EQ(result.forms.size(), 1u) << c.text;
    EXPECT_EQ(result.forms[0].type(), c.type) << c.text;
    EXPECT_EQ(Prin1String(result.forms[0]), c.printed) << c.text;
  }
}

TEST(ReaderTest, StringEscapesSymbolsAndQuotes) {
  ReadResult result = Read(R"("a\"b\\c\nd\te\r\e\101\q")");
  ASSERT_EQ(result.status, Status::kComplete);
  EXPECT_EQ(result.forms[0].string(),
            "a\"b\\c\nd\te\r\x1b"
            "Aq");
  EXPECT_EQ(ReadForms("\"区画 イ1\""), "\"区画 イ1\"");
  EXPECT_EQ(ReadForms("area_Triangle nil Nil t"), "AREA_TRIANGLE | nil | nil | T");
  EXPECT_EQ(ReadForms("'x '(1 2) ''a"), "(QUOTE X) | (QUOTE (1 2)) | (QUOTE (QUOTE A))");
  EXPECT_EQ(ReadForms("()"), "nil");
}

TEST(ReaderTest, DottedPairs) {
  EXPECT_EQ(ReadForms("(0 . \"INSERT\")"), "(0 . \"INSERT\")");
  EXPECT_EQ(ReadForms("(1 2 . 3)"), "(1 2 . 3)");
  EXPECT_EQ(ReadForms("(1 . (2 3))"), "(1 2 3)");
  EXPECT_EQ(ReadForms("(a . 'b)"), "(A QUOTE B)");
  for (const char* bad : {"(. 1)", "(1 . )", "(1 . 2 3)", "(1 . . 2)", ". 1", "'.", "(1 .)"}) {
    EXPECT_EQ(Read(bad).status, Status::kError) << bad;
  }
}

TEST(ReaderTest, OpenListsStringsAndQuotesAreIncomplete) {
  for (const char* open : {"(setq a", "(setq a (list 1 2)", "(princ \"abc", "(princ \"ab\\", "'",
                           "(a ;| never closed", "(a\n(b"}) {
    ReadResult result = Read(open);
    EXPECT_EQ(result.status, Status::kIncomplete) << open;
    EXPECT_TRUE(result.forms.empty()) << open;
  }
  // The message to show when the script ends with the form still open, at its opening.
  ReadResult result = Read("(princ 1)\n  (setq a\n 1");
  EXPECT_EQ(result.message, kMalformedList);
  EXPECT_EQ(result.line, 2);
  EXPECT_EQ(result.column, 3);
  EXPECT_EQ(Read("(a \"b").message, kMalformedString);
}

TEST(ReaderTest, ExtraRightParenIsAnErrorWithItsPlace) {
  ReadResult result = Read("(setq a 1))");
  EXPECT_EQ(result.status, Status::kError);
  EXPECT_EQ(result.message, kExtraRightParen);
  EXPECT_EQ(result.line, 1);
  EXPECT_EQ(result.column, 11);

  result = Read("(list\n  \"区画\" 2))");
  EXPECT_EQ(result.status, Status::kError);
  EXPECT_EQ(result.line, 2);
  EXPECT_EQ(result.column, 10);  // characters, not bytes

  EXPECT_EQ(Read(")").status, Status::kError);
  EXPECT_EQ(Read("'(1 ')").status, Status::kError);
}

TEST(ReaderTest, NestingBeyondTheLimitIsRefused) {
  std::string deep(kMaxReadNesting + 1, '(');
  ReadResult result = Read(deep);
  EXPECT_EQ(result.status, Status::kError);
  EXPECT_EQ(result.column, kMaxReadNesting + 1);

  std::string quotes(kMaxReadNesting + 1, '\'');
  EXPECT_EQ(Read(quotes + "a").status, Status::kError);

  std::string atLimit = std::string(kMaxReadNesting, '(') + std::string(kMaxReadNesting, ')');
  EXPECT_EQ(Read(atLimit).status, Status::kComplete);
}

TEST(ReaderTest, LongFlatListsRead) {
  std::string text = "(";
  for (int i = 0; i < 50000; ++i) text += "1 ";
  text += ")";
  ReadResult result = Read(text);
  ASSERT_EQ(result.status, Status::kComplete);
  EXPECT_EQ(ListToVector(result.forms[0]).size(), 50000u);
}

}  // namespace
}  // namespace tessera::lisp
