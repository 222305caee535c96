#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "platform/requesters.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

// The shell's dialogs want a single-threaded COM apartment on the calling
// thread; this holds one for as long as a dialog is open.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

// "Name|pattern|Name|pattern" as the dialog wants it: each part ended by a
// NUL, the whole list by a second one.
std::wstring filterList(std::wstring_view patterns) {
  std::wstring result(patterns);
  for (wchar_t& c : result) {
    if (c == L'|') c = L'\0';
  }
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

std::optional<std::u16string> openFileDialog() {
  ComApartment com;
  const std::wstring filter = filterList(L"XML (*.xml)|*.xml|All files (*.*)|*.*");
  // Room for the longest path the system knows; the default file is empty.
  std::wstring file(32768, L'\0');
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrTitle = L"Select document project file";
  // The current directory stays where the user started the program, so a
  // relative path given later still means the same folder.
  request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                  OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&request)) return std::nullopt;
  file.resize(file.find(L'\0'));
  if (file.empty()) return std::nullopt;
  return win32::fromWide(file);
}

// The folder the browser opens in: absolute, with backslashes, and without
// a final separator except at a drive's root ("C:\"), which is how the
// browser names its folders.
std::wstring startFolder(std::u16string_view start) {
  std::wstring path = win32::wide(start);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return {};
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size > 0) {
    std::wstring full(size, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length > 0 && length < size) {
      full.resize(length);
      path = std::move(full);
    }
  }
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

int CALLBACK selectStartFolder(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  }
  return 0;
}

using BrowseForFolder = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
using PathFromIdList = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);

// Casts the address of a shell function to its type; GetProcAddress returns
// a generic function pointer.
template <typename Function>
Function shellFunction(HMODULE shell, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(shell, name)));
}

class ShellLibrary {
 public:
  ShellLibrary() : module_(LoadLibraryW(L"shell32.dll")) {}
  ShellLibrary(const ShellLibrary&) = delete;
  ShellLibrary& operator=(const ShellLibrary&) = delete;
  ~ShellLibrary() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

std::optional<std::u16string> folderDialog(std::u16string_view start) {
  // The shell library is loaded only when the folder is asked for.
  ShellLibrary shell;
  if (!shell.get()) return std::nullopt;
  auto browse = shellFunction<BrowseForFolder>(shell.get(), "SHBrowseForFolderW");
  auto pathFromIdList = shellFunction<PathFromIdList>(shell.get(), "SHGetPathFromIDListW");
  if (!browse || !pathFromIdList) return std::nullopt;

  ComApartment com;
  std::wstring folder = startFolder(start);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW request{};
  request.pszDisplayName = displayName;
  request.lpszTitle = L"Path to store generated files";
  request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  request.lpfn = selectStartFolder;
  request.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
  PIDLIST_ABSOLUTE chosen = browse(&request);
  if (!chosen) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  BOOL found = pathFromIdList(chosen, path);
  CoTaskMemFree(chosen);
  // A folder outside the file system (the Control Panel ...) has no path,
  // which counts as cancelled.
  if (!found || path[0] == L'\0') return std::nullopt;
  return win32::fromWide(path);
}

// The dialogs answer in the system's own UTF-16 text.
std::optional<ExternalText> chosen(std::optional<std::u16string> path) {
  if (!path) return std::nullopt;
  return ExternalText{std::move(*path), true};
}

// The standard dialogs of the system and its message box.
class DialogRequesters : public Requesters {
 public:
  std::optional<ExternalText> chooseProjectFile() override { return chosen(openFileDialog()); }
  std::optional<ExternalText> chooseOutputFolder(std::u16string_view start) override {
    return chosen(folderDialog(start));
  }
  void showMessage(std::u16string_view title, std::u16string_view text) override {
    MessageBoxW(nullptr, win32::wide(text).c_str(), win32::wide(title).c_str(), MB_OK);
  }
};

}  // namespace

std::unique_ptr<Requesters> createRequesters(Console&) {
  return std::make_unique<DialogRequesters>();
}

}  // namespace thc::platform
