#include "chm/strings.h"

namespace thc::chm {

namespace {
constexpr size_t kBlock = 4096;
}

std::uint32_t StringsTable::add(std::string_view text) {
  if (text.empty()) return 0;
  auto found = offsets_.find(std::string(text));
  if (found != offsets_.end()) return found->second;
  const size_t used = bytes_.size() % kBlock;
  // A text longer than a block starts a block of its own and is read whole
  // by those that read it at all.
  if (used + text.size() + 1 > kBlock && used != 0) bytes_.resize(bytes_.size() + kBlock - used, '\0');
  const std::uint32_t offset = static_cast<std::uint32_t>(bytes_.size());
  bytes_ += text;
  bytes_ += '\0';
  offsets_.emplace(std::string(text), offset);
  return offset;
}

}  // namespace thc::chm
