#include "chm/lzx_roundtrip.h"

#include <algorithm>
#include <cstdint>

#include "chm/mspack_lzx.h"
#include "robust/fuzz_harness.h"

namespace thc::testing {

namespace {

constexpr std::uint64_t kFrame = 32768;
constexpr std::uint64_t kFrameBound = 38912;  // a reader's buffer for one frame

class StringSink : public chm::LzxSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  bool write(std::string_view bytes) override {
    out_.append(bytes);
    return true;
  }

 private:
  std::string& out_;
};

std::string frameFault(const chm::LzxStream::Result& result, std::uint64_t inputSize) {
  const std::uint64_t u = result.uncompressedLength;
  if (u < inputSize || u > inputSize + 2 || u % kFrame == 0 || u % kFrame == kFrame - 1) {
    return "length " + std::to_string(u) + " for " + std::to_string(inputSize) + " bytes";
  }
  if (result.frameStarts.size() != (u + kFrame - 1) / kFrame || result.frameStarts[0] != 0) {
    return std::to_string(result.frameStarts.size()) + " frames for length " + std::to_string(u);
  }
  for (std::size_t i = 0; i < result.frameStarts.size(); ++i) {
    const std::uint64_t start = result.frameStarts[i];
    const std::uint64_t end = i + 1 < result.frameStarts.size() ? result.frameStarts[i + 1] : result.compressedLength;
    if (start % 2 != 0 || end <= start || end - start > kFrameBound) {
      return "frame " + std::to_string(i) + " at " + std::to_string(start) + ".." + std::to_string(end);
    }
  }
  return "";
}

std::string decodeFault(const std::string& compressed, const chm::LzxStream::Result& result,
                        std::string_view input) {
  std::string expected(input);
  expected.resize(result.uncompressedLength, '\0');
  if (mspackDecodeLzx(compressed, expected.size()) != expected) return "the stream does not decode to the input";
  for (std::size_t frame = 2; frame < result.frameStarts.size(); frame += 2) {
    const std::uint64_t from = frame * kFrame;
    const std::string_view rest = std::string_view(compressed).substr(result.frameStarts[frame]);
    if (mspackDecodeLzx(rest, expected.size() - from) != expected.substr(from)) {
      return "decoding from the reset at frame " + std::to_string(frame) + " fails";
    }
  }
  return "";
}

}  // namespace

LzxRoundTrip lzxRoundTrip(std::string_view input, unsigned threads, std::size_t piece) {
  LzxRoundTrip trip;
  StringSink sink(trip.compressed);
  chm::LzxStream lzx(sink, threads);
  for (std::size_t at = 0, n = piece; at < input.size(); at += n, n = n * 7 % (2 * piece + 1) + 1) {
    n = std::min(n, input.size() - at);
    if (!lzx.append(input.substr(at, n))) trip.fault = "append refused";
  }
  if (lzx.length() != input.size()) trip.fault = "length() is not the bytes appended";
  trip.result = lzx.finish();
  if (!trip.result) trip.fault = "finish failed";
  if (!trip.fault.empty()) return trip;
  if (trip.result->compressedLength != trip.compressed.size()) {
    trip.fault = "compressed length is not the bytes written";
  } else if (std::string fault = frameFault(*trip.result, input.size()); !fault.empty()) {
    trip.fault = fault;
  } else {
    trip.fault = decodeFault(trip.compressed, *trip.result, input);
  }
  return trip;
}

}  // namespace thc::testing

namespace thc::robust {

// Fuzz inputs are short; the repetition takes them to the frame and reset
// boundaries, where the rules are.
std::string fuzzLzx(std::string_view bytes) {
  const unsigned mode = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
  std::string input(bytes.empty() ? bytes : bytes.substr(1));
  if ((mode & 2) && !input.empty()) {
    // A length just below or at a frame's end, up to six frames on.
    const unsigned k = mode >> 2;
    const std::size_t target = 32767 + (k >> 1) % 6 * 32768 + (k & 1);
    while (input.size() < target) input += input.substr(0, target - input.size());
  }
  return testing::lzxRoundTrip(input, 1 + (mode & 1), 1 + mode * 37).fault;
}

}  // namespace thc::robust
