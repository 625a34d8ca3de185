#pragma once
// TSkinData: the non-visual component that carries a skin package, turns its
// description into skin elements and colours, and tells the skin manager when
// skinning is switched on or off or the skin changes.
//
// Sections of this header:
//   [enums]     control kinds, options, form types
//   [platform]  the seams to the platform layer and to the skin manager
//   [component] TSkinData
#include "framework/Component.h"
#include "framework/StringList.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "skin/SkinModel.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace skin {

// [enums] -------------------------------------------------------------------

enum TSkinControlType : uint8_t {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton,
  xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox,
  xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport,
};
// A set of TSkinControlType, bit n for member n.
using TSkinControlTypes = uint32_t;
inline constexpr TSkinControlTypes kDefaultSkinControls = 0x1FFFFB;

enum TSkinOption : uint8_t {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar,
};
using TSkinOptions = uint16_t;
inline constexpr TSkinOptions kDefaultSkinOptions = 0x448;

enum TSkinFormType : uint8_t { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

constexpr uint32_t Bit(uint32_t member) { return 1u << member; }

// [platform] ----------------------------------------------------------------

class TSkinData;

// The parts of a skin data component that need the platform: the caption
// font, the application icon bitmap, the menu glyph list and the caption-
// button hint window. The Win32 library installs a factory for them; natively
// a component has none and those parts stay empty.
class TSkinDataPlatform {
public:
  virtual ~TSkinDataPlatform() = default;
  virtual void RemakeCaptionFont() = 0;
  virtual void MakeApplicationIcon() = 0;
  // Shows text at the screen position unless a hint is showing already.
  virtual void ShowHint(gfx::TPoint position, const std::string& text) = 0;
  virtual void HideHint() = 0;
  [[nodiscard]] virtual bool HintShowing() const = 0;
};
using TSkinDataPlatformFactory = std::unique_ptr<TSkinDataPlatform> (*)(TSkinData& owner);
void SetSkinDataPlatformFactory(TSkinDataPlatformFactory factory);

// What the component needs of the platform's metrics; natively the default
// scheme's values answer.
struct TSkinSystemMetrics {
  int32_t HScrollArrowWidth = 17; // SM_CXHSCROLL
  gfx::TPoint MaximizedSize{1032, 776}; // SM_CXMAXIMIZED, SM_CYMAXIMIZED
  bool HasGetScrollBarInfo = true;
};
using TSkinSystemMetricsSource = TSkinSystemMetrics (*)();
void SetSkinSystemMetricsSource(TSkinSystemMetricsSource source);
[[nodiscard]] TSkinSystemMetrics SkinSystemMetrics();

// The skin manager as the component sees it. The manager installs a link
// when it exists; until then the component does everything that does not
// need it and skins no window.
class TSkinManagerLink {
public:
  virtual ~TSkinManagerLink() = default;
  virtual void Register(TSkinData& data) = 0;
  virtual void Unregister(TSkinData& data) = 0;
  virtual void InstallHook() = 0;
  virtual void PostAction(TSkinData& data, int32_t code, int32_t delayMs) = 0;
  virtual void MarkStarted() = 0;
  // For a component that is not the main one: skinning on, start state + 1.
  virtual void SkinningOnRaiseStart() = 0;
  virtual void SkinOwnerForm(TSkinData& data) = 0;
  virtual void SetCurrentSkinData(TSkinData& data) = 0;
  virtual void DropCaptionButtons(TSkinData& data) = 0;
  [[nodiscard]] virtual bool ApplicationRunning() const = 0;
};
// The manager of the process, created on first need; nullptr while none can
// be made (no manager library installed).
using TSkinManagerProvider = TSkinManagerLink* (*)(bool create);
void SetSkinManagerProvider(TSkinManagerProvider provider);

// [component] ---------------------------------------------------------------

// The component carries the skin model it last loaded completely: frames and
// controls read its elements and colours straight from the component.
class TSkinData : public framework::TComponent, public TSkinModel {
public:
  explicit TSkinData(framework::TComponent* owner);
  ~TSkinData() override;

  static const framework::TClassInfo& ClassType();
  [[nodiscard]] const framework::TClassInfo& ClassInfo() const override { return ClassType(); }

  // ----- Published properties -----
  [[nodiscard]] bool Active() const { return active_; }
  void SetActive(bool value);
  [[nodiscard]] int32_t DisableTag() const { return disableTag_; }
  void SetDisableTag(int32_t value) { disableTag_ = value; }
  [[nodiscard]] TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value & ((1u << 22) - 1); }
  [[nodiscard]] TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions value) { options_ = TSkinOptions(value & ((1u << 12) - 1)); }
  [[nodiscard]] framework::TStringList* Skin3rd() const { return skin3rd_.get(); }
  [[nodiscard]] const std::string& SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::string& path);
  // "(Good)" at design time when a package is stored, else "(none)".
  [[nodiscard]] std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  [[nodiscard]] TSkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(TSkinFormType value) { formType_ = value; }
  [[nodiscard]] std::string Version() const { return "5.40.07.15"; }
  void SetVersion(const std::string&) {}
  [[nodiscard]] bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  [[nodiscard]] bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool value) { menuMerge_ = value; }

  framework::TEvent<void(framework::TObject* Sender, const std::string& aName, bool& DoSkin)> OnFormSkin;
  framework::TNotifyEvent OnSkinChanged;
  // Asked before the tables for every control a skinned form meets. Handing
  // back any object leaves the tables out; a skinned-control companion
  // handed back is attached to the control and then owned by the form's frame.
  framework::TEvent<void(framework::TComponent* Sender, TSkinData* SkinData, framework::TComponent* Form,
                         framework::TComponent* Control, const std::string& ControlClass,
                         framework::TObject*& SkinnedControl)>
    OnSkinControl;
  framework::TEvent<void(framework::TObject* Sender, void* ahwnd, const std::string& aName)> OnBeforeSkinForm;
  framework::TEvent<void(framework::TObject* Sender, void* ahwnd, const std::string& aName)> OnAfterSkinForm;

  // ----- The package -----
  // The "SkinStream" property's value: a 32-bit length and the package.
  [[nodiscard]] std::vector<uint8_t> SkinStreamBytes() const { return SkinStreamOf(package_); }
  // The property value for a package, as a form description's file holds it:
  // a program that stores a skin file in its form data wraps it with this.
  [[nodiscard]] static std::vector<uint8_t> SkinStreamOf(std::span<const uint8_t> package);
  // Reading it stores the package and, outside design mode, applies it.
  void SetSkinStreamBytes(const std::vector<uint8_t>& bytes);
  [[nodiscard]] const std::vector<uint8_t>& Package() const { return package_; }
  // Replaces the stored package (nothing is applied).
  void SetPackage(std::vector<uint8_t> package) { package_ = std::move(package); }
  // Opens the stored package and runs the load sequence. False when the
  // package is empty, of an unknown format or damaged; the model loaded
  // before then stays as it was and the component counts as not loaded.
  // Other errors (out of memory) pass on, leaving the model the same way.
  // Does nothing (false) in design mode.
  bool ApplyPackage();
  // The load sequence on a parsed description (bitmaps come from reader)
  // into a new model, which replaces the current one only once it is
  // complete. Throws ESkinPackage for a damaged bitmap; the current model is
  // then kept.
  void LoadSkin(const TQuickIni& ini, const TSkinReader& reader);

  void Loaded() override;

  // Whether the manager should skin a top-level window of this class.
  [[nodiscard]] bool ShouldSkinWindow(const std::string& className);

  // ----- State read by frames and controls (the model's readers besides) -----
  [[nodiscard]] bool NotLoaded() const { return notLoaded_; }
  bool FramePainting = true;
  [[nodiscard]] gfx::TPoint MaximizedSize() const { return maximizedSize_; }
  [[nodiscard]] TSkinDataPlatform* Platform() const { return platform_.get(); }

  // Caption-button hints (Win32 only; nothing happens natively).
  void ShowHint(gfx::TPoint position, const std::string& text);
  void HideHint();

private:
  void ApplyActiveToManager(bool value);

  bool active_ = false;
  int32_t disableTag_ = 99;
  TSkinControlTypes skinControls_ = kDefaultSkinControls;
  TSkinOptions options_ = kDefaultSkinOptions;
  std::unique_ptr<framework::TStringList> skin3rd_;
  std::string skinFile_;
  TSkinFormType formType_ = sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;

  std::vector<uint8_t> package_;
  bool notLoaded_ = true;
  gfx::TPoint maximizedSize_;
  std::unique_ptr<TSkinDataPlatform> platform_;
};

// Fills list with the built-in table of foreign control classes and the skin
// kind each is drawn as (class=kind, one per line).
void FillSkin3rd(framework::TStringList& list);

// Registers TSkinData for form descriptions (idempotent).
void RegisterSkinDataClass();

} // namespace skin
