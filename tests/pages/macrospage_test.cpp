#include "pages/macrospage.h"

#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::argument;
using testing::named;
using testing::u8;

std::string macroSection(const Macro& macro, const Catalog& catalog = {}) {
  Library lib = named<Library>(u"Lib");
  lib.macros.push_back(macro);
  const std::string body = u8(macrosPageBody(catalog, lib));
  const std::string heading = "<h2>" + u8(catalogText(catalog, words::Macros)) + "</h2>";
  EXPECT_EQ(body.substr(0, heading.size()), heading);
  return body.substr(heading.size());
}

TEST(MacrosPage, Sections) {
  Macro bare = named<Macro>(u"PI");

  Macro full = named<Macro>(u"MAX", true);
  full.description = u"larger";
  full.result = Result{u"m", u"l", u"the larger", false};
  full.args = {argument(u"a", u"1", u"l"), argument(u"b", u"2")};
  full.args[0].description = u"first";

  Macro unnamedResult = named<Macro>(u"R");
  unnamedResult.result = Result{u"Ergebnis", u"", u"", true};

  Macro unnumbered = named<Macro>(u"U");
  unnumbered.args = {argument(u"a", u""), argument(u"b", u"")};

  struct Case {
    const char* what;
    const Macro& macro;
    const char* section;
  };
  const Case cases[] = {
      {"no arguments, no result, no description", bare,
       "<hr /><h3>Syntax</h3><a name='PI'></a><p class='syntax marleft'><b>PI</b></p>"},
      {"everything", full,
       "<hr /><h3>Syntax <span class='deprecated'>(deprecated)</span></h3><a name='MAX'></a>"
       "<p class='syntax marleft'>m.l = <b>MAX</b>(a.l, b)<br /></p>"
       "<h3>Description</h3><div class='marleft'>larger</div>"
       "<h3>Result</h3><table class='marleft'><tr><th>Result</th><th>Description</th></tr>"
       "<tr><td class='padright syntax'>m.l</td><td>the larger</td></tr></table>"
       "<h3>Parameters</h3><table class='marleft'><tr><th>Parameter</th><th>Description</th></tr>"
       "<tr><td class='padright syntax'>a.l</td><td>first</td></tr>"
       "<tr><td class='padright syntax'>b</td><td></td></tr></table>"},
      {"pointer result named by the reader", unnamedResult,
       "<hr /><h3>Syntax</h3><a name='R'></a><p class='syntax marleft'>*Ergebnis = <b>R</b></p>"
       "<h3>Result</h3><table class='marleft'><tr><th>Result</th><th>Description</th></tr>"
       "<tr><td class='padright syntax'>*Ergebnis</td><td></td></tr></table>"},
      {"arguments without numbers get no separator", unnumbered,
       "<hr /><h3>Syntax</h3><a name='U'></a><p class='syntax marleft'><b>U</b>(ab)<br /></p>"
       "<h3>Parameters</h3><table class='marleft'><tr><th>Parameter</th><th>Description</th></tr>"
       "<tr><td class='padright syntax'>a</td><td></td></tr>"
       "<tr><td class='padright syntax'>b</td><td></td></tr></table>"},
  };
  for (const Case& c : cases) EXPECT_EQ(macroSection(c.macro), c.section) << c.what;
}

TEST(MacrosPage, EveryMacroInListOrderEachAfterARule) {
  Library lib = named<Library>(u"Lib");
  lib.macros = {named<Macro>(u"A"), named<Macro>(u"B")};
  EXPECT_EQ(u8(macrosPageBody({}, lib)),
            "<h2>Macros</h2><hr /><h3>Syntax</h3><a name='A'></a><p class='syntax marleft'>"
            "<b>A</b></p><hr /><h3>Syntax</h3><a name='B'></a><p class='syntax marleft'><b>B</b>"
            "</p>");
}

TEST(MacrosPage, WordsComeFromTheCatalog) {
  const Catalog catalog{{u"macros", u"Makros"}, {u"syntax", u"S"}, {u"result", u"E"},
                        {u"parameters", u"Ps"}, {u"parameter", u"P"}, {u"description", u"B"}};
  Macro macro = named<Macro>(u"M");
  macro.description = u"d";
  macro.result.name = u"r";
  macro.args = {argument(u"a", u"1")};
  EXPECT_EQ(macroSection(macro, catalog),
            "<hr /><h3>S</h3><a name='M'></a><p class='syntax marleft'>r = <b>M</b>(a)<br /></p>"
            "<h3>B</h3><div class='marleft'>d</div><h3>E</h3><table class='marleft'><tr><th>E</th>"
            "<th>B</th></tr><tr><td class='padright syntax'>r</td><td></td></tr></table><h3>Ps"
            "</h3><table class='marleft'><tr><th>P</th><th>B</th></tr><tr>"
            "<td class='padright syntax'>a</td><td></td></tr></table>");
}

}  // namespace
}  // namespace thc
