// Running another program (the HTML Help compiler) and reading what it says.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace thc::platform {

// An outside HTML Help compiler. `program` with a separator is a path (made
// absolute, as the compiler runs in another folder); without one it is
// looked for in PATH. An empty `program` means the system's compiler:
// chmcmd from PATH on POSIX; on Windows hhc.exe from PATH, else from the
// "HTML Help Workshop" folder under %ProgramFiles(x86)% or %ProgramFiles%.
// "" when there is none.
std::u16string findHelpCompiler(std::u16string_view program);

// Receives a program's output one line at a time, without the line end.
using LineHandler = std::function<void(std::u16string_view line)>;

// The longest line handed on, in bytes; the rest of a longer line is
// dropped, so a program that never ends a line costs no memory.
constexpr size_t kLongestOutputLine = 4096;

// Runs `program` (a path) with `arguments` in the folder `directory`, its
// standard input empty and its standard output and error merged, handing
// every line of that output to `onLine` as it comes (UTF-8, or the
// system's code page on Windows, read as UTF-8). Returns the program's exit
// code, none when it could not be started or ended by a signal.
std::optional<int> runProgram(std::u16string_view program, const std::vector<std::u16string>& arguments,
                              std::u16string_view directory, const LineHandler& onLine);

// Splits output bytes into lines for runProgram's handler, keeping at most
// kLongestOutputLine bytes of a line.
class OutputLines {
 public:
  explicit OutputLines(const LineHandler& onLine) : onLine_(onLine) {}
  void add(std::string_view bytes);
  // Hands on a last line that has no line end.
  void finish();

 private:
  void endLine();

  const LineHandler& onLine_;
  std::string line_;
};

}  // namespace thc::platform
