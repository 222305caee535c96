// PLACEHOLDER until the compressor lands: frames stored as uncompressed
// LZX blocks.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace thc::chm {

class LzxSink {
 public:
  virtual ~LzxSink() = default;
  virtual bool write(std::string_view bytes) = 0;
};

class LzxStream {
 public:
  LzxStream(LzxSink& sink, unsigned threads);
  bool append(std::string_view bytes);
  std::uint64_t length() const { return length_; }
  struct Result {
    std::uint64_t uncompressedLength;
    std::uint64_t compressedLength;
    std::vector<std::uint64_t> frameStarts;
  };
  std::optional<Result> finish();

 private:
  bool flushFrame();
  LzxSink& sink_;
  std::string frame_;
  std::uint64_t length_ = 0;
  std::uint64_t written_ = 0;
  std::vector<std::uint64_t> frameStarts_;
  bool failed_ = false;
};

}  // namespace thc::chm
