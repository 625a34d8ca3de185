#include "framework/win32/FileCtrl.h"

namespace framework {

bool DirectoryExists(const std::string& path)
{
  if (path.empty())
    return false;
  DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path)
{
  if (path.empty())
    return false;
  DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

std::string WithoutTrailingSeparator(std::string path)
{
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/') && !(path.size() == 3 && path[1] == ':'))
    path.pop_back();
  return path;
}

std::wstring Upper(std::wstring text)
{
  if (!text.empty())
    CharUpperBuffW(text.data(), DWORD(text.size()));
  return text;
}

// Whether a whole name matches a mask of * and ? without regard to case.
// The system's search also tries each file's short name, so "*.bmp" finds
// "a.bmpx" through its short name "A~1.BMP"; every name it finds is checked
// again here.
bool MatchesMask(const std::wstring& name, const std::wstring& mask)
{
  if (mask == L"*.*" || mask == L"*")
    return true;
  const std::wstring n = Upper(name), m = Upper(mask);
  size_t i = 0, j = 0, star = std::wstring::npos, resume = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == L'?' || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == L'*') {
      star = j++;
      resume = i;
    } else if (star != std::wstring::npos) {
      j = star + 1;
      i = ++resume;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == L'*')
    ++j;
  return j == m.size();
}

[[noreturn]] void InvalidFileName(const std::string& path)
{
  throw EInvalidOperation("Invalid file name - " + path);
}

} // namespace

const TClassInfo& TFileListBox::ClassType()
{
  static TClassInfo info("TFileListBox", &TWinControl::ClassType(), [](TComponent* o) { return new TFileListBox(o); });
  static const bool described = [] {
    info.Str("Mask", &TFileListBox::Mask, &TFileListBox::SetMask, "*.*");
    info.Str("Directory", &TFileListBox::Directory, &TFileListBox::SetDirectory);
    info.Int("ItemIndex", &TFileListBox::ItemIndex, &TFileListBox::SetItemIndex).Stored = false;
    return true;
  }();
  (void)described;
  return info;
}

TFileListBox::TFileListBox(TComponent* owner) : TWinControl(owner)
{
  width_ = 145;
  height_ = 97;
  tabStop_ = true;
  color_ = gfx::clWindow;
  items_.SetSorted(true);
  items_.SetDuplicates(TDuplicates::dupAccept);
  wchar_t current[MAX_PATH];
  DWORD n = GetCurrentDirectoryW(MAX_PATH, current);
  directory_ = WideToUtf8(std::wstring(current, n));
}

void TFileListBox::CreateParams(TCreateParams& p)
{
  TWinControl::CreateParams(p);
  p.SystemClass = L"LISTBOX";
  p.Style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  p.Style &= ~DWORD(WS_CLIPCHILDREN);
  p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TFileListBox::CreateWnd()
{
  TWinControl::CreateWnd();
  FillWindow();
}

void TFileListBox::SetDirectory(const std::string& value)
{
  std::string folder = WithoutTrailingSeparator(value);
  if (!DirectoryExists(folder))
    InvalidFileName(value);
  directory_ = folder;
  itemIndex_ = -1;
  ReadFileNames();
}

void TFileListBox::SetMask(const std::string& value)
{
  mask_ = value.empty() ? "*.*" : value;
  itemIndex_ = -1;
  if (!HasState(csLoading))
    ReadFileNames();
}

void TFileListBox::ApplyFilePath(const std::string& path)
{
  if (DirectoryExists(path)) {
    SetDirectory(path);
    return;
  }
  // Otherwise the last part names a file, or a mask, in the folder before it.
  size_t split = path.find_last_of("\\/");
  std::string folder = split == std::string::npos ? directory_ : path.substr(0, split);
  std::string name = split == std::string::npos ? path : path.substr(split + 1);
  if (folder.empty() || !DirectoryExists(folder) || name.empty())
    InvalidFileName(path);
  if (name.find_first_of("*?") != std::string::npos) {
    SetDirectory(folder);
    SetMask(name);
    return;
  }
  if (!FileExists(path))
    InvalidFileName(path);
  SetDirectory(folder);
  SetItemIndex(items_.IndexOf(name));
}

void TFileListBox::ReadFileNames()
{
  items_.BeginUpdate();
  items_.Clear();
  std::string masks = mask_;
  size_t start = 0;
  TStringList seen;
  seen.SetSorted(true);
  while (start <= masks.size()) {
    size_t end = masks.find(';', start);
    std::string one = masks.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? masks.size() + 1 : end + 1;
    while (!one.empty() && one.front() == ' ')
      one.erase(one.begin());
    while (!one.empty() && one.back() == ' ')
      one.pop_back();
    if (one.empty())
      continue;
    std::wstring wideMask = Utf8ToWide(one);
    std::wstring pattern = Utf8ToWide(directory_ + "\\") + wideMask;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
      continue;
    do {
      // Ordinary files only: no folders, hidden or system files.
      if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        continue;
      if (!MatchesMask(data.cFileName, wideMask))
        continue;
      std::string name = WideToUtf8(data.cFileName);
      // Masks can overlap (*.jpg;*.jp*): each file is listed once.
      int at = 0;
      if (seen.Find(name, at))
        continue;
      seen.Add(name);
      items_.Add(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  items_.EndUpdate();
  FillWindow();
}

void TFileListBox::FillWindow()
{
  if (!HandleAllocated())
    return;
  SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_.Count(); ++i)
    SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(items_[i]).c_str()));
  SendMessageW(handle_, LB_SETCURSEL, WPARAM(itemIndex_), 0);
}

int TFileListBox::ItemIndex() const
{
  if (HandleAllocated())
    return int(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
  return itemIndex_;
}

void TFileListBox::SetItemIndex(int value)
{
  itemIndex_ = value >= 0 && value < items_.Count() ? value : -1;
  if (HandleAllocated())
    SendMessageW(handle_, LB_SETCURSEL, WPARAM(itemIndex_), 0);
}

std::string TFileListBox::FileName() const
{
  int index = ItemIndex();
  if (index < 0 || index >= items_.Count())
    return {};
  return directory_ + "\\" + items_[index];
}

void TFileListBox::Update()
{
  ReadFileNames();
  TWinControl::Update();
}

} // namespace framework
