#include "pages/historypage.h"

#include <gtest/gtest.h>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u8;

TEST(HistoryPage, HeadingAndTextUnchanged) {
  struct Case {
    Catalog catalog;
    const char16_t* text;
    const char* body;
  };
  const Case cases[] = {
      {{}, u"", "<h2>History</h2><div class='marleft'></div>"},
      {{}, u"<b>1.0</b> first", "<h2>History</h2><div class='marleft'><b>1.0</b> first</div>"},
      {{{u"history", u"Verlauf"}}, u"x", "<h2>Verlauf</h2><div class='marleft'>x</div>"},
  };
  for (const Case& c : cases) EXPECT_EQ(u8(historyPageBody(c.catalog, c.text)), c.body);
}

}  // namespace
}  // namespace thc
