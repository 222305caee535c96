#include "platform/process.h"

#include "base/utf.h"

namespace thc::platform {

void OutputLines::add(std::string_view bytes) {
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    const std::string_view part = bytes.substr(0, end);
    if (line_.size() < kLongestOutputLine) {
      line_.append(part.substr(0, kLongestOutputLine - line_.size()));
    }
    if (end == std::string_view::npos) return;
    endLine();
    bytes.remove_prefix(end + 1);
  }
}

void OutputLines::finish() {
  if (!line_.empty()) endLine();
}

void OutputLines::endLine() {
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  onLine_(fromUtf8(line_));
  line_.clear();
}

}  // namespace thc::platform
