#include "skin/SkinData.h"

#include "framework/TypeInfo.h"
#include "skin/AnsiText.h"
#include "skin/QuickIni.h"
#include "skin/SkinReader.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <utility>

namespace skin {

// [platform] ----------------------------------------------------------------

namespace {

TSkinDataPlatformFactory& PlatformFactory()
{
  static TSkinDataPlatformFactory factory = nullptr;
  return factory;
}

TSkinSystemMetricsSource& MetricsSource()
{
  static TSkinSystemMetricsSource source = nullptr;
  return source;
}

TSkinManagerProvider& ManagerProvider()
{
  static TSkinManagerProvider provider = nullptr;
  return provider;
}

TSkinManagerLink* Manager(bool create)
{
  return ManagerProvider() ? ManagerProvider()(create) : nullptr;
}

constexpr int32_t kActionDelayMs = 250;

} // namespace

void SetSkinDataPlatformFactory(TSkinDataPlatformFactory factory) { PlatformFactory() = factory; }
void SetSkinSystemMetricsSource(TSkinSystemMetricsSource source) { MetricsSource() = source; }
TSkinSystemMetrics SkinSystemMetrics() { return MetricsSource() ? MetricsSource()() : TSkinSystemMetrics{}; }
void SetSkinManagerProvider(TSkinManagerProvider provider) { ManagerProvider() = provider; }

// [class description] --------------------------------------------------------

namespace {

const framework::TEnumInfo& SkinControlTypeInfo()
{
  static const framework::TEnumInfo info{
    "TSkinControlType",
    {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
     "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcSpin",
     "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"}};
  return info;
}

const framework::TEnumInfo& SkinOptionInfo()
{
  static const framework::TEnumInfo info{
    "TSkinOption",
    {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround", "xoNoFocusRect",
     "xoToolbarBK", "xoToolbarButton", "xoMDIChildBorder", "xoMenuBG", "xoCaptionButtonHint", "xoFormScrollbar"}};
  return info;
}

const framework::TEnumInfo& SkinFormTypeInfo()
{
  static const framework::TEnumInfo info{"TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}};
  return info;
}

} // namespace

const framework::TClassInfo& TSkinData::ClassType()
{
  using framework::TClassInfo;
  static TClassInfo info("TSkinData", &framework::TComponent::ClassType(),
                         [](framework::TComponent* owner) -> framework::TComponent* { return new TSkinData(owner); });
  static const bool described = [] {
    // Every property is written to the form data, whatever its value: no
    // defaults are declared.
    info.Bool("Active", &TSkinData::Active, &TSkinData::SetActive);
    info.Int("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag);
    info.Set("SkinControls", SkinControlTypeInfo(), &TSkinData::SkinControls, &TSkinData::SetSkinControls);
    info.Set("Options", SkinOptionInfo(), &TSkinData::Options, &TSkinData::SetOptions);
    info.Object("Skin3rd", framework::TStringList::ClassType(), &TSkinData::Skin3rd);
    info.Str("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
    info.Str("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore);
    info.Enum("SkinFormtype", SkinFormTypeInfo(), &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype);
    info.Str("Version", &TSkinData::Version, &TSkinData::SetVersion);
    info.Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate);
    info.Bool("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge);
    info.Event("OnFormSkin", &TSkinData::OnFormSkin);
    info.Event("OnSkinChanged", &TSkinData::OnSkinChanged);
    info.Event("OnSkinControl", &TSkinData::OnSkinControl);
    info.Event("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm);
    info.Event("OnAfterSkinForm", &TSkinData::OnAfterSkinForm);

    framework::TPropInfo stream;
    stream.Name = "SkinStream";
    stream.Kind = framework::TTypeKind::tkBinary;
    stream.GetBytes = [](const framework::TObject& o) {
      return static_cast<const TSkinData&>(o).SkinStreamBytes();
    };
    stream.SetBytes = [](framework::TObject& o, const std::vector<uint8_t>& bytes) {
      static_cast<TSkinData&>(o).SetSkinStreamBytes(bytes);
    };
    info.Add(std::move(stream));
    return true;
  }();
  (void)described;
  return info;
}

void RegisterSkinDataClass()
{
  static const bool registered = [] {
    framework::RegisterComponentClass(TSkinData::ClassType());
    return true;
  }();
  (void)registered;
}

// [component] ---------------------------------------------------------------

TSkinData::TSkinData(framework::TComponent* owner)
  : framework::TComponent(owner),
    skin3rd_(std::make_unique<framework::TStringList>())
{
  maximizedSize_ = SkinSystemMetrics().MaximizedSize;
  FillSkin3rd(*skin3rd_);
  if (PlatformFactory())
    platform_ = PlatformFactory()(*this);
}

TSkinData::~TSkinData()
{
  Destroying();
  if (TSkinManagerLink* manager = Manager(false))
    manager->Unregister(*this);
  DestroyComponents();
}

std::string TSkinData::SkinStore() const
{
  return HasState(framework::csDesigning) && !package_.empty() ? "(Good)" : "(none)";
}

std::vector<uint8_t> TSkinData::SkinStreamOf(std::span<const uint8_t> package)
{
  const uint32_t n = uint32_t(package.size());
  std::vector<uint8_t> bytes(4 + package.size());
  for (int shift = 0; shift < 4; ++shift)
    bytes[size_t(shift)] = uint8_t(n >> (8 * shift));
  if (!package.empty())
    std::memcpy(bytes.data() + 4, package.data(), package.size());
  return bytes;
}

void TSkinData::SetSkinStreamBytes(const std::vector<uint8_t>& bytes)
{
  int32_t n = 0;
  if (bytes.size() >= 4)
    n = int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24);
  if (n <= 0) {
    package_.clear();
    return;
  }
  // A length beyond the data keeps what is there; the decoder reads a
  // truncated package as zeros and the skin comes out damaged but harmless.
  const size_t available = std::min(size_t(n), bytes.size() - 4);
  package_.assign(bytes.begin() + 4, bytes.begin() + 4 + std::ptrdiff_t(available));
  if (!HasState(framework::csDesigning))
    ApplyPackage();
}

bool TSkinData::ApplyPackage()
{
  if (HasState(framework::csDesigning) || package_.empty())
    return false;
  // A package that fails keeps the model of the skin before it, but the
  // component counts as not loaded until a package has been applied.
  notLoaded_ = true;
  try {
    TSkinReader reader;
    if (!reader.Open(package_))
      return false;
    std::vector<uint8_t> text;
    reader.ExtractByPart(".ini", text);
    TQuickIni ini;
    ini.Load(std::span<const uint8_t>(text));
    LoadSkin(ini, reader);
    return true;
  } catch (const ESkinPackage&) {
    // The skin library fails soft: a damaged package changes nothing.
    return false;
  }
}

void TSkinData::LoadSkin(const TQuickIni& ini, const TSkinReader& reader)
{
  notLoaded_ = true;
  TSkinModel loaded = TSkinModel::Load(ini, reader);
  // Windows paint from this component's model whenever they are asked to:
  // it changes only here, whole, and the skin before it leaves with `loaded`.
  std::swap(static_cast<TSkinModel&>(*this), loaded);
  notLoaded_ = false;
}

void TSkinData::SetSkinFile(const std::string& path)
{
  notLoaded_ = true;
  skinFile_ = path;
  if (HasState(framework::csDesigning)) {
    if (!path.empty())
      package_.clear();
    return;
  }
  if (path.empty())
    return;
  std::error_code error;
  const std::filesystem::path file(std::u8string(path.begin(), path.end()));
  if (!std::filesystem::is_regular_file(file, error))
    return;
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  if (!in)
    return;
  const std::streamoff size = in.tellg();
  if (size < 0)
    return;
  std::vector<uint8_t> content(size_t(size), 0);
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(content.data()), std::streamsize(size)))
    return;
  package_ = std::move(content);
  ApplyPackage();
  if (HasState(framework::csLoading))
    return; // Loaded follows and tells the manager.
  if (!Manager(false))
    Loaded();
  if (TSkinManagerLink* manager = Manager(false)) {
    manager->DropCaptionButtons(*this);
    if (manager->ApplicationRunning())
      manager->PostAction(*this, 3, kActionDelayMs);
  }
}

void TSkinData::SetActive(bool value)
{
  if (value == active_)
    return;
  active_ = value;
  if (HasState(framework::csDesigning) || HasState(framework::csLoading))
    return;
  ApplyActiveToManager(value);
}

void TSkinData::ApplyActiveToManager(bool value)
{
  TSkinManagerLink* manager = Manager(false);
  if (!manager)
    return;
  if (formType_ == sfOnlyThisForm) {
    manager->SetCurrentSkinData(*this);
    if (!value)
      manager->PostAction(*this, 2, kActionDelayMs);
    else if (!notLoaded_)
      manager->PostAction(*this, 1, kActionDelayMs);
    return;
  }
  if (formType_ != sfMainform)
    return;
  if (value) {
    if (!notLoaded_) {
      manager->PostAction(*this, 1, kActionDelayMs);
      manager->MarkStarted();
    }
  } else {
    manager->PostAction(*this, 2, kActionDelayMs);
  }
}

void TSkinData::Loaded()
{
  framework::TComponent::Loaded();
  if (HasState(framework::csDesigning))
    return;
  if (!SkinSystemMetrics().HasGetScrollBarInfo)
    skinControls_ &= ~Bit(xcScrollbar);
  TSkinManagerLink* manager = Manager(true);
  if (manager)
    manager->Register(*this);
  if (platform_)
    platform_->RemakeCaptionFont();

  if (formType_ != sfMainform) {
    if (manager) {
      manager->SkinningOnRaiseStart();
      if (active_)
        manager->SkinOwnerForm(*this);
    }
    return;
  }

  if (manager)
    manager->InstallHook();
  if (active_) {
    // A component whose package did not load cannot skin anything.
    if (notLoaded_)
      active_ = false;
    else if (manager)
      manager->PostAction(*this, 1, kActionDelayMs);
  }
  if (skinControls_ & Bit(xcMainMenu))
    skinControls_ &= ~Bit(xcMenuItem);
  else
    skinControls_ &= ~Bit(xcSystemMenu);
  if (platform_)
    platform_->MakeApplicationIcon();
}

bool TSkinData::ShouldSkinWindow(const std::string& className)
{
  bool doSkin = true;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return doSkin;
  }
  if (AnsiSameText(className, "SysMonthCal32"))
    return false;
  if ((skinControls_ & Bit(xcFastReport)) && className.compare(0, 3, "Tfr") == 0)
    return false;
  return doSkin;
}

void TSkinData::ShowHint(gfx::TPoint position, const std::string& text)
{
  if (!(options_ & Bit(xoCaptionButtonHint)) || !platform_ || platform_->HintShowing())
    return;
  platform_->ShowHint(position, text);
}

void TSkinData::HideHint()
{
  if (platform_ && platform_->HintShowing())
    platform_->HideHint();
}

} // namespace skin
