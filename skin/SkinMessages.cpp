#include "skin/SkinMessages.h"

#include <cstdio>

namespace skin {

namespace {

void WriteToStdErr(const std::string& text)
{
  std::fprintf(stderr, "%s\n", text.c_str());
}

TSkinMessageHook g_hook = &WriteToStdErr;

} // namespace

TSkinMessageHook SetSkinMessageHook(TSkinMessageHook hook)
{
  TSkinMessageHook previous = g_hook;
  g_hook = hook ? hook : &WriteToStdErr;
  return previous;
}

void ShowSkinMessage(const std::string& text)
{
  g_hook(text);
}

} // namespace skin
