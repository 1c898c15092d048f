// Result-buffer chains: building them, and passing LISP values through them both ways.
#include "lisp/resbuf_convert.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lisp/group_codes.h"
#include "lisp/printer.h"
#include "lisp/reader.h"

namespace tessera::lisp {
namespace {

struct ChainDeleter {
  void operator()(resbuf* rb) const { acutRelRb(rb); }
};
using Chain = std::unique_ptr<resbuf, ChainDeleter>;

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

std::vector<int> Types(const resbuf* chain) {
  std::vector<int> types;
  for (; chain != nullptr; chain = chain->rbnext) types.push_back(chain->restype);
  return types;
}

// A value passed as one LISP argument and returned through acedRetList, in prin1 form.
std::string ThroughChain(std::string_view text) {
  Chain chain(ValueToResbuf(ReadOne(text)));
  return Prin1String(ResbufToValue(chain.get()));
}

TEST(ResbufTest, ArgumentsTakeTheHostTypes) {
  ads_name entity = {7, 1};
  std::vector<Value> args = {ReadOne("1"),
                             ReadOne("40000"),
                             ReadOne("2.5"),
                             ReadOne("\"s\""),
                             ReadOne("nil"),
                             ReadOne("T"),
                             ReadOne("(1 2)"),
                             ReadOne("(1 2 3)"),
                             Value::EntityName(entity),
                             Value::SelectionSet(entity)};
  Chain chain(ArgumentsToResbuf(args));
  EXPECT_EQ(Types(chain.get()), (std::vector<int>{RTSHORT, RTLONG, RTREAL, RTSTR, RTNIL, RTT,
                                                  RTPOINT, RT3DPOINT, RTENAME, RTPICKS}));
  const resbuf* rb = chain.get();
  EXPECT_EQ(rb->resval.rint, 1);
  EXPECT_EQ(rb->rbnext->resval.rlong, 40000);
  EXPECT_STREQ(rb->rbnext->rbnext->rbnext->resval.rstring, "s");
  const resbuf* point = rb->rbnext->rbnext->rbnext->rbnext->rbnext->rbnext;
  EXPECT_EQ(point->resval.rpoint[X], 1.0);
  EXPECT_EQ(point->resval.rpoint[Y], 2.0);
  EXPECT_EQ(ArgumentsToResbuf({}), nullptr);
}

TEST(ResbufTest, ListsBecomeListBeginAndEndWithDotsForPairs) {
  Chain chain(ValueToResbuf(ReadOne("((0 . \"INSERT\") (1 2 3 4) (\"a\" (5.0 6.0)))")));
  EXPECT_EQ(Types(chain.get()),
            (std::vector<int>{RTLB, RTLB, RTSHORT, RTDOTE, RTSTR, RTLE, RTLB, RTSHORT, RTSHORT,
                              RTSHORT, RTSHORT, RTLE, RTLB, RTSTR, RTPOINT, RTLE, RTLE}));
}

TEST(ResbufTest, ValuesSurviveTheRoundTrip) {
  for (const char* text :
       {"((1 \"a\") (2 . \"b\") (\"x\" (\"y\" (3.5 nil T))))", "(1 2 . 3)", "(((((\"deep\")))))",
        "\"only\"", "nil", "(nil)", "(0 . \"INSERT\")", "(1 2 3 4)", "(-40000 . 70000)"}) {
    EXPECT_EQ(ThroughChain(text), Prin1String(ReadOne(text))) << text;
  }
  // Lists of two or three numbers travel as points, so they come back as reals.
  EXPECT_EQ(ThroughChain("(1 2)"), "(1.0 2.0)");
  EXPECT_EQ(ThroughChain("((1 2 3) \"p\")"), "((1.0 2.0 3.0) \"p\")");
}

TEST(ResbufTest, ReturnedChainsWithoutListBeginFormAList) {
  Chain several(acutBuildList(RTSTR, "UNDO", RTSTR, "E", RTSHORT, 3, RTNONE));
  EXPECT_EQ(Prin1String(ResbufToValue(several.get())), "(\"UNDO\" \"E\" 3)");
  Chain one(acutBuildList(RTSTR, "イ1", RTNONE));
  EXPECT_EQ(Prin1String(ResbufToValue(one.get())), "\"イ1\"");
  Chain truth(acutBuildList(RTT, 0));
  EXPECT_EQ(Prin1String(ResbufToValue(truth.get())), "T");
  EXPECT_EQ(Prin1String(ResbufToValue(nullptr)), "nil");
}

TEST(ResbufTest, UnbalancedChainsAreRefused) {
  const int kChains[][4] = {
      {RTLE, 0}, {RTLB, RTSHORT, 0}, {RTLB, RTDOTE, RTSHORT, RTLE}, {RTDOTE, 0}};
  for (const auto& types : kChains) {
    Chain chain;
    resbuf** tail = nullptr;
    for (int type : types) {
      if (type == 0) break;
      resbuf* rb = acutNewRb(type);
      if (tail == nullptr) {
        chain.reset(rb);
      } else {
        *tail = rb;
      }
      tail = &rb->rbnext;
    }
    EXPECT_THROW(ResbufToValue(chain.get()), Error) << types[0];
  }
}

TEST(ResbufTest, BuildListTakesEachTypesValue) {
  ads_point point = {1.0, 2.0, 3.0};
  ads_name entity = {42, 1};
  Chain chain(acutBuildList(RTPOINT, point, RT3DPOINT, point, RTSHORT, -5, RTLONG, 70000, RTREAL,
                            1.5, RTENAME, entity, RTLB, RTNIL, RTT, RTLE, 0));
  EXPECT_EQ(Prin1String(ResbufToValue(chain.get())),
            "((1.0 2.0) (1.0 2.0 3.0) -5 70000 1.5 <Entity name: 2A> (nil T))");
  EXPECT_EQ(acutBuildList(5555, 1, RTNONE), nullptr);
  EXPECT_EQ(acutBuildList(RTSTR, "kept until the bad type", -77, 1, RTNONE), nullptr);
}

TEST(ResbufTest, FilterListsWithGroupCodeZero) {
  Chain filter(acutBuildList(RTDXF0, "INSERT", 2, "AREA1", 0));
  EXPECT_EQ(Types(filter.get()), (std::vector<int>{0, 2}));
  EXPECT_STREQ(filter->resval.rstring, "INSERT");
  EXPECT_EQ(Prin1String(GroupListToValue(filter.get())), "((0 . \"INSERT\") (2 . \"AREA1\"))");

  Chain fromLisp(ValueToGroupList(ReadOne("((0 . \"INSERT\") (-4 . \"<OR\") (2 . \"AREA1\"))")));
  EXPECT_EQ(Types(fromLisp.get()), (std::vector<int>{0, -4, 2}));
}

TEST(ResbufTest, EntityListsWithPointsAndExtendedData) {
  ads_point start = {1.0, 2.0, 3.0};
  ads_name entity = {0x2a, 1};
  Chain chain(acutBuildList(-1, entity, RTDXF0, "LINE", 8, "0", 10, start, 40, 2.5, 70, 1, 90,
                            100000, -3, 1001, "AREA_TRIANGLE", 1000, "TYPE_OUT", 1001, "PLOT_TALLY",
                            1070, 5, 1010, start, RTNONE));
  ASSERT_NE(chain, nullptr);
  Value list = GroupListToValue(chain.get());
  const char* kExpected =
      "((-1 . <Entity name: 2A>) (0 . \"LINE\") (8 . \"0\") (10 1.0 2.0 3.0) (40 . 2.5) "
      "(70 . 1) (90 . 100000) (-3 (\"AREA_TRIANGLE\" (1000 . \"TYPE_OUT\")) "
      "(\"PLOT_TALLY\" (1070 . 5) (1010 1.0 2.0 3.0))))";
  EXPECT_EQ(Prin1String(list), kExpected);

  Chain back(ValueToGroupList(list));
  EXPECT_EQ(Types(back.get()), Types(chain.get()));
  EXPECT_EQ(Prin1String(GroupListToValue(back.get())), kExpected);
}

TEST(ResbufTest, GroupListsRefuseValuesOfTheWrongKind) {
  for (const char* bad :
       {"((10 . \"a\"))", "((70 . 40000))", "((8 . 1))", "((10 1 2 3 4))", "((9999 . 1))", "(5)",
        "((\"x\" . 1))", "((-1 . 1))", "((-3 (1000 . \"x\")))"}) {
    EXPECT_THROW(ValueToGroupList(ReadOne(bad)), Error) << bad;
  }
  try {
    ValueToGroupList(ReadOne("((0 . \"LINE\") (10 . \"a\"))"));
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "bad DXF group: (10 . \"a\")");
  }
  // A two-dimensional point gets Z = 0.
  Chain flat(ValueToGroupList(ReadOne("((10 1 2))")));
  EXPECT_EQ(flat->resval.rpoint[Z], 0.0);
}

TEST(ResbufTest, GroupCodeKinds) {
  using K = GroupValueKind;
  const std::pair<int, K> cases[] = {
      {0, K::kString},     {1, K::kString},     {2, K::kString},     {5, K::kHandle},
      {8, K::kString},     {10, K::kPoint},     {11, K::kPoint},     {38, K::kReal},
      {40, K::kReal},      {50, K::kReal},      {62, K::kInt16},     {70, K::kInt16},
      {90, K::kInt32},     {100, K::kString},   {105, K::kHandle},   {160, K::kInt64},
      {210, K::kPoint},    {290, K::kInt16},    {330, K::kObjectId}, {340, K::kObjectId},
      {420, K::kInt32},    {1000, K::kString},  {1001, K::kString},  {1005, K::kHandle},
      {1010, K::kPoint},   {1040, K::kReal},    {1070, K::kInt16},   {1071, K::kInt32},
      {-1, K::kObjectId},  {-4, K::kString},    {-3, K::kInvalid},   {80, K::kInvalid},
      {1072, K::kInvalid}, {5000, K::kInvalid},
  };
  for (const auto& [code, kind] : cases) {
    EXPECT_EQ(GroupCodeValueKind(code), kind) << "group code " << code;
  }
}

TEST(ResbufTest, DeepListsConvertOnASmallStack) {
  constexpr int kDepth = 30000;
  RunOnSmallStack([] {
    Value deep = Value::String("core");
    for (int i = 0; i < kDepth; ++i) deep = List({deep, Value::String("s")});
    Chain chain(ValueToResbuf(deep));
    EXPECT_TRUE(Equal(ResbufToValue(chain.get()), deep));
  });
}

}  // namespace
}  // namespace tessera::lisp
