// Forms holding several documents: the main form's MDI client window, the
// document forms made inside it, and the default handling both need from
// the system instead of the plain window default.
#include "framework/win32/Forms.h"

#include "framework/Exceptions.h"

#include <algorithm>

namespace framework {

HWND MDIParentClient()
{
  TForm* main = Application ? Application->MainForm() : nullptr;
  if (!main || main->FormStyle() != fsMDIForm)
    throw Exception("Cannot create form. No MDI forms are currently active");
  main->HandleNeeded();
  return main->ClientHandle();
}

void TForm::CreateMDIClient()
{
  CLIENTCREATESTRUCT client{};
  client.idFirstChild = 0xFF00;
  clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                  0, 0, 0, 0, handle_, nullptr, GetModuleHandleW(nullptr), &client);
  if (!clientHandle_)
    throw Exception("The MDI client window could not be made");
  // Below the form's own controls, so that aligned bars stay in sight.
  SetWindowPos(clientHandle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PlaceMDIClient();
}

void TForm::PlaceMDIClient()
{
  if (!clientHandle_)
    return;
  gfx::TRect free = ClientRect();
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* control = Controls(i);
    if (!control->Visible())
      continue;
    switch (control->Align()) {
    case alTop: free.Top = std::max(free.Top, control->Top() + control->Height()); break;
    case alBottom: free.Bottom = std::min(free.Bottom, control->Top()); break;
    case alLeft: free.Left = std::max(free.Left, control->Left() + control->Width()); break;
    case alRight: free.Right = std::min(free.Right, control->Left()); break;
    default: break;
    }
  }
  MoveWindow(clientHandle_, free.Left, free.Top, std::max(0, free.Width()), std::max(0, free.Height()), TRUE);
}

void TForm::DestroyWnd()
{
  if (formStyle_ == fsMDIChild && handle_ && GetParent(handle_)) {
    // The client keeps its own list of documents and their window menu.
    SendMessageW(GetParent(handle_), WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
    return;
  }
  clientHandle_ = nullptr;
  TWinControl::DestroyWnd();
}

void TForm::DefaultHandler(TMessage& m)
{
  if (!handle_ || (m.Msg >= CM_BASE && m.Msg < CM_BASE + 0x1000)) {
    TWinControl::DefaultHandler(m);
    return;
  }
  if (formStyle_ == fsMDIChild) {
    // Closing a document asks the form, as closing any form does: the
    // system's default would take the window away behind the form's back.
    if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_CLOSE) {
      Close();
      m.Result = 0;
      return;
    }
    m.Result = DefMDIChildProcW(handle_, m.Msg, m.WParam, m.LParam);
    return;
  }
  // The frame's default would size the client over the whole client area;
  // the form places it beside its aligned controls instead.
  if (formStyle_ == fsMDIForm && m.Msg != WM_SIZE) {
    m.Result = DefFrameProcW(handle_, clientHandle_, m.Msg, m.WParam, m.LParam);
    return;
  }
  TWinControl::DefaultHandler(m);
}

std::vector<TForm*> TForm::MDIChildForms() const
{
  std::vector<TForm*> children;
  if (!clientHandle_)
    return children;
  // In the client's own order, the active document first.
  for (HWND child = GetWindow(clientHandle_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (auto* form = dynamic_cast<TForm*>(FindControl(child)); form && form->FormStyle() == fsMDIChild)
      children.push_back(form);
  return children;
}

TForm* TForm::ActiveMDIChild() const
{
  if (!clientHandle_)
    return nullptr;
  const auto active = reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0));
  return active ? dynamic_cast<TForm*>(FindControl(active)) : nullptr;
}

int TForm::MDIChildCount() const { return int(MDIChildForms().size()); }

TForm* TForm::MDIChildren(int index) const
{
  const std::vector<TForm*> children = MDIChildForms();
  return index >= 0 && size_t(index) < children.size() ? children[size_t(index)] : nullptr;
}

void TForm::Cascade()
{
  if (clientHandle_)
    SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TForm::Tile()
{
  if (clientHandle_)
    SendMessageW(clientHandle_, WM_MDITILE, MDITILE_HORIZONTAL, 0);
}

void TForm::ArrangeIcons()
{
  if (clientHandle_)
    SendMessageW(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}

void TForm::Next()
{
  if (clientHandle_)
    SendMessageW(clientHandle_, WM_MDINEXT, 0, FALSE);
}

void TForm::Previous()
{
  if (clientHandle_)
    SendMessageW(clientHandle_, WM_MDINEXT, 0, TRUE);
}

} // namespace framework
