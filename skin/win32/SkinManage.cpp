#include "skin/win32/SkinManage.h"

#include "framework/Streams.h"
#include "framework/win32/Forms.h"
#include "skin/AnsiText.h"
#include "skin/controls/WinSkinPopMenu.h"
#include "skin/frame/WinSkinForm.h"

#include <algorithm>

namespace skin {

namespace {

std::unique_ptr<TSkinManage>& ManagerSlot()
{
  static std::unique_ptr<TSkinManage> manager;
  return manager;
}

// Set once the manager has gone: a hook call that still arrives does nothing.
bool& ShutDown()
{
  static bool shutDown = false;
  return shutDown;
}

TSkinManagerLink* ProvideManager(bool create)
{
  auto& slot = ManagerSlot();
  if (!slot && create && !ShutDown())
    slot = std::make_unique<TSkinManage>();
  return slot.get();
}

constexpr int32_t kSkinQueryAnswer = 1;
constexpr DWORD kSizeGripStyle = 0x10;
constexpr LPARAM kStartTag = 1000;
constexpr uint32_t kTimerStartInterval = 100;

std::string ClassNameOf(HWND window)
{
  wchar_t name[256] = {};
  const int n = GetClassNameW(window, name, 256);
  return framework::WideToUtf8(std::wstring(name, size_t(n > 0 ? n : 0)));
}

bool AnswersSkinned(HWND window)
{
  DWORD_PTR result = 0;
  // A hung or foreign window must not stall the GUI thread.
  if (!SendMessageTimeoutW(window, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 1000, &result))
    return false;
  return result == kSkinQueryAnswer;
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

framework::TForm* FormOfWindow(HWND window)
{
  using framework::Screen;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    framework::TForm* form = Screen->Forms(i);
    if (form->HandleAllocated() && form->Handle() == window)
      return form;
  }
  return nullptr;
}

bool IsDialogClass(const std::string& lower) { return lower == "tmessageform" || lower == "#32770"; }

} // namespace

// ----- Process-wide ---------------------------------------------------------------

void InstallSkinManager() { SetSkinManagerProvider(&ProvideManager); }

TSkinManage* SkinManager() { return ManagerSlot().get(); }

void FinalizeSkinManager()
{
  // The slot is emptied first, so nothing reaches the manager while it goes.
  std::unique_ptr<TSkinManage> manager = std::move(ManagerSlot());
  manager.reset();
  ShutDown() = true;
}

// ----- Life -----------------------------------------------------------------------

TSkinManage::TSkinManage() : timer_(std::make_unique<framework::TTimer>(nullptr))
{
  timer_->SetEnabled(false);
  timer_->SetInterval(kTimerStartInterval);
  timer_->OnTimer = framework::TNotifyEvent([this](framework::TObject* sender) { TimerFired(sender); });
  if (framework::Screen)
    framework::Screen->OnFormShowing = framework::TNotifyEvent([this](framework::TObject* sender) {
      if (auto* form = dynamic_cast<framework::TForm*>(sender))
        FormShowing(*form);
    });
}

TSkinManage::~TSkinManage()
{
  if (framework::Screen)
    framework::Screen->OnFormShowing = {};
  startState_ = msShuttingDown;
  skinningOn_ = false;
  timer_.reset();
  UnskinFrames(nullptr);
  popups_.clear();
  hook_.reset();
}

void TSkinManage::Register(TSkinData& data)
{
  if (std::find(dataList_.begin(), dataList_.end(), &data) == dataList_.end())
    dataList_.push_back(&data);
  if (!mainData_ && data.SkinFormtype() == sfMainform)
    mainData_ = &data;
}

void TSkinManage::Unregister(TSkinData& data)
{
  std::erase(dataList_, &data);
  if (actionData_ == &data) {
    actionData_ = nullptr;
    pending_ = saNone;
    timer_->SetEnabled(false);
  }
  if (mainData_ == &data)
    mainData_ = nullptr;
  // A frame must not outlive the skin data it paints from.
  for (auto& frame : frames_)
    if (&frame->SkinData() == &data)
      frame->Unskin();
  std::erase_if(frames_, [&](const auto& frame) { return &frame->SkinData() == &data; });
  std::erase_if(popups_, [&](const auto& popup) { return &popup->SkinData() == &data; });
}

void TSkinManage::InstallHook()
{
  if (hook_)
    return;
  hook_ = std::make_unique<framework::TThreadHook>(
    WH_CBT, [this](int code, WPARAM wParam, LPARAM lParam) { return HookEvent(code, wParam, lParam); });
}

bool TSkinManage::ApplicationRunning() const
{
  return framework::Application && framework::Application->Running();
}

// ----- Actions --------------------------------------------------------------------

void TSkinManage::PostAction(TSkinData& data, int32_t code, int32_t delayMs)
{
  pending_ = TSkinAction(code);
  actionData_ = &data;
  timer_->SetInterval(uint32_t(std::max(delayMs, 1)));
  if (startState_ != msNotStarted) {
    // A second request before the timer fires replaces the first.
    timer_->SetEnabled(false);
    timer_->SetEnabled(true);
  } else if (code == saSkinOn || code == saSkinOff) {
    skinningOn_ = code == saSkinOn;
  }
}

void TSkinManage::MarkStarted()
{
  if (startState_ == msNotStarted)
    startState_ = msRunning;
  if (pending_ != saNone && actionData_)
    timer_->SetEnabled(true);
}

void TSkinManage::SkinningOnRaiseStart()
{
  skinningOn_ = true;
  ++startState_;
}

void TSkinManage::SkinOwnerForm(TSkinData& data)
{
  if (auto* form = dynamic_cast<framework::TForm*>(data.Owner()))
    SkinForm(*form);
}

void TSkinManage::SetCurrentSkinData(TSkinData& data) { actionData_ = &data; }

void TSkinManage::DropCaptionButtons(TSkinData& data)
{
  for (auto& frame : frames_)
    if (&frame->SkinData() == &data)
      frame->DropCaptionButtons();
}

void TSkinManage::TimerFired(framework::TObject*)
{
  timer_->SetEnabled(false);
  TSkinData* data = actionData_;
  const TSkinAction action = pending_;
  if (!data)
    return;
  pending_ = saNone;
  RunAction(*data, action);
  data->OnSkinChanged(data);
  actionData_ = nullptr;
}

void TSkinManage::RunAction(TSkinData& data, TSkinAction action)
{
  const bool onlyThisForm = data.SkinFormtype() == sfOnlyThisForm;
  switch (action) {
  case saSkinOn:
    skinningOn_ = true;
    if (!onlyThisForm)
      DiscardStaleFrames();
    SkinAllForms(onlyThisForm ? &data : nullptr);
    break;
  case saSkinOff:
    skinningOn_ = false;
    DiscardStaleFrames();
    UnskinFrames(onlyThisForm ? &data : nullptr);
    break;
  case saRefresh:
    DiscardStaleFrames();
    RefreshFrames(&data);
    break;
  default:
    break;
  }
}

// The forced pass goes from the last form made to the first, so that the
// forms in front are framed first.
void TSkinManage::SkinAllForms(TSkinData* stopAtOwnerOf)
{
  forced_ = true;
  using framework::Screen;
  for (int i = Screen->FormCount() - 1; i >= 0; --i) {
    framework::TForm* form = Screen->Forms(i);
    if (stopAtOwnerOf) {
      if (form == stopAtOwnerOf->Owner()) {
        SkinForm(*form);
        break;
      }
      continue;
    }
    SkinForm(*form);
  }
  forced_ = false;
}

void TSkinManage::UnskinFrames(TSkinData* only)
{
  // Un-skinning may run window code that asks the manager about frames, so
  // each frame leaves the list before it is un-skinned.
  for (size_t i = 0; i < frames_.size();) {
    if (only && &frames_[i]->SkinData() != only) {
      ++i;
      continue;
    }
    std::unique_ptr<TWinSkinForm> frame = std::move(frames_[i]);
    frames_.erase(frames_.begin() + std::ptrdiff_t(i));
    frame->Unskin();
  }
}

void TSkinManage::RefreshFrames(TSkinData* only)
{
  for (auto& frame : frames_)
    if (!only || &frame->SkinData() == only) {
      frame->DropCaptionButtons();
      frame->RecomputeGeometry();
    }
  for (auto& frame : frames_)
    if (!only || &frame->SkinData() == only)
      frame->RepaintAfterSkinChange();
}

void TSkinManage::SetMdiMenuState(bool on)
{
  if (on == mdiMenuState_)
    return;
  mdiMenuState_ = on;
  // Documents that keep the system's border have nothing to follow.
  if (mainData_ && (mainData_->Options() & Bit(xoMDIChildBorder)))
    return;
  for (size_t i = 0; i < frames_.size(); ++i)
    if (frames_[i]->IsMdiChild() && !frames_[i]->Discarded())
      frames_[i]->MdiMenuStateChanged();
}

// ----- The hook -------------------------------------------------------------------

std::optional<LRESULT> TSkinManage::HookEvent(int code, WPARAM wParam, LPARAM lParam)
{
  if (ShutDown() || startState_ == msShuttingDown)
    return std::nullopt;
  HWND window = reinterpret_cast<HWND>(wParam);
  switch (code) {
  case HCBT_CREATEWND: {
    const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
    if (create && create->lpcs)
      WindowCreated(window, *create->lpcs);
    break;
  }
  case HCBT_DESTROYWND:
    WindowDestroying(window);
    break;
  case HCBT_ACTIVATE:
    if (startState_ == msNotStarted)
      startState_ = msRunning;
    SkinWindow(window);
    break;
  default:
    break;
  }
  return std::nullopt;
}

void TSkinManage::WindowCreated(HWND window, const CREATESTRUCTW& create)
{
  const std::string className = ClassNameOf(window);
  if (AnsiSameText(className, "ScrollBar") && (create.style & kSizeGripStyle)) {
    if (TWinSkinForm* frame = FrameOf(create.hwndParent))
      frame->GripCreated(window);
  } else if (!(create.style & WS_CHILD) && className == "#32768") {
    AttachPopupSkinner(window);
  } else if (create.dwExStyle & WS_EX_MDICHILD) {
    SkinWindow(window);
  }
}

void TSkinManage::WindowDestroying(HWND window)
{
  const auto found = std::find_if(popups_.begin(), popups_.end(),
                                   [&](const auto& popup) { return popup->Window() == window; });
  if (found == popups_.end())
    return;
  popups_.erase(found);
  if (popups_.empty()) {
    popupKind_ = pkContextMenu;
    menuBarTracking_ = false;
  }
}

void TSkinManage::AttachPopupSkinner(HWND window)
{
  if (!skinningOn_ || AnswersSkinned(window))
    return;
  if (std::any_of(popups_.begin(), popups_.end(), [&](const auto& popup) { return popup->Window() == window; }))
    return;
  TSkinData* data = ChooseSkinData(window, "#32768");
  if (!data || data->NotLoaded())
    return;
  static constexpr TSkinControlTypes kNeeded[] = {Bit(xcPopupMenu), Bit(xcMainMenu) | Bit(xcMenuItem),
                                                  Bit(xcSystemMenu)};
  if (!(data->SkinControls() & kNeeded[popupKind_]))
    return;
  popups_.push_back(std::make_unique<TWinSkinPopMenu>(*data, window, popupKind_, menuBarTracking_));
}

TWinSkinPopMenu* TSkinManage::PopupSkinnerOf(HWND window) const
{
  for (const auto& popup : popups_)
    if (popup->Window() == window)
      return popup.get();
  return nullptr;
}

TWinSkinPopMenu* TSkinManage::NewestPopupSkinner() const { return popups_.empty() ? nullptr : popups_.back().get(); }

void TSkinManage::FlagBarPopups()
{
  for (auto& popup : popups_)
    popup->SetMenuBarPopup(true);
}

// ----- Skinning a window ----------------------------------------------------------

void TSkinManage::DiscardStaleFrames()
{
  std::erase_if(frames_, [](const auto& frame) { return frame->Discarded() || !IsWindow(frame->Window()); });
}

TWinSkinForm* TSkinManage::FrameOf(HWND window) const
{
  for (const auto& frame : frames_)
    if (frame->Window() == window && !frame->Discarded())
      return frame.get();
  return nullptr;
}

void TSkinManage::SkinForm(framework::TForm& form)
{
  if (!form.Visible() || !form.HandleAllocated())
    return;
  // MDI documents are child windows too, but framed like top-level ones.
  const HWND window = form.Handle();
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) && !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_MDICHILD))
    return;
  SkinWindow(window);
}

// Started here, the frame is there when the window first paints: no one
// sees the system's frame and bar for the moment until the first activation,
// and the window is not laid out and painted twice.
void TSkinManage::FormShowing(framework::TForm& form)
{
  // An MDI frame keeps starting at its first activation: its client window
  // settles its scroll bars only once it shows, and the frame notes them
  // when it attaches, to give them back when it goes.
  if (ShutDown() || startState_ == msShuttingDown || !form.HandleAllocated() ||
      form.FormStyle() == framework::fsMDIForm)
    return;
  const HWND window = form.Handle();
  if (IsWindowVisible(window) || (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD))
    return;
  if (!SkinWindow(window))
    return;
  // As from the posted start: an error is reported and the form shows anyway.
  try {
    if (TWinSkinForm* frame = FrameOf(window))
      frame->StartNow();
  } catch (...) {
    if (framework::Application)
      framework::Application->HandleException(nullptr);
  }
}

bool TSkinManage::SkinWindow(HWND window)
{
  if (!skinningOn_ || !IsWindow(window))
    return false;
  DiscardStaleFrames();
  if (AnswersSkinned(window) || FrameOf(window))
    return false;
  framework::TForm* form = FormOfWindow(window);
  const std::string className = ClassNameOf(window);
  if (!Qualifies(window, className, form))
    return false;
  TSkinData* data = ChooseSkinData(window, className);
  if (!data || data->NotLoaded())
    return false;
  frames_.push_back(std::make_unique<TWinSkinForm>(*this, *data, window, className, form));
  PostMessageW(window, WM_SKIN_START, 0, kStartTag);
  return true;
}

bool TSkinManage::Qualifies(HWND window, const std::string& className, framework::TForm* form) const
{
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  const bool mdiChild = exStyle & WS_EX_MDICHILD;
  if ((style & WS_CHILD) && !mdiChild) {
    // Inside an MDI client only MDI children are framed, unless forced; a
    // control shown on its own elsewhere (the full-screen display) never is.
    const bool inMdiClient = AnsiLowerCase(ClassNameOf(GetParent(window))) == "mdiclient";
    if (!inMdiClient || !forced_)
      return false;
  }
  // A control of ours that is not a form, made top-level, neither.
  if (!form && framework::TWinControl::FindControl(window))
    return false;
  const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (!form && module != GetModuleHandleW(nullptr) && className != "#32770")
    return false;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  if (IsRectEmpty(&bounds) && !mdiChild)
    return false;
  if (form && form->Tag() == 99)
    return false;
  if (Contains(className, "TcxPopupEditPopupWindow") || Contains(className, "TTERenderWindow") ||
      className == "TApplication")
    return false;
  return ClassPasses(window, className);
}

bool TSkinManage::ClassPasses(HWND window, const std::string& className) const
{
  if (!mainData_)
    return true;
  const std::string lower = AnsiLowerCase(className);
  if (!(mainData_->Options() & Bit(xoPreview)) && Contains(lower, "preview"))
    return false;
  if (className == "#32770" && (GetWindowLongPtrW(window, GWL_STYLE) & DS_SETFOREGROUND))
    return false;
  if (lower == "tpopupdbtreeview")
    return false;
  return mainData_->ShouldSkinWindow(className);
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::string& className) const
{
  auto last = [&](auto&& pick) -> TSkinData* {
    for (auto it = dataList_.rbegin(); it != dataList_.rend(); ++it)
      if (pick(**it))
        return *it;
    return nullptr;
  };
  if (TSkinData* own = last([&](TSkinData& d) {
        auto* owner = dynamic_cast<framework::TForm*>(d.Owner());
        return d.SkinFormtype() == sfOnlyThisForm && owner && owner->HandleAllocated() && owner->Handle() == window;
      }))
    return own;
  if (IsDialogClass(AnsiLowerCase(className)))
    if (TSkinData* dialog = last([](TSkinData& d) { return d.SkinFormtype() == sfDialog; }))
      return dialog;
  if (TSkinData* main = last([](TSkinData& d) { return d.SkinFormtype() == sfMainform; }))
    return main;
  return dataList_.empty() ? nullptr : dataList_.front();
}

} // namespace skin
