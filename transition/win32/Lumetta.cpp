#include "transition/win32/Lumetta.h"

#include "framework/FormDescription.h"
#include "framework/TypeInfo.h"
#include "framework/win32/Forms.h"
#include "framework/win32/Graphics.h"

#include <algorithm>
#include <any>
#include <mutex>
#include <optional>
#include <string>

namespace transition {

using framework::TMessage;

const framework::TEnumInfo& BackgroundModeInfo()
{
  static const framework::TEnumInfo info{"TBackgroundMode", {"bmNone", "bmTiled", "bmStretched", "bmCentered"}};
  return info;
}

// ---------------------------------------------------------------------------
// TCustomLumetta

TCustomLumetta::TCustomLumetta(framework::TComponent* owner)
  : TCustomControl(owner), TLumettaParts(), TLumettaCore(WindowHost, PictureView, BgPictureView)
{
  SetControlStyle(ControlStyle() | framework::csOpaque);
  SetSender(this);
  WindowHost.SetCore(this);
  WindowHost.OnHandleNeeded = [this] { HandleNeeded(); };
  WindowHost.OnLoading = [this] { return HasState(framework::csLoading); };
  WindowHost.OnProcessMessages = [] {
    if (framework::Application)
      framework::Application->ProcessMessages();
    else
      win32::TLumettaWindowHost::PumpThreadMessages();
  };
  PictureObject.OnChange = [this] { PictureChanged(); };
  BgPictureObject.OnChange = [this] { BgPictureChanged(); };
  SetColor(gfx::clWindow);
  SetBounds(Left(), Top(), 100, 100);
}

TCustomLumetta::~TCustomLumetta()
{
  // No transition, timer or event outlives this part of the object; the
  // window itself goes with the framework's control below.
  BeginDestroy();
  PictureObject.OnChange = nullptr;
  BgPictureObject.OnChange = nullptr;
  WindowHost.SetWindow(nullptr);
}

bool TCustomLumetta::CanAutoSize(int& newWidth, int& newHeight)
{
  const framework::TGraphic* graphic = PictureObject.Graphic();
  if (!graphic || Align() == framework::alClient)
    return true;
  if (Align() != framework::alTop && Align() != framework::alBottom)
    newWidth = graphic->Width() + 2 * FrameWidth() + (Width() - ClientWidth());
  if (Align() != framework::alLeft && Align() != framework::alRight)
    newHeight = graphic->Height() + 2 * FrameWidth() + (Height() - ClientHeight());
  return true;
}

void TCustomLumetta::CreateWnd()
{
  TCustomControl::CreateWnd();
  WindowHost.SetWindow(HandleIfAllocated());
  Resized();
}

void TCustomLumetta::Paint()
{
  PaintContent(Canvas());
}

void TCustomLumetta::WndProc(TMessage& message)
{
  switch (message.Msg) {
  case WM_ERASEBKGND:
    // Opaque: everything is painted by WM_PAINT.
    message.Result = 1;
    return;
  case WM_PAINT:
    WMPaint(message);
    return;
  case WM_TRANSITION_DONE:
  case WM_TRANSITION_PROGRESS:
    win32::TLumettaWindowHost::Dispatch(*this, message.Msg, message.WParam);
    message.Result = 0;
    return;
  case WM_DESTROY:
    // No transition outlives the window; the timer stops before it goes.
    // When the window goes because this control or a form holding it is
    // being freed, the handlers may belong to objects already half gone:
    // the transition then ends without events.
    if (BeingFreed())
      BeginDestroy();
    else
      Stop();
    WindowHost.SetWindow(nullptr);
    TCustomControl::WndProc(message);
    return;
  case WM_SIZE:
    TCustomControl::WndProc(message);
    Resized();
    return;
  case framework::CM_MOUSEENTER:
    TCustomControl::WndProc(message);
    OnMouseEnter(this);
    return;
  case framework::CM_MOUSELEAVE:
    TCustomControl::WndProc(message);
    OnMouseLeave(this);
    return;
  default:
    TCustomControl::WndProc(message);
  }
}

bool TCustomLumetta::BeingFreed() const
{
  if (HasState(framework::csDestroying))
    return true;
  for (const framework::TWinControl* parent = Parent(); parent; parent = parent->Parent())
    if (parent->HasState(framework::csDestroying))
      return true;
  return Owner() && Owner()->HasState(framework::csDestroying);
}

void TCustomLumetta::WMPaint(TMessage& message)
{
  std::lock_guard guard(Lock());
  if (HDC given = reinterpret_cast<HDC>(message.WParam)) {
    RECT clip{};
    GetClipBox(given, &clip);
    PaintUpdate(given, clip);
  } else {
    framework::TPaintScope paint(Handle());
    if (paint.DC())
      PaintUpdate(paint.DC(), paint.Info().rcPaint);
  }
  message.Result = 0;
}

void TCustomLumetta::PaintUpdate(HDC dc, const RECT& update)
{
  if (CanPaintByStretch({update.left, update.top, update.right, update.bottom}))
    WindowHost.StretchDisplay(dc);
  else
    PaintWindow(dc);
}

const framework::TClassInfo& TCustomLumetta::ClassType()
{
  static const framework::TClassInfo info("TCustomLumetta", &TCustomControl::ClassType());
  return info;
}

// ---------------------------------------------------------------------------
// TLumetta: the published surface

namespace {

framework::TPropInfo PictureProp(std::string name, framework::TPicture& (TCustomLumetta::*get)())
{
  framework::TPropInfo p;
  p.Name = std::move(name);
  p.Kind = framework::TTypeKind::tkBinary;
  p.GetBytes = [get](const framework::TObject& o) {
    auto& self = const_cast<TCustomLumetta&>(static_cast<const TCustomLumetta&>(o));
    return (self.*get)().SaveData();
  };
  p.SetBytes = [get](framework::TObject& o, const std::vector<uint8_t>& bytes) {
    (static_cast<TCustomLumetta&>(o).*get)().LoadData(bytes);
  };
  // An empty picture is not written.
  p.StoredFn = [get](const framework::TObject& o) {
    auto& self = const_cast<TCustomLumetta&>(static_cast<const TCustomLumetta&>(o));
    return (self.*get)().Graphic() != nullptr;
  };
  return p;
}

// Builders over the component's accessors. The registry's own builders take
// member pointers of the registered class; most accessors here live in the
// portable bases, so they are reached through small lambdas instead.
using L = TCustomLumetta;

framework::TPropInfo Ordinal(std::string name, framework::TTypeKind kind, int64_t (*get)(const L&),
                             void (*set)(L&, int64_t), std::optional<int64_t> def,
                             const framework::TEnumInfo* info = nullptr, const framework::TIdentMap* idents = nullptr)
{
  framework::TPropInfo p;
  p.Name = std::move(name);
  p.Kind = kind;
  p.Enum = info;
  p.Idents = idents;
  p.Default = def;
  p.GetOrd = [get](const framework::TObject& o) { return get(static_cast<const L&>(o)); };
  p.SetOrd = [set](framework::TObject& o, int64_t v) { set(static_cast<L&>(o), v); };
  return p;
}

framework::TPropInfo Boolean(std::string name, bool (*get)(const L&), void (*set)(L&, bool), bool def)
{
  framework::TPropInfo p;
  p.Name = std::move(name);
  p.Kind = framework::TTypeKind::tkEnumeration;
  p.Enum = &framework::BooleanInfo();
  p.Default = def ? 1 : 0;
  p.GetOrd = [get](const framework::TObject& o) { return int64_t(get(static_cast<const L&>(o)) ? 1 : 0); };
  p.SetOrd = [set](framework::TObject& o, int64_t v) { set(static_cast<L&>(o), v != 0); };
  return p;
}

template <class TEventType>
framework::TPropInfo EventProp(std::string name, TEventType& (*member)(L&))
{
  using THandler = typename TEventType::THandler;
  framework::TPropInfo p;
  p.Name = name;
  p.Kind = framework::TTypeKind::tkMethod;
  p.GetMethodName = [member](const framework::TObject& o) {
    return member(const_cast<L&>(static_cast<const L&>(o))).HandlerName();
  };
  p.SetMethod = [member, name](framework::TObject& o, const std::string& handler, const std::any& value) {
    TEventType& event = member(static_cast<L&>(o));
    if (!value.has_value()) {
      event = TEventType{};
      return;
    }
    const auto* fn = std::any_cast<THandler>(&value);
    if (!fn)
      throw framework::EPropertyError("The handler " + handler + " does not fit the event " + name);
    event = TEventType(*fn, handler);
  };
  return p;
}

} // namespace

const framework::TClassInfo& TLumetta::ClassType()
{
  static framework::TClassInfo info("TLumetta", &TCustomLumetta::ClassType(),
                                    [](framework::TComponent* owner) -> framework::TComponent* {
                                      return new TLumetta(owner);
                                    });
  static const bool published = [] {
    using framework::TTypeKind;
    info.Add(Ordinal(
      "BgMode", TTypeKind::tkEnumeration, [](const L& l) { return int64_t(l.BgMode()); },
      [](L& l, int64_t v) { l.SetBgMode(TBackgroundMode(std::clamp<int64_t>(v, bmNone, bmCentered))); },
      int64_t(bmTiled), &BackgroundModeInfo()));
    info.Add(PictureProp("BgPicture", &L::BgPicture));
    info.Add(Boolean(
      "Center", [](const L& l) { return l.Center(); }, [](L& l, bool v) { l.SetCenter(v); }, false));
    info.Add(Ordinal(
      "Delay", TTypeKind::tkInteger, [](const L& l) { return int64_t(l.Delay()); },
      [](L& l, int64_t v) { l.SetDelay(uint16_t(std::clamp<int64_t>(v, 0, 0xFFFF))); }, int64_t(40)));
    info.Add(Boolean(
      "ExactTiming", [](const L& l) { return l.ExactTiming(); }, [](L& l, bool v) { l.SetExactTiming(v); },
      false));
    info.Add(Ordinal(
      "FrameColor", TTypeKind::tkInteger, [](const L& l) { return int64_t(l.FrameColor()); },
      [](L& l, int64_t v) { l.SetFrameColor(gfx::TColor(v)); }, int64_t(gfx::clActiveBorder), nullptr,
      &framework::ColorIdents()));
    info.Add(Ordinal(
      "FrameWidth", TTypeKind::tkInteger, [](const L& l) { return int64_t(l.FrameWidth()); },
      [](L& l, int64_t v) { l.SetFrameWidth(int32_t(std::clamp<int64_t>(v, 0, 0x7FFFFFFF))); }, int64_t(0)));
    info.Add(Boolean(
      "Manual", [](const L& l) { return l.Manual(); }, [](L& l, bool v) { l.SetManual(v); }, false));
    info.Add(Boolean(
      "OverDraw", [](const L& l) { return l.OverDraw(); }, [](L& l, bool v) { l.SetOverDraw(v); }, true));
    info.Add(PictureProp("Picture", &L::Picture));
    info.Add(Boolean(
      "Proportional", [](const L& l) { return l.Proportional(); }, [](L& l, bool v) { l.SetProportional(v); },
      false));
    info.Add(Boolean(
      "Reverse", [](const L& l) { return l.Reverse(); }, [](L& l, bool v) { l.SetReverse(v); }, false));
    info.Add(Boolean(
      "Stretch", [](const L& l) { return l.Stretch(); }, [](L& l, bool v) { l.SetStretch(v); }, false));
    info.Add(Ordinal(
      "Step", TTypeKind::tkInteger, [](const L& l) { return int64_t(l.Step()); },
      [](L& l, int64_t v) { l.SetStep(uint16_t(std::clamp<int64_t>(v, 0, 0xFFFF))); }, int64_t(4)));
    // Values above 176 are ignored by the setter, as any out-of-range write.
    info.Add(Ordinal(
      "Style", TTypeKind::tkInteger, [](const L& l) { return int64_t(l.Style()); },
      [](L& l, int64_t v) {
        if (v >= 0 && v <= effects::kMaxStyle)
          l.SetStyle(TShowStyle(v));
      },
      int64_t(51)));
    {
      framework::TPropInfo name;
      name.Name = "StyleName";
      name.Kind = TTypeKind::tkString;
      name.GetStr = [](const framework::TObject& o) { return static_cast<const L&>(o).StyleName(); };
      name.SetStr = [](framework::TObject& o, const std::string& v) { static_cast<L&>(o).SetStyleName(v); };
      name.Stored = false;
      info.Add(std::move(name));
    }
    info.Add(Boolean(
      "Threaded", [](const L& l) { return l.Threaded(); }, [](L& l, bool v) { l.SetThreaded(v); }, true));
    info.Add(EventProp<TCustomDrawEvent>("OnAfterNewFrame", [](L& l) -> TCustomDrawEvent& { return l.OnAfterNewFrame; }));
    info.Add(EventProp<TCustomDrawEvent>("OnBeforeNewFrame", [](L& l) -> TCustomDrawEvent& { return l.OnBeforeNewFrame; }));
    info.Add(EventProp<TCustomDrawEvent>("OnCustomDraw", [](L& l) -> TCustomDrawEvent& { return l.OnCustomDraw; }));
    info.Add(EventProp<TCustomDrawEvent>("OnStart", [](L& l) -> TCustomDrawEvent& { return l.OnStart; }));
    using framework::TNotifyEvent;
    info.Add(EventProp<TNotifyEvent>("OnChange", [](L& l) -> TNotifyEvent& { return l.OnChange; }));
    info.Add(EventProp<TNotifyEvent>("OnComplete", [](L& l) -> TNotifyEvent& { return l.OnComplete; }));
    info.Add(EventProp<TNotifyEvent>("OnMouseEnter", [](L& l) -> TNotifyEvent& { return l.OnMouseEnter; }));
    info.Add(EventProp<TNotifyEvent>("OnMouseLeave", [](L& l) -> TNotifyEvent& { return l.OnMouseLeave; }));
    info.Add(EventProp<TNotifyEvent>("OnProgress", [](L& l) -> TNotifyEvent& { return l.OnProgress; }));
    info.Add(EventProp<TNotifyEvent>("OnStop", [](L& l) -> TNotifyEvent& { return l.OnStop; }));
    return true;
  }();
  (void)published;
  return info;
}

void RegisterLumetta()
{
  framework::RegisterComponentClass(TLumetta::ClassType());
}

} // namespace transition
