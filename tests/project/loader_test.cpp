// The loader hands out exactly what loadDocument gives for every request,
// whether the file was expected, expected later, skipped or never expected.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "helpproject/temp_folder.h"
#include "project/loader.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::TempFolder;
using testing::u16;
using testing::u8;

// What a test can see of a loaded file: none, a parse error, or the name of
// the root element and the title attribute.
std::string summary(const DocTree* tree) {
  if (!tree) return "none";
  if (tree->status != 0) return "defective";
  const DocNode* root = rootElement(*tree);
  return root ? u8(root->name) + ":" + u8(attribute(root, u"title")) : "empty";
}

TEST(DocumentLoader, GivesWhatLoadDocumentGives) {
  TempFolder folder;
  // a..e are documents, bad is defective, gone does not exist.
  for (const char* name : {"a", "b", "c", "d", "e"}) {
    std::ofstream(folder.path + "/" + name + ".xml") << "<library title='" << name << "'/>";
  }
  std::ofstream(folder.path + "/bad.xml") << "<library>";
  struct Case {
    const char* what;
    std::vector<std::string> expected;
    std::vector<std::string> requests;
  };
  const std::vector<Case> cases = {
      {"in order", {"a", "b", "c", "d", "e"}, {"a", "b", "c", "d", "e"}},
      {"nothing expected", {}, {"a", "b"}},
      {"one skipped", {"a", "b", "c"}, {"a", "c"}},
      {"all but the last skipped", {"a", "b", "c", "d", "e"}, {"e"}},
      {"requests between the expected ones", {"a", "b"}, {"a", "d", "e", "b"}},
      {"a file asked for twice", {"a", "a", "b"}, {"a", "a", "b", "b"}},
      {"an expected file asked for early", {"a", "b", "c"}, {"c", "a", "b"}},
      {"missing and defective files", {"gone", "bad", "a"}, {"gone", "bad", "a"}},
      {"fewer requests than expected", {"a", "b", "c", "d", "e"}, {"a"}},
      {"no request at all", {"a", "b", "c"}, {}},
  };
  auto file = [&](const std::string& name) { return u16(folder.path + "/" + name + ".xml"); };
  for (const Case& c : cases) {
    DocumentLoader loader;
    const ImportChain chain;
    std::vector<std::u16string> expected;
    for (const std::string& name : c.expected) expected.push_back(file(name));
    loader.expect(expected, chain);
    for (const std::string& name : c.requests) {
      std::unique_ptr<DocTree> direct = loadDocument(file(name));
      std::unique_ptr<DocTree> loaded = loader.load(file(name), chain).tree;
      EXPECT_EQ(summary(loaded.get()), summary(direct.get())) << c.what << ", request " << name;
    }
  }
}

}  // namespace
}  // namespace thc
