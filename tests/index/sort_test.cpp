#include "index/sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;
using Texts = std::vector<std::string>;

template <typename Record>
Texts namesOf(const std::vector<Record>& records) {
  Texts names;
  for (const Record& r : records) names.push_back(u8(r.name));
  return names;
}

Texts textsOf(const std::vector<std::u16string>& texts) {
  Texts result;
  for (const std::u16string& t : texts) result.push_back(u8(t));
  return result;
}

template <typename Record>
std::vector<Record> named(std::initializer_list<const char16_t*> names) {
  std::vector<Record> records;
  for (const char16_t* name : names) records.emplace_back().name = name;
  return records;
}

Argument argument(const char16_t* index, int64_t value) {
  Argument a;
  a.index = index;
  a.indexValue = value;
  a.name = index;
  return a;
}

Texts indexesOf(const std::vector<Argument>& args) {
  Texts result;
  for (const Argument& a : args) result.push_back(u8(a.index));
  return result;
}

TEST(TextKeyLess, FoldsOnlyAsciiLettersAndComparesCodeUnits) {
  struct Case {
    std::u16string a, b;
    bool less;
  };
  const Case cases[] = {
      {u"", u"a", true},        {u"a", u"", false},       {u"", u"", false},
      {u"Alpha", u"beta", true}, {u"beta", u"Alpha", false},
      {u"Draw", u"draw", false}, {u"draw", u"Draw", false},
      {u"ab", u"abc", true},    {u"abc", u"ab", false},
      {u"_", u"a", true},       {u"_", u"A", true},       {u"A", u"_", false},
      {u"[", u"A", true},       // "A" counts as "a", above "["
      {u"Z", u"a", false},      {u"é", u"z", false},      {u"É", u"é", true},  // no folding beyond A-Z
      {u"a1", u"a10", true},    {u"a10", u"a2", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textKeyLess(c.a, c.b), c.less) << u8(c.a) << " < " << u8(c.b);
  }
}

TEST(SortProject, SortsLibrariesAndTheirItemsByName) {
  Project project;
  project.libraries = named<Library>({u"beta", u"Alpha", u"gamma"});
  Library& alpha = project.libraries[1];
  alpha.commands = named<Command>({u"Draw", u"clear", u"draw", u"_init"});
  alpha.classes = named<Class>({u"Stream", u"file"});
  alpha.constants = named<Constant>({u"PI", u"E", u"Pi"});
  alpha.structures = named<Structure>({u"Rect", u"Point"});
  alpha.macros = named<Macro>({u"MAX", u"ABS"});
  alpha.classes[0].methods = named<Command>({u"Write", u"Close", u"read"});

  sortProject(project);
  EXPECT_EQ(namesOf(project.libraries), (Texts{"Alpha", "beta", "gamma"}));
  const Library& lib = project.libraries[0];
  EXPECT_EQ(namesOf(lib.commands), (Texts{"_init", "clear", "Draw", "draw"}));  // Draw stays first
  EXPECT_EQ(namesOf(lib.classes), (Texts{"file", "Stream"}));
  EXPECT_EQ(namesOf(lib.constants), (Texts{"E", "PI", "Pi"}));
  EXPECT_EQ(namesOf(lib.structures), (Texts{"Point", "Rect"}));
  EXPECT_EQ(namesOf(lib.macros), (Texts{"ABS", "MAX"}));
  EXPECT_EQ(namesOf(lib.classes[1].methods), (Texts{"Close", "read", "Write"}));
}

TEST(SortProject, KeepsDocumentOrderOfEqualNames) {
  Project project;
  project.libraries = named<Library>({u"L"});
  project.libraries[0].commands = named<Command>({u"draw", u"Draw", u"DRAW", u"a"});
  sortProject(project);
  EXPECT_EQ(namesOf(project.libraries[0].commands), (Texts{"a", "draw", "Draw", "DRAW"}));
}

TEST(SortProject, SortsStructureElementsBySignedOffset) {
  Project project;
  Library& lib = project.libraries.emplace_back();
  Structure& s = lib.structures.emplace_back();
  struct Element {
    const char16_t* name;
    int64_t offset;
  };
  // "x" has a non-numeric offset, which reads as 0, and stays after "zero".
  for (Element e : {Element{u"eight", 8}, Element{u"zero", 0}, Element{u"x", 0},
                    Element{u"four", 4}, Element{u"minus", -4}, Element{u"big", INT64_MAX}}) {
    StructureElement& element = s.elements.emplace_back();
    element.name = e.name;
    element.offsetValue = e.offset;
  }
  sortProject(project);
  EXPECT_EQ(namesOf(s.elements), (Texts{"minus", "zero", "x", "four", "eight", "big"}));
}

TEST(SortProject, ArgumentKeysDifferByOwner) {
  Project project;
  Library& lib = project.libraries.emplace_back();
  const std::vector<Argument> args = {argument(u"10", 10), argument(u"2", 2), argument(u"1", 1),
                                      argument(u"-1", -1), argument(u"$3", 3)};
  lib.commands.emplace_back().args = args;
  lib.classes.emplace_back().methods.emplace_back().args = args;
  lib.macros.emplace_back().args = args;
  sortProject(project);
  // Library commands by the number; methods and macros by the text.
  EXPECT_EQ(indexesOf(lib.commands[0].args), (Texts{"-1", "1", "2", "$3", "10"}));
  EXPECT_EQ(indexesOf(lib.classes[0].methods[0].args), (Texts{"$3", "-1", "1", "10", "2"}));
  EXPECT_EQ(indexesOf(lib.macros[0].args), (Texts{"$3", "-1", "1", "10", "2"}));
}

TEST(SortProject, OrdersReferencesByLibraryThenClassThenMember) {
  struct Ref {
    const char16_t* library;
    const char16_t* className;
    const char16_t* member;
    const char16_t* constant;  // not a key: marks document order
  };
  const Ref refs[] = {
      {u"lib2", u"", u"Foo", u"1"}, {u"lib1", u"", u"Bar", u"2"}, {u"lib1", u"K", u"Baz", u"3"},
      {u"Lib1", u"", u"bar", u"4"}, {u"lib1", u"", u"", u"5"},     {u"", u"", u"Zed", u"6"},
  };
  Project project;
  Library& lib = project.libraries.emplace_back();
  Command& command = lib.commands.emplace_back();
  for (const Ref& r : refs) {
    Reference& reference = command.references.emplace_back();
    reference.library = r.library;
    reference.className = r.className;
    reference.memberName = r.member;
    reference.constantName = r.constant;
  }
  sortProject(project);
  Texts order;
  for (const Reference& r : command.references) order.push_back(u8(r.constantName));
  EXPECT_EQ(order, (Texts{"6", "5", "2", "4", "3", "1"}));
}

TEST(SortProject, SortsExamplesOsAndNoOsByText) {
  Project project;
  Library& lib = project.libraries.emplace_back();
  Command& command = lib.commands.emplace_back();
  command.examples = named<Example>({u"second", u"First", u""});
  command.osList = {u"Windows", u"AmigaOS", u"linux"};
  command.noOsList = {u"Zeta", u"beos"};
  sortProject(project);
  EXPECT_EQ(namesOf(command.examples), (Texts{"", "First", "second"}));
  EXPECT_EQ(textsOf(command.osList), (Texts{"AmigaOS", "linux", "Windows"}));
  EXPECT_EQ(textsOf(command.noOsList), (Texts{"beos", "Zeta"}));
}

TEST(SortProject, MergesSupportedSystems) {
  struct Case {
    std::vector<std::u16string> globalOs, os, noOs;
    Texts result;
  };
  const Case cases[] = {
      {{u"Windows", u"Linux"}, {u"MacOS"}, {u"linux"}, {"MacOS", "Windows"}},
      {{u"Windows"}, {u"windows"}, {}, {"windows"}},          // the later spelling wins
      {{u"Windows", u"WINDOWS"}, {}, {}, {"WINDOWS"}},
      {{}, {u"B", u"A"}, {u"b"}, {"A"}},
      {{}, {}, {u"x"}, {}},
      {{u"Linux"}, {}, {u"LINUX", u"none"}, {}},
      {{u"Linux"}, {u"MacOS"}, {}, {"Linux", "MacOS"}},
      {{u"ÄmigaOS"}, {u"ämigaos"}, {}, {"ämigaos"}},         // full lower case, not A-Z only
      {{u"ÄmigaOS"}, {}, {u"äMIGAos"}, {}},
  };
  for (const Case& c : cases) {
    Project project;
    Library& lib = project.libraries.emplace_back();
    lib.globalOs = c.globalOs;
    Command& command = lib.commands.emplace_back();
    command.osList = c.os;
    command.noOsList = c.noOs;
    Command& method = lib.classes.emplace_back().methods.emplace_back();
    method.osList = c.os;
    method.noOsList = c.noOs;
    sortProject(project);
    EXPECT_EQ(textsOf(command.osList), c.result);
    EXPECT_EQ(textsOf(method.osList), c.result);
    EXPECT_EQ(command.noOsList.size(), c.noOs.size());  // noos entries stay
  }
}

// Many records, few keys: equal keys must keep their relative order, and the
// sort must not take long.
TEST(SortProject, StaysStableOnManyRecords) {
  constexpr int count = 100000;
  const char16_t* names[] = {u"Draw", u"draw", u"DRAW", u"Plot", u"plot", u"_x", u""};
  Project project;
  Library& lib = project.libraries.emplace_back();
  lib.commands.reserve(count);
  for (int i = 0; i < count; ++i) {
    Command& command = lib.commands.emplace_back();
    command.name = names[(i * 7919) % 7];
    command.description = u16(std::to_string(i));
    command.args.push_back(argument(u"", (i * 31) % 5));
  }
  sortProject(project);
  ASSERT_EQ(lib.commands.size(), size_t(count));
  for (size_t i = 1; i < lib.commands.size(); ++i) {
    const Command& a = lib.commands[i - 1];
    const Command& b = lib.commands[i];
    ASSERT_FALSE(textKeyLess(b.name, a.name)) << i;
    if (!textKeyLess(a.name, b.name)) {
      ASSERT_LT(std::stoi(u8(a.description)), std::stoi(u8(b.description))) << i;
    }
  }
  EXPECT_EQ(lib.commands.front().name, u"");

  std::vector<StructureElement>& elements = lib.structures.emplace_back().elements;
  for (int i = 0; i < count; ++i) {
    StructureElement& e = elements.emplace_back();
    e.offsetValue = (i * 13) % 9 - 4;
    e.offset = u16(std::to_string(i));
  }
  sortProject(project);
  for (size_t i = 1; i < elements.size(); ++i) {
    ASSERT_LE(elements[i - 1].offsetValue, elements[i].offsetValue) << i;
    if (elements[i - 1].offsetValue == elements[i].offsetValue) {
      ASSERT_LT(std::stoi(u8(elements[i - 1].offset)), std::stoi(u8(elements[i].offset))) << i;
    }
  }
}

TEST(MergeOsLists, HandlesManyEntries) {
  Library lib;
  Command command;
  for (int i = 0; i < 100000; ++i) {
    lib.globalOs.push_back(u"OS" + u16(std::to_string(i)));
    command.osList.push_back(u"os" + u16(std::to_string(i)));
    if (i % 2 == 0) command.noOsList.push_back(u"Os" + u16(std::to_string(i)));
  }
  mergeOsLists(lib, command);
  ASSERT_EQ(command.osList.size(), 50000u);
  for (const std::u16string& os : command.osList) EXPECT_EQ(os.substr(0, 2), u"os");
}

}  // namespace
}  // namespace thc
