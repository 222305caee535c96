// Reading what other programs print and write: their lines, and text
// compared without regard to ASCII case.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace thc::testing {

// The lines of a text without their ends, "\n" or "\r\n".
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace thc::testing
