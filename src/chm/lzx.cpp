#include "chm/lzx.h"

#include <cassert>

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
constexpr std::uint64_t kStoredFrameBytes = 4 + 12 + kFrameSize;
constexpr unsigned kResetHeaderBits = 1;  // the E8 bit at the start of an interval

// The bytes of a frame holding `bits`: frames end on a 16-bit word.
std::uint64_t frameBytes(std::uint64_t bits) { return (bits + 15) / 16 * 2; }

struct Frame {
  std::span<const unsigned char> data;
  std::span<const Token> tokens;
};

// Writes the interval frame by frame, keeping the tree lengths a reader
// keeps between blocks.
class IntervalWriter {
 public:
  void writeJoint(const BlockEncoder& block, std::span<const CodedSymbol> first, std::span<const CodedSymbol> second);
  void writeCompressed(const BlockEncoder& block, std::span<const CodedSymbol> symbols);
  void writeStored(const Frame& frame, const RecentOffsets& offsets);
  const TreeLengths& previous() const { return previous_; }
  bool atReset() const { return result_.frameEnds.empty(); }
  LzxInterval take() { return std::move(result_); }

 private:
  BitWriter startFrame();
  void endFrame(BitWriter& out);

  LzxInterval result_;
  TreeLengths previous_;
};

BitWriter IntervalWriter::startFrame() {
  BitWriter out(result_.bytes);
  if (atReset()) out.put(0, kResetHeaderBits);  // no x86 call translation
  return out;
}

void IntervalWriter::endFrame(BitWriter& out) {
  out.alignToWord();
  result_.frameEnds.push_back(static_cast<std::uint32_t>(result_.bytes.size()));
}

// Both frames in one block: one set of trees, split by the frame alignment.
void IntervalWriter::writeJoint(const BlockEncoder& block, std::span<const CodedSymbol> first,
                                std::span<const CodedSymbol> second) {
  BitWriter out = startFrame();
  block.writeHeader(out, 2 * kFrameSize, previous_);
  block.writeSymbols(out, first);
  endFrame(out);
  block.writeSymbols(out, second);
  endFrame(out);
}

void IntervalWriter::writeCompressed(const BlockEncoder& block, std::span<const CodedSymbol> symbols) {
  BitWriter out = startFrame();
  block.writeHeader(out, kFrameSize, previous_);
  block.writeSymbols(out, symbols);
  endFrame(out);
}

// A reader takes the repeated offsets from a stored block, so it gets the
// ones in force; the tree lengths stay as they were.
void IntervalWriter::writeStored(const Frame& frame, const RecentOffsets& offsets) {
  BitWriter out = startFrame();
  out.put(lzx::kUncompressed, 3);
  out.put(kFrameSize, 24);
  out.put(0, out.pendingBits() == 0 ? 16 : 16 - out.pendingBits());
  unsigned char stored[12];
  unsigned char* next = stored;
  for (std::uint32_t r : {offsets.r0, offsets.r1, offsets.r2}) {
    for (unsigned shift = 0; shift < 32; shift += 8) *next++ = static_cast<unsigned char>(r >> shift);
  }
  out.putBytes(stored, sizeof stored);
  out.putBytes(frame.data.data(), frame.data.size());
  endFrame(out);
}

// One block for the frame, or the frame stored when that is no larger.
void writeFrame(IntervalWriter& writer, const Frame& frame, RecentOffsets& offsets) {
  RecentOffsets after = offsets;
  const std::vector<CodedSymbol> symbols = lzx::codeTokens(frame.tokens, frame.data, after);
  const BlockEncoder block(symbols);
  const unsigned resetBits = writer.atReset() ? kResetHeaderBits : 0;
  if (frameBytes(resetBits + block.bits(writer.previous())) > kStoredFrameBytes) {
    writer.writeStored(frame, offsets);
    return;
  }
  writer.writeCompressed(block, symbols);
  offsets = after;
}

// Both frames of an interval in one block, unless a frame would grow beyond
// its stored size. One set of trees for both nearly always codes smaller
// than two (pages, style sheets and indexes alike), and weighing the two
// ways cost a fifth of the compressor's time.
bool writeJointWhenItPays(IntervalWriter& writer, const Frame& firstFrame, const Frame& secondFrame) {
  RecentOffsets offsets;
  const std::vector<CodedSymbol> first = lzx::codeTokens(firstFrame.tokens, firstFrame.data, offsets);
  const std::vector<CodedSymbol> second = lzx::codeTokens(secondFrame.tokens, secondFrame.data, offsets);
  std::vector<CodedSymbol> both = first;
  both.insert(both.end(), second.begin(), second.end());
  const BlockEncoder joint(both);
  const TreeLengths reset;
  const std::uint64_t firstBits = kResetHeaderBits + joint.headerBits(reset) + joint.symbolBits(first);
  const std::uint64_t secondBits = joint.symbolBits(second);
  if (frameBytes(firstBits) > kStoredFrameBytes || frameBytes(secondBits) > kStoredFrameBytes) return false;
  writer.writeJoint(joint, first, second);
  return true;
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

}  // namespace

LzxInterval compressInterval(std::span<const unsigned char> data) {
  assert(data.size() == kFrameSize || data.size() == 2 * kFrameSize);
  const std::vector<Token> tokens = lzx::parseInterval(data);
  const std::vector<Frame> frames = splitFrames(data, tokens);
  IntervalWriter writer;
  if (frames.size() == 2 && writeJointWhenItPays(writer, frames[0], frames[1])) return writer.take();
  RecentOffsets offsets;
  for (const Frame& frame : frames) writeFrame(writer, frame, offsets);
  return writer.take();
}

}  // namespace thc::chm
