// Evaluating LISP as a drawing script does: values, errors with the host's messages, output,
// and functions registered from C++.
#include "lisp/interpreter.h"

#include <gtest/gtest.h>

#include <string>

#include "lisp/reader.h"

namespace tessera::lisp {
namespace {

class InterpreterTest : public ::testing::Test {
 protected:
  InterpreterTest() {
    lisp_.setOutput([this](std::string_view text) { output_ += text; });
  }

  // Evaluates every form of the text at the top level; the last value in prin1 form.
  std::string Eval(std::string_view text) {
    ReadResult read = Read(text);
    EXPECT_EQ(read.status, ReadResult::Status::kComplete) << text;
    Value value;
    for (const Value& form : read.forms) value = lisp_.evalTopLevel(form);
    return lisp_.prin1String(value);
  }

  // The message of the error the text raises ("" when it raises none).
  std::string ErrorOf(std::string_view text) {
    try {
      Eval(text);
    } catch (const Error& error) {
      return error.what();
    }
    return "";
  }

  Interpreter lisp_;
  std::string output_;
};

TEST_F(InterpreterTest, ControlForms) {
  EXPECT_EQ(Eval("(setq a 1 b (+ a 1))"), "2");
  EXPECT_EQ(Eval("(list a b)"), "(1 2)");
  EXPECT_EQ(Eval("(if (> b a) \"yes\" \"no\")"), "\"yes\"");
  EXPECT_EQ(Eval("(if nil 1)"), "nil");
  EXPECT_EQ(Eval("(setq i 0 s 0) (while (< i 5) (setq i (1+ i) s (+ s i)))"), "15");
  EXPECT_EQ(Eval("(setq n 0) (repeat 4 (setq n (+ n 2)))"), "8");
  EXPECT_EQ(Eval("(repeat 0 1)"), "nil");
  EXPECT_EQ(Eval("(cond ((= a 2) \"two\") ((= a 1)) (T \"other\"))"), "T");
  EXPECT_EQ(Eval("(cond (nil 1))"), "nil");
  EXPECT_EQ(Eval("(list (and 1 2) (and 1 nil) (or nil 3) (or nil nil) (and) (or))"),
            "(T nil T nil T nil)");
  EXPECT_EQ(Eval("(setq s \"\") (foreach x '(\"a\" \"b\") (setq s (strcat s x)))"), "\"ab\"");
  EXPECT_EQ(Eval("(progn 1 2 3)"), "3");
  EXPECT_EQ(Eval("'(a . b)"), "(A . B)");
}

TEST_F(InterpreterTest, UserFunctionsBindParametersAndLocalsDynamically) {
  EXPECT_EQ(Eval("(defun area (w h / r) (setq r (* w h)) r)"), "AREA");
  EXPECT_EQ(Eval("(setq r \"outer\" w 0) (list (area 3 4) r w)"), "(12 \"outer\" 0)");
  EXPECT_EQ(Eval("(defun fact (n) (if (<= n 1) 1 (* n (fact (1- n))))) (fact 10)"), "3628800");
  EXPECT_EQ(Eval("((lambda (x) (* x x)) 7)"), "49");
  EXPECT_EQ(Eval("(defun show () w) (defun wrap (w) (show)) (wrap 5)"), "5");
  // A binding made by a call that fails is still undone.
  EXPECT_EQ(Eval("(defun fails (w / r) (setq r 1) (/ w 0))"), "FAILS");
  EXPECT_EQ(ErrorOf("(fails 9)"), "divide by zero");
  EXPECT_EQ(Eval("(list w r)"), "(0 \"outer\")");
  EXPECT_EQ(ErrorOf("(area 1)"), "too few arguments");
  EXPECT_EQ(ErrorOf("(area 1 2 3)"), "too many arguments");
  EXPECT_EQ(Eval("(type area)"), "USUBR");
  EXPECT_EQ(Eval("area"), "((W H / R) (SETQ R (* W H)) R)");
}

TEST_F(InterpreterTest, AFunctionMayRedefineItselfWhileRunning) {
  EXPECT_EQ(Eval("(defun f () (defun f () 2) (setq g nil) 1) (setq g f) (list (f) (f))"), "(1 2)");
}

TEST_F(InterpreterTest, IntegerArithmeticUntilARealJoins) {
  EXPECT_EQ(Eval("(/ 7 2)"), "3");
  EXPECT_EQ(Eval("(/ 7 2.0)"), "3.5");
  EXPECT_EQ(Eval("(/ 7 2 2.0)"), "1.5");
  EXPECT_EQ(Eval("(/ -7 2)"), "-3");
  EXPECT_EQ(Eval("(list (+) (+ 1 2 3) (- 5) (- 10 1 2) (* 2 2.5) (/ 5))"), "(0 6 -5 7 5.0 5)");
  EXPECT_EQ(Eval("(list (rem 7 3) (rem 7.5 2) (1+ 1) (1- 1.5) (abs -3) (abs -2.5))"),
            "(1 1.5 2 0.5 3 2.5)");
  EXPECT_EQ(Eval("(list (fix 2.7) (fix -2.7) (fix 1e12) (float 3))"), "(2 -2 1.0e+12 3.0)");
  EXPECT_EQ(Eval("(list (max 1 5 3) (max 1 2.0) (min 4 -1) (sqrt 16))"), "(5 2.0 -1 4.0)");
  // 32-bit integers wrap as the host's do, without undefined behaviour.
  EXPECT_EQ(Eval("(+ 2147483647 1)"), "-2147483648");
  EXPECT_EQ(Eval("(/ -2147483648 -1)"), "-2147483648");
  EXPECT_EQ(Eval("(rem -2147483648 -1)"), "0");
  EXPECT_EQ(Eval("(abs -2147483648)"), "-2147483648");
}

TEST_F(InterpreterTest, Comparisons) {
  EXPECT_EQ(Eval("(list (= 1 1.0) (= 1 2) (= \"a\" \"a\") (= 'a 'a) (= 2))"), "(T nil T T T)");
  EXPECT_EQ(Eval("(list (/= 1 2) (/= 1 1) (/= 1 2 1))"), "(T nil T)");
  EXPECT_EQ(Eval("(list (< 1 2 3) (< 1 3 2) (> 3 2.5) (<= 2 2) (>= 1 2) (< \"a\" \"b\"))"),
            "(T nil T T nil T)");
  EXPECT_EQ(Eval("(list (eq 'a 'a) (eq \"a\" \"a\") (equal \"a\" \"a\") (equal 1.0 1.05 0.1))"),
            "(T nil T T)");
  EXPECT_EQ(Eval("(setq l '(1 (2 \"x\"))) (list (eq l l) (equal l '(1 (2 \"x\"))))"), "(T T)");
}

TEST_F(InterpreterTest, ErrorsCarryTheHostMessages) {
  EXPECT_EQ(ErrorOf("(+ \"a\" 1)"), "bad argument type: numberp: \"a\"");
  EXPECT_EQ(ErrorOf("(foo 1)"), "no function definition: FOO");
  EXPECT_EQ(ErrorOf("(1 2)"), "bad function: 1");
  EXPECT_EQ(ErrorOf("(car 1)"), "bad argument type: consp: 1");
  EXPECT_EQ(ErrorOf("(itoa 1.5)"), "bad argument type: fixnump: 1.5");
  EXPECT_EQ(ErrorOf("(strcat \"a\" 1)"), "bad argument type: stringp: 1");
  EXPECT_EQ(ErrorOf("(setq 1 2)"), "bad argument type: symbolp: 1");
  EXPECT_EQ(ErrorOf("(/ 1 0)"), "divide by zero");
  EXPECT_EQ(ErrorOf("(/ 1.5 0.0)"), "divide by zero");
  EXPECT_EQ(ErrorOf("(rem 1 0)"), "divide by zero");
  EXPECT_EQ(ErrorOf("(setq a)"), "too few arguments");
  EXPECT_EQ(ErrorOf("(car)"), "too few arguments");
  EXPECT_EQ(ErrorOf("(cons 1 2 3)"), "too many arguments");
  EXPECT_EQ(ErrorOf("(if)"), "too few arguments");
  EXPECT_EQ(ErrorOf("(length '(1 . 2))"), "bad list: (1 . 2)");
  EXPECT_EQ(ErrorOf("(setq t 1)"), "attempt to set a constant: T");
  EXPECT_EQ(ErrorOf("(defun 5 () 1)"), "bad argument type: symbolp: 5");
  EXPECT_EQ(ErrorOf("(sqrt -1)"), "function undefined for argument: -1");
}

TEST_F(InterpreterTest, RunawayRecursionAndLoopsEndWithAnError) {
  EXPECT_EQ(ErrorOf("(defun down (n) (down (1+ n))) (down 0)"), kStackOverflow);
  std::string deep;
  for (int i = 0; i < 3000; ++i) deep += "(+ 1 ";
  deep += "0" + std::string(3000, ')');
  EXPECT_EQ(ErrorOf(deep), kStackOverflow);
  EXPECT_EQ(Eval("(+ 1 1)"), "2");  // still usable afterwards

  lisp_.setStepLimit(10000);
  EXPECT_EQ(ErrorOf("(while t)").rfind("Function cancelled", 0), 0u);
  EXPECT_EQ(ErrorOf("(repeat 100000 (setq a 1))").rfind("Function cancelled", 0), 0u);
  EXPECT_EQ(Eval("(repeat 2000000000)"), "nil");
  EXPECT_EQ(Eval("(repeat 10 (setq a 1))"), "1");  // each top-level form has its own budget
}

TEST_F(InterpreterTest, ListFunctions) {
  EXPECT_EQ(Eval("(setq l '(1 2 3 4))"), "(1 2 3 4)");
  EXPECT_EQ(Eval("(list (car l) (cdr l) (cadr l) (caddr l) (cddr l) (last l))"),
            "(1 (2 3 4) 2 3 (3 4) 4)");
  EXPECT_EQ(Eval("(list (car nil) (cdr nil) (nth 0 l) (nth 3 l) (nth 4 l) (nth -1 l))"),
            "(nil nil 1 4 nil nil)");
  EXPECT_EQ(Eval("(list (length l) (length nil) (reverse l) (append '(1) nil '(2 3)))"),
            "(4 0 (4 3 2 1) (1 2 3))");
  EXPECT_EQ(Eval("(list (cons 1 '(2)) (cons 0 \"INSERT\") (member 3 l) (member 9 l))"),
            "((1 2) (0 . \"INSERT\") (3 4) nil)");
  EXPECT_EQ(Eval("(assoc \"b\" '((\"a\" . 1) (\"b\" . 2)))"), "(\"b\" . 2)");
  EXPECT_EQ(Eval("(cdr (assoc 2 '((0 . \"INSERT\") (2 . \"AREA1\"))))"), "\"AREA1\"");
  EXPECT_EQ(Eval("(mapcar '1+ l)"), "(2 3 4 5)");
  EXPECT_EQ(Eval("(mapcar '(lambda (a b) (* a b)) l '(10 20))"), "(10 40)");
  EXPECT_EQ(Eval("(mapcar (function car) '((1) (2)))"), "(1 2)");
  EXPECT_EQ(Eval("(apply '+ l)"), "10");
  EXPECT_EQ(Eval("(eval '(* 2 3))"), "6");
  EXPECT_EQ(Eval("(mapcar 'type (list 1 1.0 \"s\" 's l car nil))"),
            "(INT REAL STR SYM LIST SUBR nil)");
  EXPECT_EQ(Eval("(list (null nil) (not 1) (atom 1) (listp nil) (boundp 'l) (boundp 'zz))"),
            "(T nil T T T nil)");
  EXPECT_EQ(ErrorOf("(apply 'setq '(a 1))").rfind("bad function", 0), 0u);
}

TEST_F(InterpreterTest, StringFunctionsCountUtf16Units) {
  EXPECT_EQ(Eval("(strcat \"区画\" \"イ\" \"1\")"), "\"区画イ1\"");
  EXPECT_EQ(Eval("(list (strlen \"イ1\") (strlen \"\") (strlen \"a\" \"bc\") (strlen \"😀\"))"),
            "(2 0 3 2)");
  EXPECT_EQ(Eval("(list (substr \"区画イ1\" 3) (substr \"abcde\" 2 2) (substr \"ab\" 5))"),
            "(\"イ1\" \"bc\" \"\")");
  EXPECT_EQ(Eval("(substr \"😀x\" 2)"), "\"\xEF\xBF\xBDx\"");  // half a pair is U+FFFD
  EXPECT_EQ(ErrorOf("(substr \"abc\" 0)"), "bad argument value: positive 0");
  EXPECT_EQ(Eval("(list (strcase \"aBc\") (strcase \"aBc\" t))"), "(\"ABC\" \"abc\")");
  EXPECT_EQ(Eval("(list (itoa -12) (atoi \"12abc\") (atoi \" -7\") (atoi \"x\"))"),
            "(\"-12\" 12 -7 0)");
  EXPECT_EQ(Eval("(list (atoi \"99999999999\") (atoi \"-99999999999\"))"),
            "(2147483647 -2147483648)");
  EXPECT_EQ(Eval("(list (atof \"2.5m\") (atof \"1e2\") (atof \"0x10\") (atof \"\"))"),
            "(2.5 100.0 0.0 0.0)");
}

TEST_F(InterpreterTest, RtosModesAndPrecision) {
  EXPECT_EQ(Eval("(rtos 1234.5678)"), "\"1234.5678\"");
  EXPECT_EQ(Eval("(rtos 1234.5678 2 2)"), "\"1234.57\"");
  EXPECT_EQ(Eval("(rtos 3 2 0)"), "\"3\"");
  EXPECT_EQ(Eval("(rtos 1234.5678 1 4)"), "\"1.2346E+03\"");
  EXPECT_EQ(ErrorOf("(rtos 1 4 2)"), "bad argument value: rtos mode 4");
  EXPECT_EQ(ErrorOf("(rtos 1 2 -1)"), "bad argument value: rtos precision -1");
  EXPECT_EQ(Eval("(strlen (rtos 1e300 2 16))"), "318");  // 301 digits, point, 16 decimals
}

TEST_F(InterpreterTest, PrintingGoesToTheOutput) {
  EXPECT_EQ(Eval("(princ \"a\\n\")"), "\"a\\n\"");
  EXPECT_EQ(Eval("(prin1 \"b\")"), "\"b\"");
  EXPECT_EQ(Eval("(print '(1 \"c\"))"), "(1 \"c\")");
  EXPECT_EQ(Eval("(terpri)"), "nil");
  EXPECT_EQ(Eval("(princ '(\"d\" 2.0))"), "(\"d\" 2.0)");
  EXPECT_EQ(output_, "a\n\"b\"\n(1 \"c\") \n(d 2.0)");
  // (princ) returns the null symbol, which the command line shows as nothing.
  EXPECT_EQ(Eval("(princ)"), "");
}

TEST_F(InterpreterTest, FunctionsRegisteredFromCpp) {
  std::vector<Value> received;
  lisp_.define("area_Test", [&received](Interpreter& lisp, std::vector<Value>& args) {
    received = args;
    lisp.setSymbol("$dar_no11", Value::String("イ2"));
    return Value::T();
  });
  EXPECT_TRUE(lisp_.isDefined("AREA_TEST"));
  EXPECT_EQ(Eval("(area_test (+ 1 2) \"s\")"), "T");
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].integer(), 3);
  EXPECT_EQ(Eval("$DAR_NO11"), "\"イ2\"");
  EXPECT_EQ(lisp_.getSymbol("$dar_no11").string(), "イ2");

  lisp_.undefine("area_test");
  EXPECT_FALSE(lisp_.isDefined("area_test"));
  EXPECT_EQ(ErrorOf("(area_test)"), "no function definition: AREA_TEST");

  lisp_.define("fails", [](Interpreter&, std::vector<Value>&) -> Value {
    throw Error("bad argument type: lentityp: nil");
  });
  EXPECT_EQ(ErrorOf("(fails)"), "bad argument type: lentityp: nil");
  // Undefining a name that holds a plain value leaves the value alone.
  lisp_.setSymbol("keep", Value::Integer(1));
  lisp_.undefine("keep");
  EXPECT_EQ(Eval("keep"), "1");
}

}  // namespace
}  // namespace tessera::lisp
