#include "chm/lzx.h"

#include <cassert>
#include <optional>

#include "chm/bitwriter.h"
#include "chm/lzxblock.h"
#include "chm/lzxformat.h"
#include "chm/lzxmatch.h"

namespace thc::chm {

namespace {

using lzx::BitWriter;
using lzx::BlockEncoder;
using lzx::CodedSymbol;
using lzx::kFrameSize;
using lzx::RecentOffsets;
using lzx::Token;
using lzx::TreeLengths;

// A frame stored as it is: the block header, padding to a word (a whole
// word when already there), the repeated offsets, then the bytes.
constexpr std::uint32_t kStoredFrameBytes = 4 + 12 + kFrameSize;

struct Frame {
  std::span<const unsigned char> data;
  std::span<const Token> tokens;
};

// Writes the interval frame by frame, keeping what a reader keeps between
// blocks: the repeated offsets and the previous tree lengths.
class IntervalWriter {
 public:
  void writeOneBlock(const BlockEncoder& block, std::span<const CodedSymbol> first,
                     std::span<const CodedSymbol> second);
  void writeBlockPerFrame(std::span<const Frame> frames);
  LzxInterval take() { return std::move(result_); }

 private:
  BitWriter startFrame();
  void endFrame(BitWriter& out);
  bool fitsStored() const;
  void writeStored(const Frame& frame);

  LzxInterval result_;
  RecentOffsets offsets_;
  TreeLengths previous_;
};

BitWriter IntervalWriter::startFrame() {
  BitWriter out(result_.bytes);
  if (result_.frameEnds.empty()) out.put(0, 1);  // no x86 call translation
  return out;
}

void IntervalWriter::endFrame(BitWriter& out) {
  out.alignToWord();
  result_.frameEnds.push_back(static_cast<std::uint32_t>(result_.bytes.size()));
}

// Whether the frame just ended is no larger than it would be stored.
bool IntervalWriter::fitsStored() const {
  const std::size_t n = result_.frameEnds.size();
  const std::uint32_t start = n > 1 ? result_.frameEnds[n - 2] : 0;
  return result_.frameEnds.back() - start <= kStoredFrameBytes;
}

void IntervalWriter::writeStored(const Frame& frame) {
  BitWriter out = startFrame();
  out.put(lzx::kUncompressed, 3);
  out.put(kFrameSize, 24);
  out.put(0, out.pendingBits() == 0 ? 16 : 16 - out.pendingBits());
  unsigned char offsets[12];
  unsigned char* next = offsets;
  for (std::uint32_t r : {offsets_.r0, offsets_.r1, offsets_.r2}) {
    for (unsigned shift = 0; shift < 32; shift += 8) *next++ = static_cast<unsigned char>(r >> shift);
  }
  out.putBytes(offsets, sizeof offsets);
  out.putBytes(frame.data.data(), frame.data.size());
  endFrame(out);
}

// Both frames in one block: one set of trees, split by the frame alignment.
void IntervalWriter::writeOneBlock(const BlockEncoder& block, std::span<const CodedSymbol> first,
                                   std::span<const CodedSymbol> second) {
  BitWriter out = startFrame();
  block.writeHeader(out, 2 * kFrameSize, previous_);
  block.writeSymbols(out, first);
  endFrame(out);
  block.writeSymbols(out, second);
  endFrame(out);
}

// One block per frame; a frame that does not compress is stored. A stored
// frame leaves the offsets and the previous trees as they were.
void IntervalWriter::writeBlockPerFrame(std::span<const Frame> frames) {
  for (const Frame& frame : frames) {
    const std::size_t start = result_.bytes.size();
    const RecentOffsets offsetsBefore = offsets_;
    const TreeLengths previousBefore = previous_;
    const std::vector<CodedSymbol> coded = lzx::codeTokens(frame.tokens, frame.data, offsets_);
    const BlockEncoder block(coded);
    BitWriter out = startFrame();
    block.writeHeader(out, kFrameSize, previous_);
    block.writeSymbols(out, coded);
    endFrame(out);
    if (fitsStored()) continue;
    result_.bytes.resize(start);
    result_.frameEnds.pop_back();
    offsets_ = offsetsBefore;
    previous_ = previousBefore;
    writeStored(frame);
  }
}

// The tokens of each frame: matches never cross a frame's end.
std::vector<Frame> splitFrames(std::span<const unsigned char> data, std::span<const Token> tokens) {
  std::vector<Frame> frames;
  std::size_t first = 0;
  std::size_t position = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    position += tokens[i].length;
    if (position % kFrameSize != 0) continue;
    frames.push_back({data.subspan(position - kFrameSize, kFrameSize), tokens.subspan(first, i + 1 - first)});
    first = i + 1;
  }
  return frames;
}

// Both frames of an interval in one block, when its trees cost less than
// two sets and neither frame grows beyond its stored size.
std::optional<LzxInterval> oneBlock(const std::vector<Frame>& frames) {
  if (frames.size() != 2) return std::nullopt;
  RecentOffsets offsets;
  const std::vector<CodedSymbol> first = lzx::codeTokens(frames[0].tokens, frames[0].data, offsets);
  const std::vector<CodedSymbol> second = lzx::codeTokens(frames[1].tokens, frames[1].data, offsets);
  std::vector<CodedSymbol> both = first;
  both.insert(both.end(), second.begin(), second.end());
  const BlockEncoder joint(both);
  const BlockEncoder alone(first);
  const TreeLengths reset;
  if (joint.bits(reset) >= alone.bits(reset) + BlockEncoder(second).bits(alone.lengths())) return std::nullopt;
  IntervalWriter writer;
  writer.writeOneBlock(joint, first, second);
  LzxInterval result = writer.take();
  const std::uint32_t firstEnd = result.frameEnds[0];
  if (firstEnd > kStoredFrameBytes || result.frameEnds[1] - firstEnd > kStoredFrameBytes) return std::nullopt;
  return result;
}

}  // namespace

LzxInterval compressInterval(std::span<const unsigned char> data) {
  assert(data.size() == kFrameSize || data.size() == 2 * kFrameSize);
  const std::vector<Token> tokens = lzx::parseInterval(data);
  const std::vector<Frame> frames = splitFrames(data, tokens);
  if (std::optional<LzxInterval> joint = oneBlock(frames)) return std::move(*joint);
  IntervalWriter writer;
  writer.writeBlockPerFrame(frames);
  return writer.take();
}

}  // namespace thc::chm
