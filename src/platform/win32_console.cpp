#include <windows.h>

#include "base/utf.h"
#include "platform/console_stdio.h"
#include "platform/win32_text.h"

namespace thc::platform {

namespace {

// How one standard stream is reached: a real console takes UTF-16 text
// (WriteConsoleW/ReadConsoleW); a pipe or file takes UTF-8 bytes, so scripts
// and tests read the output as they would on any other system.
enum class StreamKind { none, console, bytes };

struct Stream {
  HANDLE handle = INVALID_HANDLE_VALUE;
  StreamKind kind = StreamKind::none;
};

Stream classify(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return {};
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) return {handle, StreamKind::console};
  DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR) {
    return {handle, StreamKind::bytes};
  }
  return {};
}

HANDLE openConsoleDevice(const wchar_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

// The console of the process, settled once at the first use. A program
// started from a console, or with its streams redirected, keeps what it was
// given. One that has nowhere to write (opened from a window program that
// gave it no console) joins the console of its parent, or else opens one of
// its own, which it releases at the end.
class ProcessConsole {
 public:
  ProcessConsole() {
    output_ = classify(GetStdHandle(STD_OUTPUT_HANDLE));
    input_ = classify(GetStdHandle(STD_INPUT_HANDLE));
    if (output_.kind == StreamKind::none) {
      if (!AttachConsole(ATTACH_PARENT_PROCESS)) allocated_ = AllocConsole() != 0;
      output_ = classify(openConsoleDevice(L"CONOUT$"));
    }
    if (input_.kind == StreamKind::none && GetConsoleWindow() != nullptr) {
      input_ = classify(openConsoleDevice(L"CONIN$"));
    }
  }
  ProcessConsole(const ProcessConsole&) = delete;
  ProcessConsole& operator=(const ProcessConsole&) = delete;
  ~ProcessConsole() {
    if (allocated_) FreeConsole();
  }

  const Stream& output() const { return output_; }
  const Stream& input() const { return input_; }

 private:
  Stream output_;
  Stream input_;
  bool allocated_ = false;
};

const ProcessConsole& processConsole() {
  static const ProcessConsole console;
  return console;
}

void writeConsoleText(HANDLE handle, std::u16string_view text) {
  // Large single writes fail on older consoles; a chunk never ends between
  // the two halves of a surrogate pair.
  constexpr size_t chunk = 8192;
  std::wstring buffer = win32::wide(text);
  size_t pos = 0;
  while (pos < buffer.size()) {
    size_t count = buffer.size() - pos < chunk ? buffer.size() - pos : chunk;
    if (pos + count < buffer.size() && buffer[pos + count - 1] >= 0xD800 &&
        buffer[pos + count - 1] <= 0xDBFF) {
      --count;
    }
    DWORD written = 0;
    if (!WriteConsoleW(handle, buffer.data() + pos, static_cast<DWORD>(count), &written, nullptr) ||
        written == 0) {
      return;
    }
    pos += written;
  }
}

void writeBytes(HANDLE handle, const std::string& bytes) {
  const char* data = bytes.data();
  size_t size = bytes.size();
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, data, static_cast<DWORD>(size), &written, nullptr) || written == 0) return;
    data += written;
    size -= written;
  }
}

void writeTo(const Stream& out, std::u16string_view text, bool lineEnd) {
  switch (out.kind) {
    case StreamKind::none:
      return;
    case StreamKind::console: {
      std::u16string line(text);
      if (lineEnd) line += u"\r\n";
      writeConsoleText(out.handle, line);
      return;
    }
    case StreamKind::bytes: {
      // Written straight to the handle: nothing is buffered, so every line
      // is there at once.
      std::string bytes = toUtf8(text);
      if (lineEnd) bytes += "\r\n";
      writeBytes(out.handle, bytes);
      return;
    }
  }
}

void write(std::u16string_view text, bool lineEnd) { writeTo(processConsole().output(), text, lineEnd); }

// Drops a trailing "\r" and cuts a line longer than `limit`.
template <typename Text>
bool endLine(Text& text, size_t limit) {
  if (!text.empty() && text.back() == '\r') text.pop_back();
  if (text.size() <= limit) return false;
  text.resize(limit);
  return true;
}

// One character at a time, so nothing read past the line end has to be kept
// for the next call; the console still edits the line as a whole. The read
// stops two units past the limit: a line of `limit` units and "\r\n" is
// still read whole, a longer one is cut with its rest unread.
std::optional<InputLine> readConsoleLine(HANDLE handle, size_t limit) {
  std::u16string text;
  bool any = false;
  while (text.size() <= limit + 1) {
    wchar_t c = 0;
    DWORD got = 0;
    if (!ReadConsoleW(handle, &c, 1, &got, nullptr) || got == 0) break;
    any = true;
    if (c == L'\n') break;
    text.push_back(static_cast<char16_t>(c));
  }
  if (!any) return std::nullopt;
  // Ctrl+Z alone on a line is the console's end of input.
  if (text == u"\x1A" || text == u"\x1A\r") return std::nullopt;
  const bool cut = endLine(text, limit);
  return InputLine{std::move(text), cut, true};
}

std::optional<InputLine> readByteLine(HANDLE handle, size_t limit) {
  std::string bytes;
  bool any = false;
  while (bytes.size() <= limit + 1) {
    char c = 0;
    DWORD got = 0;
    // A closed pipe reports an error, the end of a file reads nothing.
    if (!ReadFile(handle, &c, 1, &got, nullptr) || got == 0) break;
    any = true;
    if (c == '\n') break;
    bytes.push_back(c);
  }
  if (!any) return std::nullopt;
  const bool cut = endLine(bytes, limit);
  ExternalText text = decodeExternal(bytes);
  return InputLine{std::move(text.text), cut, text.utf8};
}

}  // namespace

void StdConsole::writeLine(std::u16string_view text) { write(text, true); }

// Standard error as it was given; a program without one (opened from a
// window) shows the line on its console instead.
void writeErrorLine(std::u16string_view text) {
  const Stream errors = classify(GetStdHandle(STD_ERROR_HANDLE));
  writeTo(errors.kind == StreamKind::none ? processConsole().output() : errors, text, true);
}

void StdConsole::writeText(std::u16string_view text) { write(text, false); }

std::optional<InputLine> StdConsole::readLine(size_t limit) {
  const Stream& in = processConsole().input();
  switch (in.kind) {
    case StreamKind::none:
      return std::nullopt;
    case StreamKind::console:
      return readConsoleLine(in.handle, limit);
    case StreamKind::bytes:
      return readByteLine(in.handle, limit);
  }
  return std::nullopt;
}

}  // namespace thc::platform
