#include "plan/outputplan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u8;

// title | page | keywords | anchor
// Without keywords the plan has an entry under each item's name only.
std::vector<std::string> entriesOf(const Project& project) {
  std::vector<std::string> entries;
  for (const IndexEntry& e : planOutput(project, Catalog()).indexEntries) {
    entries.push_back(u8(e.title) + "|" + u8(e.page) + "|" + u8(e.keywords) + "|" + u8(e.anchor));
  }
  return entries;
}

TEST(PlanIndex, OneCommandThenTheLibrary) {
  Project project;
  Library& gfx = project.libraries.emplace_back();
  gfx.name = u"Gfx";
  gfx.commands.emplace_back().name = u"Plot";
  EXPECT_EQ(entriesOf(project),
            (std::vector<std::string>{"Plot|Gfx_f_Plot.html|Plot|", "Gfx|Gfx_index.html|Gfx|"}));
}

TEST(PlanIndex, NamesEveryKindInOrderLibraryByLibrary) {
  Project project;
  Library& math = project.libraries.emplace_back();
  math.name = u"Math";
  Class& vector = math.classes.emplace_back();
  vector.name = u"Vec";
  vector.methods.emplace_back().name = u"Add";
  vector.methods.emplace_back().name = u"Len";
  math.classes.emplace_back().name = u"Mat";
  math.commands.emplace_back().name = u"Sqrt";
  math.structures.emplace_back().name = u"Point";
  math.constants.emplace_back().name = u"PI";
  math.macros.emplace_back().name = u"MAX";
  Library& io = project.libraries.emplace_back();
  io.name = u"Io";
  io.constants.emplace_back().name = u"PI";

  EXPECT_EQ(entriesOf(project), (std::vector<std::string>{
                                    "Add|Math_c_Vec_m_Add.html|Add|",
                                    "Len|Math_c_Vec_m_Len.html|Len|",
                                    "Vec|Math_c_Vec.html|Vec|",
                                    "Mat|Math_c_Mat.html|Mat|",
                                    "Sqrt|Math_f_Sqrt.html|Sqrt|",
                                    "Point|Math_s_Point.html|Point|",
                                    "PI|Math_constant.html#PI|PI|",
                                    "MAX|Math_macro.html#MAX|MAX|",
                                    "Math|Math_index.html|Math|",
                                    "PI|Io_constant.html#PI|PI|",
                                    "Io|Io_index.html|Io|",
                                }));
}

TEST(PlanIndex, TakesNamesAsStored) {
  Project project;
  Library& lib = project.libraries.emplace_back();
  lib.name = u" L ";
  lib.commands.emplace_back().name = u"a;b";
  lib.commands.emplace_back();  // no name: empty keywords, skipped by the index file
  EXPECT_EQ(entriesOf(project), (std::vector<std::string>{
                                    "a;b| L _f_a;b.html|a;b|",
                                    "| L _f_.html||",
                                    " L | L _index.html| L |",
                                }));
}

}  // namespace
}  // namespace thc
