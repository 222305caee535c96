#include "pages/constantspage.h"

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::named;
using testing::u8;

const std::string tableHead =
    "<h2>Constants</h2><table class='marleft'><tr><th>Constant</th><th>Description</th></tr>";

TEST(ConstantsPage, RowsWithAnchors) {
  Library lib = named<Library>(u"Lib");
  EXPECT_EQ(u8(constantsPageBody({}, lib)), tableHead + "</table>");

  lib.constants.push_back(named<Constant>(u"OLD", true));
  lib.constants.back().description = u"gone";
  lib.constants.push_back(named<Constant>(u"a<&'b"));
  EXPECT_EQ(u8(constantsPageBody({}, lib)),
            tableHead +
                "<tr><td class='padright syntax'><a name='OLD'></a>#OLD<br>"
                "<span class='stdfont deprecated'>(deprecated)</span></td><td>gone</td></tr>"
                "<tr><td class='padright syntax'><a name='a<&'b'></a>#a<&'b</td><td></td></tr>"
                "</table>");
}

TEST(ConstantsPage, WordsComeFromTheCatalog) {
  const Catalog catalog{{u"constants", u"Konstanten"}, {u"constant", u"Konstante"},
                        {u"description", u"Beschreibung"}, {u"deprecated", u"alt"}};
  Library lib = named<Library>(u"Lib");
  lib.constants.push_back(named<Constant>(u"X", true));
  EXPECT_EQ(u8(constantsPageBody(catalog, lib)),
            "<h2>Konstanten</h2><table class='marleft'><tr><th>Konstante</th><th>Beschreibung</th>"
            "</tr><tr><td class='padright syntax'><a name='X'></a>#X<br>"
            "<span class='stdfont deprecated'>(alt)</span></td><td></td></tr></table>");
}

}  // namespace
}  // namespace thc
