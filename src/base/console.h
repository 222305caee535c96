// The console as the program sees it: a sink of whole lines, plus the few
// reads the driver and the terminal prompts need. Every stage prints through
// this interface, so tests can capture every line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace thc {

// The longest line of input a read takes, in bytes (UTF-16 units where the
// input is UTF-16 text). No answer is that long, and a line that passes it
// ends the read there, so an endless line without a line break costs neither
// memory nor time.
constexpr size_t kLongestInputLine = 64 * 1024;

// One line of input, without its line end (a trailing "\r" is dropped too).
struct InputLine {
  std::u16string text;
  // The line was longer than `limit`: its first `limit` units are kept, the
  // rest is left unread.
  bool cut = false;
  // False when the line's bytes were not valid UTF-8; `text` then shows each
  // invalid byte as U+FFFD.
  bool utf8 = true;
};

class Console {
 public:
  virtual ~Console() = default;
  // One whole line; the implementation adds the line end and flushes.
  virtual void writeLine(std::u16string_view text) = 0;
  // Text without a line end (a prompt); flushed at once.
  virtual void writeText(std::u16string_view text) = 0;
  // One line of input, of at most `limit` bytes (UTF-16 units where the
  // input is UTF-16 text): a longer line ends the read once it passes the
  // limit, cut. None at end of input.
  virtual std::optional<InputLine> readLine(size_t limit) = 0;
};

// A console in memory: collects the lines and answers reads from a queue.
class MemoryConsole : public Console {
 public:
  void writeLine(std::u16string_view text) override;
  void writeText(std::u16string_view text) override;
  std::optional<InputLine> readLine(size_t limit) override;

  // Queues one answer for readLine.
  void addInput(std::u16string line);
  // All lines written so far, as UTF-8, a prompt text counting as the start
  // of the following line.
  std::vector<std::string> utf8Lines() const;

  std::vector<std::u16string> lines;

 private:
  std::u16string pending_;
  std::vector<std::u16string> input_;
  size_t nextInput_ = 0;
};

}  // namespace thc
