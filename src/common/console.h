// The console as the program sees it: a sink of whole lines, plus the few
// reads the driver and the terminal prompts need. Every stage prints through
// this interface, so tests can capture every line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace thc {

class Console {
 public:
  virtual ~Console() = default;
  // One whole line; the implementation adds the line end and flushes.
  virtual void writeLine(std::u16string_view text) = 0;
  // Text without a line end (a prompt); flushed at once.
  virtual void writeText(std::u16string_view text) = 0;
  // One line of input without its line end (a trailing "\r" is dropped).
  // False at end of input.
  virtual bool readLine(std::u16string& line) = 0;
};

// A console in memory: collects the lines and answers reads from a queue.
class MemoryConsole : public Console {
 public:
  void writeLine(std::u16string_view text) override;
  void writeText(std::u16string_view text) override;
  bool readLine(std::u16string& line) override;

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
