#include <windows.h>

#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

std::wstring environmentText(const wchar_t* name) {
  std::wstring value(256, L'\0');
  for (;;) {
    DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length >= value.size()) {
      value.resize(length);
      continue;
    }
    value.resize(length);
    return value;
  }
}

bool isFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring inFolder(std::wstring folder, const wchar_t* name) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder + name;
}

// The first folder of PATH that holds `name`; "" when none. Only PATH, not
// the further places SearchPathW looks in (the current folder first).
std::wstring searchPath(const wchar_t* name) {
  const std::wstring path = environmentText(L"PATH");
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L';', start);
    if (end == std::wstring::npos) end = path.size();
    std::wstring folder = path.substr(start, end - start);
    // A folder may be written in quotes, as it must be when it holds a ";".
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"') {
      folder = folder.substr(1, folder.size() - 2);
    }
    if (!folder.empty() && isFile(inFolder(folder, name))) return inFolder(folder, name);
    start = end + 1;
  }
  return {};
}

// One argument as CommandLineToArgvW and the C runtime read it back.
void appendQuoted(std::wstring& line, const std::wstring& argument) {
  line += L'"';
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

// Closed on every path out.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { close(); }
  HANDLE get() const { return handle_; }
  HANDLE* out() { return &handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void close() {
    if (valid()) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

void readAll(HANDLE pipe, OutputLines& lines) {
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    // The end of the program's output shows as a broken pipe.
    if (!ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
    lines.add(std::string_view(buffer, got));
  }
  lines.finish();
}

}  // namespace

std::u16string findHelpCompiler(std::u16string_view program) {
  if (!program.empty()) {
    const std::wstring wanted = win32::wide(program);
    if (wanted.find_first_of(L"\\/:") == std::wstring::npos) return win32::fromWide(searchPath(wanted.c_str()));
    wchar_t full[MAX_PATH * 4];
    const DWORD size = GetFullPathNameW(wanted.c_str(), MAX_PATH * 4, full, nullptr);
    if (size == 0 || size >= MAX_PATH * 4 || !isFile(full)) return {};
    return win32::fromWide(full);
  }
  const wchar_t* name = L"hhc.exe";
  std::wstring found = searchPath(name);
  for (const wchar_t* variable : {L"ProgramFiles(x86)", L"ProgramFiles"}) {
    if (!found.empty()) break;
    const std::wstring programs = environmentText(variable);
    if (programs.empty()) continue;
    const std::wstring candidate = inFolder(inFolder(programs, L"HTML Help Workshop"), name);
    if (isFile(candidate)) found = candidate;
  }
  return win32::fromWide(found);
}

std::optional<int> runProgram(std::u16string_view program, const std::vector<std::u16string>& arguments,
                              std::u16string_view directory, const LineHandler& onLine) {
  const std::wstring path = win32::wide(program);
  std::wstring line;
  appendQuoted(line, path);
  for (const std::u16string& argument : arguments) {
    line += L' ';
    appendQuoted(line, win32::wide(argument));
  }
  const std::wstring folder = win32::wide(directory);

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  OwnedHandle readEnd, writeEnd;
  if (!CreatePipe(readEnd.out(), writeEnd.out(), &inherit, 0)) return std::nullopt;
  // Only the child's ends are inherited.
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);
  OwnedHandle input(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, 0, nullptr));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &process)) {
    return std::nullopt;
  }
  OwnedHandle processHandle(process.hProcess);
  OwnedHandle threadHandle(process.hThread);
  // The child holds its own copy; with ours closed the pipe breaks when the
  // child ends, which ends the reading.
  writeEnd.close();
  input.close();
  OutputLines lines(onLine);
  readAll(readEnd.get(), lines);
  WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(processHandle.get(), &code)) return std::nullopt;
  return static_cast<int>(code);
}

}  // namespace thc::platform
