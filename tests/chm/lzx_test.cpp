// The compressed section judged by libmspack's decoder: every stream must
// decode to the bytes that went in, from its start and from every reset
// point, with frames where the reset table says and none too large.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "chm/lzxstream.h"
#include "chm/mspack_lzx.h"

namespace thc::chm {
namespace {

using testing::mspackDecodeLzx;

constexpr std::uint64_t kFrame = 32768;
constexpr std::uint64_t kInterval = 2 * kFrame;
constexpr std::uint64_t kFrameBound = 38912;  // a reader's buffer for one frame

class StringSink : public LzxSink {
 public:
  bool write(std::string_view bytes) override {
    if (bytes.size() > room) return false;
    room -= bytes.size();
    written.append(bytes);
    return true;
  }
  std::string written;
  std::size_t room = SIZE_MAX;
};

std::string randomBytes(std::size_t n, std::uint32_t seed) {
  std::string s(n, '\0');
  for (char& c : s) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    c = static_cast<char>(seed >> 24);
  }
  return s;
}

// Pages of a help file: the same markup around changing names and numbers.
std::string generatedHtml(std::size_t pages) {
  std::string html;
  const char* words[] = {"render", "buffer", "window", "string", "number", "return", "object", "handle"};
  for (std::size_t p = 0; p < pages; ++p) {
    html += "<html><head><title>Page " + std::to_string(p) + "</title>"
            "<link rel=\"stylesheet\" href=\"style.css\"></head><body><h1>" + words[p % 8] + "</h1><table>\n";
    for (std::size_t row = 0; row < 20; ++row) {
      const std::size_t k = p * 31 + row * 7;
      html += "<tr><td><a href=\"item_" + std::to_string(k) + ".html\">" + words[k % 8] + "_" + words[(k / 8) % 8] +
              "</a></td><td>Returns the " + words[(k / 3) % 8] + " of " + std::to_string(k * k) + ".</td></tr>\n";
    }
    html += "</table></body></html>\n";
  }
  return html;
}

// Fixed-width records: the same few distances come back again and again.
std::string records(std::size_t count) {
  std::string s;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(100000 + i * 37 % 9973);
    s += "id=" + n + ";name=rec" + n.substr(3) + ";flag=" + (i % 3 ? "yes" : "no_") + "|";
  }
  return s;
}

struct Streamed {
  StringSink sink;
  std::optional<LzxStream::Result> result;
};

// Feeds the input in pieces of changing sizes, as a container writing file
// after file would.
Streamed stream(const std::string& input, unsigned threads) {
  Streamed s;
  LzxStream lzx(s.sink, threads);
  std::size_t at = 0;
  for (std::size_t piece = 1; at < input.size(); piece = piece * 7 % 40009 + 1) {
    const std::size_t n = std::min(piece, input.size() - at);
    EXPECT_TRUE(lzx.append(std::string_view(input).substr(at, n)));
    at += n;
  }
  EXPECT_EQ(lzx.length(), input.size());
  s.result = lzx.finish();
  return s;
}

void checkFrames(const LzxStream::Result& result, std::uint64_t inputSize) {
  const std::uint64_t u = result.uncompressedLength;
  EXPECT_GE(u, inputSize);
  EXPECT_LE(u, inputSize + 2);
  EXPECT_NE(u % kFrame, 0u);
  EXPECT_NE(u % kFrame, kFrame - 1);
  ASSERT_EQ(result.frameStarts.size(), (u + kFrame - 1) / kFrame);
  EXPECT_EQ(result.frameStarts[0], 0u);
  for (std::size_t i = 0; i < result.frameStarts.size(); ++i) {
    const std::uint64_t end = i + 1 < result.frameStarts.size() ? result.frameStarts[i + 1] : result.compressedLength;
    EXPECT_EQ(result.frameStarts[i] % 2, 0u) << "frame " << i << " starts off a 16-bit boundary";
    EXPECT_LT(result.frameStarts[i], end) << "frame " << i;
    EXPECT_LE(end - result.frameStarts[i], kFrameBound) << "frame " << i;
  }
}

// The whole stream in one pass, then from every reset point with a fresh
// decoder, as a reader seeking a file does.
void checkDecodes(const std::string& compressed, const LzxStream::Result& result, const std::string& input) {
  std::string expected = input;
  expected.resize(result.uncompressedLength, '\0');
  EXPECT_EQ(mspackDecodeLzx(compressed, expected.size()), expected);
  for (std::size_t frame = 2; frame < result.frameStarts.size(); frame += 2) {
    const std::uint64_t from = frame * kFrame;
    SCOPED_TRACE("from the reset at frame " + std::to_string(frame));
    EXPECT_EQ(mspackDecodeLzx(std::string_view(compressed).substr(result.frameStarts[frame]), expected.size() - from),
              expected.substr(from));
  }
}

TEST(LzxStream, DecodesWithLibmspackWhateverTheInput) {
  struct Row {
    const char* name;
    std::string input;
    double maxRatio;  // compressed / input at most: the compressor really compresses
  };
  const std::string html = generatedHtml(400);
  const Row rows[] = {
      {"empty", "", 1000},
      {"one byte", "x", 1000},
      {"one frame less a byte", html.substr(0, kFrame - 1), 0.3},
      {"one frame", html.substr(0, kFrame), 0.3},
      {"one interval", html.substr(0, kInterval), 0.2},
      {"one interval and a byte", html.substr(0, kInterval + 1), 0.2},
      {"random bytes, stored", randomBytes(3 * kInterval + 12345, 7), 1.002},
      {"random then text in one interval", randomBytes(kFrame, 9) + html.substr(0, kFrame + 100), 0.75},
      {"a run of one byte", std::string(5 * kFrame + 3, '\0'), 0.01},
      {"runs of changing bytes", [] {
         std::string s;
         for (int i = 0; s.size() < 3 * kInterval; ++i) s += std::string(1 + i * 37 % 700, static_cast<char>('a' + i % 5));
         return s;
       }(), 0.05},
      {"records with repeated offsets", records(12000), 0.25},
      {"generated html", html, 0.15},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Streamed one = stream(row.input, 1);
    const Streamed two = stream(row.input, 2);
    ASSERT_TRUE(one.result && two.result);
    EXPECT_EQ(one.sink.written, two.sink.written) << "the thread count changed the bytes";
    EXPECT_EQ(one.result->frameStarts, two.result->frameStarts);
    EXPECT_EQ(one.result->compressedLength, one.sink.written.size());
    checkFrames(*one.result, row.input.size());
    checkDecodes(one.sink.written, *one.result, row.input);
    if (!row.input.empty()) {
      EXPECT_LE(static_cast<double>(one.sink.written.size()), row.maxRatio * row.input.size());
    }
  }
}

TEST(LzxStream, StopsWhenTheSinkFails) {
  const std::string input = generatedHtml(300);
  for (unsigned threads : {1u, 2u}) {
    StringSink sink;
    sink.room = 5000;
    LzxStream lzx(sink, threads);
    bool accepted = true;
    for (std::size_t at = 0; at < input.size() && accepted; at += 1000) accepted = lzx.append(input.substr(at, 1000));
    EXPECT_FALSE(lzx.finish()) << threads << " threads";
    EXPECT_LE(sink.written.size(), 5000u);
  }
}

}  // namespace
}  // namespace thc::chm
