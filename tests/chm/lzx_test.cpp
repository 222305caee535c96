// The compressed section judged by libmspack's decoder: every stream must
// decode to the bytes that went in, from its start and from every reset
// point, with frames where the reset table says and none too large; and
// the same bytes whatever the thread count.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "chm/lzx_roundtrip.h"
#include "chm/lzxstream.h"

namespace thc::chm {
namespace {

constexpr std::size_t kFrame = 32768;
constexpr std::size_t kInterval = 2 * kFrame;

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

std::string changingRuns(std::size_t size) {
  std::string s;
  for (int i = 0; s.size() < size; ++i) s += std::string(1 + i * 37 % 700, static_cast<char>('a' + i % 5));
  return s;
}

TEST(LzxStream, DecodesWithLibmspackWhateverTheInput) {
  struct Row {
    const char* name;
    std::string input;
    double maxRatio;  // compressed / input at most: the compressor really compresses
  };
  const std::string html = generatedHtml(400);
  const Row rows[] = {
      {"empty", "", 0},
      {"one byte", "x", 0},
      {"one frame less a byte", html.substr(0, kFrame - 1), 0.3},
      {"one frame", html.substr(0, kFrame), 0.3},
      {"one interval", html.substr(0, kInterval), 0.2},
      {"one interval and a byte", html.substr(0, kInterval + 1), 0.2},
      {"random bytes, stored", randomBytes(3 * kInterval + 12345, 7), 1.002},
      {"random then text in one interval", randomBytes(kFrame, 9) + html.substr(0, kFrame + 100), 0.75},
      {"a run of one byte", std::string(5 * kFrame + 3, '\0'), 0.01},
      {"runs of changing bytes", changingRuns(3 * kInterval), 0.05},
      {"records with repeated offsets", records(12000), 0.25},
      {"generated html", html, 0.15},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const testing::LzxRoundTrip one = testing::lzxRoundTrip(row.input, 1, 5000);
    const testing::LzxRoundTrip two = testing::lzxRoundTrip(row.input, 2, 17);
    EXPECT_EQ(one.fault, "");
    EXPECT_EQ(two.fault, "");
    EXPECT_TRUE(one.compressed == two.compressed) << "the thread count changed the bytes";
    ASSERT_TRUE(one.result && two.result);
    EXPECT_EQ(one.result->frameStarts, two.result->frameStarts);
    if (row.maxRatio > 0) {
      EXPECT_LE(static_cast<double>(one.compressed.size()), row.maxRatio * row.input.size());
    }
  }
}

class FailingSink : public LzxSink {
 public:
  bool write(std::string_view bytes) override {
    if (bytes.size() > room) return false;
    room -= bytes.size();
    return true;
  }
  std::size_t room = 5000;
};

TEST(LzxStream, StopsWhenTheSinkFails) {
  const std::string input = generatedHtml(300);
  for (unsigned threads : {1u, 2u}) {
    FailingSink sink;
    LzxStream lzx(sink, threads);
    bool accepted = true;
    for (std::size_t at = 0; at < input.size() && accepted; at += 1000) accepted = lzx.append(input.substr(at, 1000));
    EXPECT_FALSE(accepted) << threads << " threads";
    EXPECT_FALSE(lzx.finish()) << threads << " threads";
  }
}

}  // namespace
}  // namespace thc::chm
