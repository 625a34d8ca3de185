#pragma once
// Block-transfer plans: most wipe, stretch, slide and push effects are one to
// four copies or stretches whose rectangles are small linear formulas of the
// frame size and the progress. A plan is written as text that reads like the
// effect's description, for example
//
//   "stretch(W-X, 0, X, H; 0, 0, W, H)"
//
// and is parsed at compile time, so a malformed formula does not compile.
//
// Transfers: copy(dx, dy, w, h; sx, sy) and stretch(dx, dy, dw, dh; sx, sy,
// sw, sh) read the new picture; selfcopy and selfstretch read the old image in
// Screen. Several transfers are separated by ";" and run in the order written.
// A formula is a sum of terms, each an optional integer factor followed by an
// optional quantity: 1, W, H, X, Y, hw = X div 2, hh = Y div 2, W2 = W div 2,
// H2 = H div 2, mx = (W - X) div 2, my = (H - Y) div 2.
#include <array>
#include <cstdint>

namespace effects {

enum TPlanTerm : uint8_t { ptOne, ptW, ptH, ptX, ptY, ptHw, ptHh, ptW2, ptH2, ptMx, ptMy, ptCount };

// The values of the quantities for one frame.
using TPlanValues = std::array<int64_t, ptCount>;

[[nodiscard]] constexpr TPlanValues PlanValues(int32_t W, int32_t H, int32_t X, int32_t Y)
{
  return {1, W, H, X, Y, X / 2, Y / 2, W / 2, H / 2, (int64_t(W) - X) / 2, (int64_t(H) - Y) / 2};
}

struct TPlanFormula {
  std::array<int8_t, ptCount> Factor{};

  // Formulas reach at most a few times the frame size; the result is clamped
  // so that huge frames cannot wrap around to a plausible-looking rectangle.
  [[nodiscard]] constexpr int32_t Eval(const TPlanValues& v) const
  {
    int64_t sum = 0;
    for (int i = 0; i < ptCount; ++i)
      sum += Factor[i] * v[i];
    if (sum > INT32_MAX)
      return INT32_MAX;
    if (sum < -INT32_MAX)
      return -INT32_MAX;
    return int32_t(sum);
  }
};

enum class TTransferKind : uint8_t { tkCopy, tkStretch, tkSelfCopy, tkSelfStretch };

struct TPlanTransfer {
  TTransferKind Kind = TTransferKind::tkCopy;
  // Destination x, y, width, height; source x, y and, for stretches, width
  // and height (a copy's source size is its destination size).
  std::array<TPlanFormula, 8> Field{};
};

struct TTransferPlan {
  uint8_t Count = 0;
  std::array<TPlanTransfer, 4> Transfers{};
};

namespace plan_detail {

// Reaching a throw during constant evaluation is what turns a bad plan into a
// compile error; the messages say what was wrong.
constexpr void Fail(const char* why)
{
  if (why != nullptr)
    throw why;
}

struct TParser {
  const char* At;

  constexpr void SkipSpace()
  {
    while (*At == ' ')
      ++At;
  }
  constexpr bool Accept(char c)
  {
    SkipSpace();
    if (*At != c)
      return false;
    ++At;
    return true;
  }
  constexpr void Expect(char c)
  {
    if (!Accept(c))
      Fail("unexpected character in a transfer plan");
  }
  constexpr bool AcceptWord(const char* word)
  {
    SkipSpace();
    const char* p = At;
    for (; *word; ++word, ++p)
      if (*p != *word)
        return false;
    if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9'))
      return false;
    At = p;
    return true;
  }
  constexpr int Quantity()
  {
    // Longer names first, so that "W2" is not read as "W" followed by "2".
    constexpr const char* kNames[] = {"hw", "hh", "W2", "H2", "mx", "my", "W", "H", "X", "Y"};
    constexpr int kTerms[] = {ptHw, ptHh, ptW2, ptH2, ptMx, ptMy, ptW, ptH, ptX, ptY};
    for (int i = 0; i < 10; ++i)
      if (AcceptWord(kNames[i]))
        return kTerms[i];
    return -1;
  }
  constexpr TPlanFormula Formula()
  {
    TPlanFormula f;
    int sign = Accept('-') ? -1 : 1;
    for (;;) {
      SkipSpace();
      int factor = 1;
      bool digits = false;
      if (*At >= '0' && *At <= '9') {
        factor = 0;
        while (*At >= '0' && *At <= '9')
          factor = factor * 10 + (*At++ - '0');
        digits = true;
      }
      const int term = Quantity();
      if (term < 0 && !digits)
        Fail("a term needs a number or a quantity");
      const int index = term < 0 ? ptOne : term;
      const int value = f.Factor[index] + sign * factor;
      if (value < -127 || value > 127)
        Fail("factor out of range");
      f.Factor[index] = int8_t(value);
      if (Accept('+'))
        sign = 1;
      else if (Accept('-'))
        sign = -1;
      else
        return f;
    }
  }
};

} // namespace plan_detail

consteval TTransferPlan ParsePlan(const char* text)
{
  plan_detail::TParser p{text};
  TTransferPlan plan;
  do {
    if (plan.Count == plan.Transfers.size())
      plan_detail::Fail("too many transfers in a plan");
    TPlanTransfer& t = plan.Transfers[plan.Count++];
    int sourceFields = 2;
    if (p.AcceptWord("copy"))
      t.Kind = TTransferKind::tkCopy;
    else if (p.AcceptWord("stretch"))
      t.Kind = TTransferKind::tkStretch, sourceFields = 4;
    else if (p.AcceptWord("selfcopy"))
      t.Kind = TTransferKind::tkSelfCopy;
    else if (p.AcceptWord("selfstretch"))
      t.Kind = TTransferKind::tkSelfStretch, sourceFields = 4;
    else
      plan_detail::Fail("unknown transfer");
    p.Expect('(');
    for (int i = 0; i < 4; ++i) {
      t.Field[i] = p.Formula();
      p.Expect(i == 3 ? ';' : ',');
    }
    for (int i = 0; i < sourceFields; ++i) {
      t.Field[4 + i] = p.Formula();
      if (i + 1 < sourceFields)
        p.Expect(',');
    }
    p.Expect(')');
  } while (p.Accept(';'));
  p.SkipSpace();
  if (*p.At != '\0')
    plan_detail::Fail("text after the last transfer");
  return plan;
}

// A transfer with its formulas worked out for one frame.
struct TTransferRects {
  TTransferKind Kind;
  int32_t DX, DY, DW, DH, SX, SY, SW, SH;
};

[[nodiscard]] constexpr TTransferRects Evaluate(const TPlanTransfer& t, const TPlanValues& v)
{
  TTransferRects r{t.Kind,
                   t.Field[0].Eval(v), t.Field[1].Eval(v), t.Field[2].Eval(v), t.Field[3].Eval(v),
                   t.Field[4].Eval(v), t.Field[5].Eval(v), t.Field[6].Eval(v), t.Field[7].Eval(v)};
  if (t.Kind == TTransferKind::tkCopy || t.Kind == TTransferKind::tkSelfCopy) {
    r.SW = r.DW;
    r.SH = r.DH;
  }
  return r;
}

} // namespace effects
