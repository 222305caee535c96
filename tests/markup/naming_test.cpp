#include "markup/naming.h"

#include <functional>

#include <gtest/gtest.h>

#include "support/u16.h"

namespace thc {
namespace {

using testing::u16;
using testing::u8;

struct Row {
  const char* call;
  std::function<std::u16string()> compute;
  const char* expected;
};

void runRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) EXPECT_EQ(u8(row.compute()), row.expected) << row.call;
}

// The code pages of German, Russian and Japanese helps.
constexpr PageNames kWestern{1252};
constexpr PageNames kCyrillic{1251};
constexpr PageNames kJapanese{932};

TEST(Naming, PageNamesAndLinkTargets) {
  runRows({
      {"htmlFileName", [] { return htmlFileName(kWestern, u"index"); }, "index.html"},
      {"commandPageName", [] { return commandPageName(kWestern, u"Files", u"Open"); },
       "Files_f_Open.html"},
      {"classPageName", [] { return classPageName(kWestern, u"Files", u"Stream"); },
       "Files_c_Stream.html"},
      {"memberPageName", [] { return memberPageName(kWestern, u"Files", u"Stream", u"Close"); },
       "Files_c_Stream_m_Close.html"},
      {"structurePageName", [] { return structurePageName(kWestern, u"Files", u"Info"); },
       "Files_s_Info.html"},
      {"libraryPageName", [] { return libraryPageName(kWestern, u"Files"); }, "Files_index.html"},
      {"constantLink", [] { return constantLink(kWestern, u"Files", u"Max"); },
       "Files_constant.html#Max"},
      {"macroLink", [] { return macroLink(kWestern, u"Math", u"Min"); }, "Math_macro.html#Min"},
      {"blanks kept", [] { return commandPageName(kWestern, u"My Lib", u"Open"); },
       "My Lib_f_Open.html"},
      {"case kept", [] { return commandPageName(kWestern, u"Files", u"open"); },
       "Files_f_open.html"},
      {"empty library", [] { return commandPageName(kWestern, u"", u"Open"); }, "_f_Open.html"},
      {"empty command", [] { return commandPageName(kWestern, u"Files", u""); }, "Files_f_.html"},
      {"empty constant", [] { return constantLink(kWestern, u"Files", u""); },
       "Files_constant.html#"},
      {"non-ASCII the code page holds",
       [] { return classPageName(kWestern, u16("Gr\xC3\xB6\xC3\x9F" "e"), u"K"); },
       "Gr\xC3\xB6\xC3\x9F" "e_c_K.html"},
      {"one _ per letter the code page lacks",
       [] { return structurePageName(kCyrillic, u"L", u16("Gr\xC3\xB6\xC3\x9F" "e")); },
       "L_s_Gr__e.html"},
      {"Cyrillic in its own code page",
       [] { return htmlFileName(kCyrillic, u16("\xD0\xA0\xD1\x8F\xD0\xB4")); },
       "\xD0\xA0\xD1\x8F\xD0\xB4.html"},
      {"a surrogate pair is one character",
       [] { return htmlFileName(kWestern, u"a\U0001F600b"); }, "a_b.html"},
      {"a lone surrogate", [] { return htmlFileName(kWestern, u"a\xD800" u"b"); }, "a_b.html"},
      {"a double-byte code page; a best fit is lacking",
       [] { return htmlFileName(kJapanese, u16("\xE6\x97\xA5\xC2\xA5")); }, "\xE6\x97\xA5_.html"},
      {"the anchor is no file name", [] { return constantLink(kCyrillic, u"L", u16("\xC3\xB6")); },
       "L_constant.html#\xC3\xB6"},
  });
}

TEST(Naming, LinkTexts) {
  runRows({
      {"commandLinkText", [] { return commandLinkText(u"Files", u"Open"); }, "Files: Open()"},
      {"commandLinkText no library", [] { return commandLinkText(u"", u"Open"); }, "Open()"},
      {"commandLinkText no command", [] { return commandLinkText(u"Files", u""); }, "Files"},
      {"commandLinkText both empty", [] { return commandLinkText(u"", u""); }, ""},
      {"memberLinkText", [] { return memberLinkText(u"Files", u"Stream", u"Close"); },
       "Files: Stream\\Close()"},
      {"memberLinkText no library", [] { return memberLinkText(u"", u"Stream", u"Close"); },
       "Stream\\Close()"},
      {"memberLinkText no class", [] { return memberLinkText(u"Files", u"", u"Close"); },
       "Files: Close()"},
      {"memberLinkText no member", [] { return memberLinkText(u"Files", u"Stream", u""); },
       "Files: Stream"},
      {"memberLinkText member only", [] { return memberLinkText(u"", u"", u"Close"); }, "Close()"},
      {"constantLinkText", [] { return constantLinkText(u"Files", u"Max"); }, "Files: #Max"},
      {"constantLinkText no library", [] { return constantLinkText(u"", u"Max"); }, "#Max"},
      {"constantLinkText no constant", [] { return constantLinkText(u"Files", u""); }, "Files"},
      {"classLinkText", [] { return classLinkText(u"Files", u"Stream"); }, "Files: Stream"},
      {"structureLinkText", [] { return structureLinkText(u"Files", u"Stream"); }, "Files: Stream"},
      {"macroLinkText", [] { return macroLinkText(u"Files", u"Stream"); }, "Files: Stream"},
      {"classLinkText no library", [] { return classLinkText(u"", u"Stream"); }, "Stream"},
      {"macroLinkText no macro", [] { return macroLinkText(u"Files", u""); }, "Files"},
      {"libraryLinkText", [] { return libraryLinkText(u" My Lib "); }, " My Lib "},
  });
}

TEST(Naming, TypedNamesAndDefaults) {
  runRows({
      {"pointer", [] { return typedName(u"Next", u"Node", true); }, "*Next.Node"},
      {"no pointer", [] { return typedName(u"Count", u"Word", false); }, "Count.Word"},
      {"no type", [] { return typedName(u"Count", u"", false); }, "Count"},
      {"pointer without type", [] { return typedName(u"p", u"", true); }, "*p"},
      {"value trimmed", [] { return valueOrDefault(u" Net ", u"Files"); }, "Net"},
      {"fallback trimmed", [] { return valueOrDefault(u"   ", u" Files "); }, "Files"},
      {"control characters", [] { return valueOrDefault(u"\t\r\n", u"\tFiles\n"); }, "Files"},
      {"both empty", [] { return valueOrDefault(u"", u" "); }, ""},
  });
}

}  // namespace
}  // namespace thc
