// Every input a fuzz target once stopped on, and every seed of the fuzz
// corpus, replayed through the same harness function as the target.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "robust/fuzz_harness.h"
#include "support/run_program.h"

namespace thc {
namespace {

using testing::listDirectory;
using testing::readFile;
using testing::sourceDirectory;

struct Target {
  const char* name;
  std::string (*harness)(std::string_view);
};

const Target kTargets[] = {
    {"text", &robust::fuzzTextHelpers},
    {"markup", &robust::fuzzMarkup},
    {"catalog", &robust::fuzzCatalog},
    {"pipeline", &robust::fuzzPipeline},
    {"page", &robust::fuzzPage},
    {"lzx", &robust::fuzzLzx},
};

// One seed per line with \n, \r, \t and \\ escapes, as fuzz/run.sh reads
// them; any other backslash stays as written.
std::vector<std::string> seedLines(const std::string& list) {
  std::vector<std::string> seeds;
  std::string seed;
  const std::string text = readFile(list);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      seeds.push_back(seed);
      seed.clear();
      continue;
    }
    const char e = (c == '\\' && i + 1 < text.size()) ? text[i + 1] : '\0';
    const char escaped = e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '\\' ? '\\' : '\0';
    if (escaped) {
      seed += escaped;
      ++i;
    } else {
      seed += c;
    }
  }
  if (!seed.empty()) seeds.push_back(seed);
  return seeds;
}

TEST(FuzzRegressions, KeptInputsPassTheirHarness) {
  for (const Target& target : kTargets) {
    const std::string dir = sourceDirectory() + "/tests/robust/regressions/" + target.name;
    for (const std::string& file : listDirectory(dir)) {
      SCOPED_TRACE(std::string(target.name) + "/" + file);
      EXPECT_EQ(target.harness(readFile(dir + "/" + file)), "");
    }
  }
}

TEST(FuzzRegressions, SeedsPassTheirHarness) {
  for (const Target& target : kTargets) {
    std::vector<std::string> inputs;
    const std::string seeds = sourceDirectory() + "/fuzz/seeds/";
    if (testing::fileExists(seeds + target.name + ".txt")) inputs = seedLines(seeds + target.name + ".txt");
    for (const std::string& file : listDirectory(seeds + target.name)) {
      inputs.push_back(readFile(seeds + target.name + "/" + file));
    }
    ASSERT_FALSE(inputs.empty()) << target.name;
    for (const std::string& input : inputs) {
      SCOPED_TRACE(std::string(target.name) + ": " + input.substr(0, 60));
      EXPECT_EQ(target.harness(input), "");
    }
  }
}

TEST(FuzzRegressions, ExamplesPassThePipelineHarness) {
  for (const char* example : {"/examples/demo/demo.xml", "/examples/demo/files.xml",
                              "/examples/catalog-demo/katalog.xml", "/examples/faulty/faulty.xml"}) {
    SCOPED_TRACE(example);
    const std::string bytes = readFile(sourceDirectory() + example);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(robust::fuzzPipeline(bytes), "");
  }
}

}  // namespace
}  // namespace thc
