#include "chm/lzxstream.h"

#include "chm/bytes.h"

namespace thc::chm {

namespace {
constexpr size_t kFrame = 32768;
}

LzxStream::LzxStream(LzxSink& sink, unsigned) : sink_(sink) {}

bool LzxStream::append(std::string_view bytes) {
  while (!bytes.empty() && !failed_) {
    const size_t take = std::min(bytes.size(), kFrame - frame_.size());
    frame_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    length_ += take;
    if (frame_.size() == kFrame && !flushFrame()) failed_ = true;
  }
  return !failed_;
}

bool LzxStream::flushFrame() {
  std::string out;
  const bool afterReset = frameStarts_.size() % 2 == 0;
  // Header bits: [E8 = 0] type 3, size 32768; then zero bits to 32 bits.
  std::uint32_t bits = afterReset ? 0 : 0;
  unsigned count = 0;
  if (afterReset) count += 1;
  bits = (bits << 3) | 3;
  count += 3;
  bits = (bits << 24) | kFrame;
  count += 24;
  bits <<= (32 - count);
  putU16(out, bits >> 16);
  putU16(out, bits & 0xFFFF);
  putU32(out, 1);
  putU32(out, 1);
  putU32(out, 1);
  out += frame_;
  frameStarts_.push_back(written_);
  written_ += out.size();
  frame_.clear();
  return sink_.write(out);
}

std::optional<LzxStream::Result> LzxStream::finish() {
  const std::uint64_t rest = length_ % kFrame;
  if (rest == 0 || rest == kFrame - 1) append(std::string_view("\0\0", rest == 0 ? 1 : 2));
  const std::uint64_t u = length_;
  if (!frame_.empty()) {
    frame_.resize(kFrame, '\0');
    if (!flushFrame()) failed_ = true;
  }
  if (failed_) return std::nullopt;
  return Result{u, written_, frameStarts_};
}

}  // namespace thc::chm
