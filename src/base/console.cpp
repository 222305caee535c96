#include "base/console.h"

#include "base/utf.h"

namespace thc {

void MemoryConsole::writeLine(std::u16string_view text) {
  pending_.append(text);
  lines.push_back(std::move(pending_));
  pending_.clear();
}

void MemoryConsole::writeText(std::u16string_view text) { pending_.append(text); }

std::optional<InputLine> MemoryConsole::readLine(size_t limit) {
  if (nextInput_ >= input_.size()) return std::nullopt;
  InputLine line;
  line.text = input_[nextInput_++];
  if (line.text.size() > limit) {
    line.text.resize(limit);
    line.cut = true;
  }
  return line;
}

void MemoryConsole::addInput(std::u16string line) { input_.push_back(std::move(line)); }

std::vector<std::string> MemoryConsole::utf8Lines() const {
  std::vector<std::string> result;
  result.reserve(lines.size());
  for (const auto& line : lines) result.push_back(toUtf8(line));
  return result;
}

}  // namespace thc
