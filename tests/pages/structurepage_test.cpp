#include "pages/structurepage.h"

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::kWesternNames;
using testing::named;
using testing::u8;

StructureElement element(std::u16string offset, int64_t value, std::u16string name,
                         std::u16string type = {}, std::u16string description = {}) {
  StructureElement result;
  result.offset = std::move(offset);
  result.offsetValue = value;
  result.name = std::move(name);
  result.type = std::move(type);
  result.description = std::move(description);
  return result;
}

TEST(StructurePage, OnlyStructureWithoutElements) {
  EXPECT_EQ(u8(structurePageBody({}, kWesternNames, named<Library>(u"Lib"), named<Structure>(u"S"),
                                 nullptr, nullptr)),
            "<h2>Lib: S</h2><h3>Description</h3><div class='marleft'></div>"
            "<p class='nextindexprev'><a href='Lib_index.html' class='syntax'>Lib</a></p>");
}

TEST(StructurePage, ElementsInOffsetOrderWithOffsetAsWritten) {
  Structure node = named<Structure>(u"Node", true);
  node.description = u"A node";
  // Given sorted by value, as sorting leaves them.
  node.elements = {element(u"0", 0, u"Next", u"Node", u"link"), element(u"$4", 4, u"Count"),
                   element(u" 10", 10, u"Name", u"s")};
  const Structure first = named<Structure>(u"Info"), last = named<Structure>(u"Point");
  EXPECT_EQ(u8(structurePageBody({}, kWesternNames, named<Library>(u"Lib"), node, &last, &first)),
            "<h2>Lib: Node</h2><h3>Description <span class='deprecated'>(deprecated)</span></h3>"
            "<div class='marleft'>A node</div><h3>Elements</h3><table class='marleft'><tr>"
            "<th>Offset</th><th>Name</th><th>Description</th></tr>"
            "<tr><td class='padright syntax'>0</td><td class='padright syntax'>Next.Node</td>"
            "<td>link</td></tr>"
            "<tr><td class='padright syntax'>$4</td><td class='padright syntax'>Count</td>"
            "<td></td></tr>"
            "<tr><td class='padright syntax'> 10</td><td class='padright syntax'>Name.s</td>"
            "<td></td></tr></table>"
            "<p class='nextindexprev'>&lt;-&nbsp;&nbsp;&nbsp;<a href='Lib_s_Info.html' "
            "class='syntax'>Lib: Info</a>&nbsp;&nbsp;&nbsp;<a href='Lib_index.html' "
            "class='syntax'>Lib</a>&nbsp;&nbsp;&nbsp;<a href='Lib_s_Point.html' class='syntax'>"
            "Lib: Point</a>&nbsp;&nbsp;&nbsp;-&gt;</p>");
}

TEST(StructurePage, WordsComeFromTheCatalog) {
  const Catalog catalog{{u"elements", u"Felder"}, {u"offset", u"Versatz"}, {u"name", u"N"},
                        {u"description", u"D"}};
  Structure s = named<Structure>(u"S");
  s.elements = {element(u"0", 0, u"x")};
  EXPECT_EQ(u8(structurePageBody(catalog, kWesternNames, named<Library>(u"L"), s, nullptr, nullptr)),
            "<h2>L: S</h2><h3>D</h3><div class='marleft'></div><h3>Felder</h3>"
            "<table class='marleft'><tr><th>Versatz</th><th>N</th><th>D</th></tr><tr>"
            "<td class='padright syntax'>0</td><td class='padright syntax'>x</td><td></td></tr>"
            "</table><p class='nextindexprev'><a href='L_index.html' class='syntax'>L</a></p>");
}

}  // namespace
}  // namespace thc
