// The compressed section as it is produced: bytes go in in pieces of any
// size, compressed bytes come out to a sink in order as soon as they are
// ready. With more than one thread, whole intervals are compressed on worker
// threads, a few at a time, so memory stays bounded whatever the length;
// the bytes are the same whatever the thread count.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chm/lzx.h"
#include "chm/orderedpool.h"

namespace thc::chm {

class LzxSink {
 public:
  virtual ~LzxSink() = default;
  // False when the bytes could not be taken: the stream stops there.
  virtual bool write(std::string_view bytes) = 0;
};

class LzxStream {
 public:
  LzxStream(LzxSink& sink, unsigned threads);
  ~LzxStream();
  LzxStream(const LzxStream&) = delete;
  LzxStream& operator=(const LzxStream&) = delete;

  // False once the sink failed (or after finish).
  bool append(std::string_view bytes);
  // Uncompressed bytes appended so far.
  std::uint64_t length() const { return length_; }

  struct Result {
    std::uint64_t uncompressedLength;
    std::uint64_t compressedLength;
    std::vector<std::uint64_t> frameStarts;  // one per 32 KB frame, the first 0
  };
  // Ends the stream. When the length U so far has U mod 32768 of 0 or 32767,
  // first appends 1 or 2 zero bytes (they count in U, and U == 0 gets one
  // too: readers misjudge a stream that ends on a frame's end); then pads
  // the last frame with zeros (not counted) and writes out the rest. None
  // when the sink failed.
  std::optional<Result> finish();

 private:
  void compressPending();
  void deliver(const LzxInterval& interval);
  void deliverReady(bool wait);

  LzxSink& sink_;
  using IntervalPool = OrderedPool<std::vector<unsigned char>, LzxInterval>;
  std::unique_ptr<IntervalPool> pool_;  // let go once the stream is finished
  std::size_t maxInFlight_;
  std::vector<unsigned char> pending_;  // the interval being filled
  std::uint64_t length_ = 0;
  std::uint64_t compressedLength_ = 0;
  std::vector<std::uint64_t> frameStarts_;
  bool failed_ = false;
  bool finished_ = false;
};

}  // namespace thc::chm
