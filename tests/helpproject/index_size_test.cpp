// The index text is counted before it is built, so it is allocated once; a
// miscount would not change the text, only let it grow by doubling again.
#include <gtest/gtest.h>

#include "helpproject/indexfile.h"

namespace thc {
namespace {

TEST(IndexBody, IsAllocatedOnceAtItsFinalSize) {
  std::vector<IndexEntry> entries = {
      {u"Gfx: Plot()", u"Gfx_f_Plot.html", u"Plot;drawing", u""},
      {u"Say \"hi\" <now>", u"Gfx_constant.html", u"quote \"q\";drawing", u"PI"},
      {u"Files: Open()", u"Files_f_Open.html", u" Open ; files ", u""},
      {u"Gfx", u"Gfx_index.html", u"Gfx", u""},
      {u"Größe 😀", u"Maße_f_Größe.html", u"Größe;Ω", u""},
  };
  const std::string body = indexBody(entries, u"");
  ASSERT_GT(body.size(), 100u);
  EXPECT_EQ(body.capacity(), body.size());
}

}  // namespace
}  // namespace thc
