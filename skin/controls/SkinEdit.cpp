#include "skin/controls/SkinEdit.h"

#include "framework/win32/Handles.h"
#include "skin/SkinData.h"
#include "skin/controls/EditLooks.h"
#include "skin/win32/SkinDataWin32.h"

#include <cwctype>
#include <string>

namespace skin {

namespace {

// Up-down windows of any family: the system's ("msctls_updown32") and the
// spin buttons of component sets.
bool IsUpDownClass(HWND window)
{
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  std::wstring lower(name);
  for (wchar_t& c : lower)
    c = wchar_t(std::towlower(c));
  return lower.find(L"updown") != std::wstring::npos || lower.find(L"spin") != std::wstring::npos;
}

} // namespace

void TSkinEdit::Unskin()
{
  TSkinControl::Unskin();
  if (upDown_)
    upDown_->Unskin();
}

void TSkinEdit::SkinChanged()
{
  TSkinControl::SkinChanged();
  if (upDown_)
    upDown_->SkinChanged();
}

bool TSkinEdit::BeforeMessage(framework::TMessage& message)
{
  if (message.Msg != WM_PRINT)
    return TSkinControl::BeforeMessage(message);
  const auto dc = reinterpret_cast<HDC>(message.WParam);
  if (!dc) {
    PassOn(message);
    const framework::TWindowDC own = framework::TWindowDC::WholeWindow(Window());
    DrawPrintBorder(own.Get());
    return false;
  }
  {
    // The edit's own printing may leave its text's clip on the DC.
    const win32::TSavedDC saved(dc);
    PassOn(message);
  }
  DrawPrintBorder(dc);
  return false;
}

void TSkinEdit::AfterMessage(framework::TMessage& message)
{
  switch (message.Msg) {
  case WM_SKIN_EDIT_PAINT:
    if (message.LParam != framework::kSkinAwareNotifyTag)
      break;
    if (message.WParam) {
      framework::TMessage paint{WM_PAINT, message.WParam, 0, 0};
      PassOn(paint);
    }
    message.Result = framework::kSkinAwareNotifyTag;
    break;
  default:
    TSkinControl::AfterMessage(message);
    break;
  }
}

gfx::TSize TSkinEdit::ClientSize() const
{
  RECT client{};
  GetClientRect(Window(), &client);
  return {client.right - client.left, client.bottom - client.top};
}

gfx::TSize TSkinEdit::WindowSize() const
{
  RECT window{};
  GetWindowRect(Window(), &window);
  return {window.right - window.left, window.bottom - window.top};
}

void TSkinEdit::AttachEmbeddedUpDown()
{
  for (HWND child = GetWindow(Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDownClass(child))
      continue;
    upDown_ = std::make_unique<TSkinUpDown>(true);
    upDown_->AttachWindow(*Form(), Data(), child);
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const gfx::TRect& rect)
{
  if ((Data().SkinControls() & Bit(xcSpin)) && !upDown_ && Form())
    AttachEmbeddedUpDown();
  if (HasBorder(ClientSize(), {rect.Width(), rect.Height()}))
    FrameSkinBorder(dc, rect, 3);
}

void TSkinEdit::DrawPrintBorder(HDC dc) const
{
  if (!dc)
    return;
  const gfx::TSize size = WindowSize();
  if (!HasBorder(ClientSize(), size, 2))
    return;
  const gfx::TRect rect(0, 0, size.Width, size.Height);
  const RECT inner{1, 1, size.Width - 1, size.Height - 1};
  FrameRect(dc, &inner, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
  FrameColour(dc, rect, Data().Color(scButtonShadow));
}

} // namespace skin
