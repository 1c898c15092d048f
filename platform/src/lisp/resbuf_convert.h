// Conversion between LISP values and result-buffer chains, as the host does when it passes LISP
// arguments to an application, takes its results back, and turns entity and filter lists into
// group-code chains. Chains made here are released with acutRelRb; their strings are malloc'd.
#pragma once

#include <string_view>
#include <vector>

#include "cad/ads.h"
#include "lisp/value.h"

namespace tessera::lisp {

// The arguments of a LISP call as acedGetArgs returns them: one flat chain (nullptr for none).
// nil RTNIL, T RTT, other symbols RTSTR of their name, integers RTSHORT within 16 bits else
// RTLONG, reals RTREAL, strings RTSTR, entity names RTENAME, selection sets RTPICKS; a list of
// exactly two or three numbers (at any level) RTPOINT or RT3DPOINT; other lists RTLB ... RTLE,
// with RTDOTE before the tail of a dotted list. A function value throws Error.
resbuf* ArgumentsToResbuf(const std::vector<Value>& args);
// One value as a chain, by the same rules (for acedGetSym).
resbuf* ValueToResbuf(const Value& value);

// A chain as acedRetList and acedPutSym give it: RTLB ... RTLE the (nested) list, several items
// without RTLB a list of them, one item that value; RTPOINT and RT3DPOINT lists of 2 and 3 reals,
// RTNIL nil, RTT T, RTVOID the null symbol, RTDOTE makes a dotted list; a group-code item
// becomes (code . value) as in GroupListToValue. Throws Error for an unbalanced chain.
Value ResbufToValue(const resbuf* chain);

// An entity or filter list (group codes below 5000; RTDXF0 counts as code 0) as LISP sees it:
// one (code . value) per item, points as (10 1.0 2.0 3.0), and the items after -3 gathered by
// application: (-3 ("APPNAME" (1000 . "TYPE_OUT") ...) ...). Throws Error for a chain item that
// is not a group code.
Value GroupListToValue(const resbuf* chain);
// The reverse: throws Error "bad DXF group: ..." naming the first item that does not fit.
resbuf* ValueToGroupList(const Value& list);

// True for the result-buffer types whose resval.rstring the chain owns.
bool ResbufHoldsString(int restype);
// A copy of the text for resval.rstring, allocated as acutRelRb frees it.
char* NewResbufString(std::string_view text);

// A chain under construction; released with acutRelRb unless taken, so an error while building
// leaks nothing.
class ResbufChain {
 public:
  ResbufChain() = default;
  ResbufChain(const ResbufChain&) = delete;
  ResbufChain& operator=(const ResbufChain&) = delete;
  ~ResbufChain();
  // Appends a new element of the given type (see acutNewRb) and returns it.
  resbuf* append(int restype);
  // Hands the chain over to the caller.
  resbuf* release();

 private:
  resbuf* head_ = nullptr;
  resbuf** tail_ = &head_;
};

}  // namespace tessera::lisp
