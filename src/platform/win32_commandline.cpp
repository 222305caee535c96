#include <windows.h>

#include "platform/commandline.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

std::u16string environmentText(const char* name) {
  std::wstring key;
  for (const char* c = name; *c; ++c) key.push_back(static_cast<unsigned char>(*c));
  std::wstring value(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableW(key.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    // The value grew between the calls or did not fit: try with its size.
    if (length >= value.size()) {
      value.resize(length);
      continue;
    }
    value.resize(length);
    return win32::fromWide(value);
  }
}

}  // namespace

// The C runtime's argv follows other quoting rules and the ANSI code page;
// the program splits the raw wide command line itself.
std::vector<ExternalText> processArguments(int, char**) {
  const wchar_t* line = GetCommandLineW();
  if (!line) return {};
  std::vector<ExternalText> arguments;
  for (std::u16string& argument : splitCommandLine(win32::fromWide(line))) {
    arguments.push_back(ExternalText{std::move(argument), true});
  }
  return arguments;
}

// The system's own text is UTF-16 already.
ExternalText environmentValue(const char* name) { return ExternalText{environmentText(name), true}; }

}  // namespace thc::platform
