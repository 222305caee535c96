#include "pages/librarypage.h"

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::argument;
using testing::kWesternNames;
using testing::named;
using testing::u8;

TEST(LibraryPage, OnlyLibraryWithoutItems) {
  EXPECT_EQ(u8(libraryPageBody({}, kWesternNames, named<Library>(u"Lib"), nullptr, nullptr)),
            "<h2>Library: Lib</h2><h3>Introduction</h3><div class='marleft'></div>"
            "<p class='nextindexprev'><a href='index.html' class='syntax'>Index</a></p>");
}

TEST(LibraryPage, EveryOverviewInFixedOrderWithMarks) {
  Library lib = named<Library>(u"Gfx", true);
  lib.version = u"2.0";
  lib.description = u"Graphics";
  // Filled in another order than the sections come.
  lib.macros.push_back(named<Macro>(u"MAX"));
  lib.macros.back().args.push_back(argument(u"a", u"1"));
  lib.macros.push_back(named<Macro>(u"PI", true));
  lib.constants.push_back(named<Constant>(u"ZERO"));
  lib.constants.push_back(named<Constant>(u"OLD", true));
  lib.structures.push_back(named<Structure>(u"Point", true));
  lib.commands.push_back(named<Command>(u"Box"));
  lib.commands.push_back(named<Command>(u"Plot", true));
  lib.classes.push_back(named<Class>(u"Canvas"));
  lib.classes.push_back(named<Class>(u"Pen", true));

  const std::string mark = " <span class='deprecated'>(deprecated)</span>";
  EXPECT_EQ(u8(libraryPageBody({}, kWesternNames, lib, nullptr, nullptr)),
            "<h2>Library: Gfx</h2><h6>2.0</h6><h3>Introduction" + mark +
                "</h3><div class='marleft'>Graphics</div>"
                "<h3><a name='classes'></a>Class overview</h3><p class='marleft syntax'>"
                "<a href='Gfx_c_Canvas.html'>Canvas</a><br><a href='Gfx_c_Pen.html'>Pen</a>" +
                mark +
                "<br></p>"
                "<h3><a name='commands'></a>Command overview</h3><p class='marleft syntax'>"
                "<a href='Gfx_f_Box.html'>Box()</a><br><a href='Gfx_f_Plot.html'>Plot()</a>" +
                mark +
                "<br></p>"
                "<h3><a name='structures'></a>Structure overview</h3><p class='marleft syntax'>"
                "<a href='Gfx_s_Point.html'>Point</a>" +
                mark +
                "<br></p>"
                "<h3><a name='constants'></a>Constant overview</h3><p class='marleft syntax'>"
                "<a href='Gfx_constant.html#ZERO' class='syntax'>#ZERO</a><br>"
                "<a href='Gfx_constant.html#OLD' class='syntax'>#OLD</a>" +
                mark +
                "<br></p>"
                "<h3><a name='macros'></a>Macro overview</h3><p class='marleft syntax'>"
                "<a href='Gfx_macro.html#MAX' class='syntax'>MAX()</a><br>"
                "<a href='Gfx_macro.html#PI' class='syntax'>PI</a>" +
                mark +
                "<br></p>"
                "<p class='nextindexprev'><a href='index.html' class='syntax'>Index</a></p>");
}

TEST(LibraryPage, NavigationBarNamesTheNeighbouringLibraries) {
  const Library previous = named<Library>(u"A"), current = named<Library>(u"B"),
                next = named<Library>(u"C");
  struct Case {
    const Library* next;
    const Library* previous;
    const char* bar;
  };
  const Case cases[] = {
      {&next, nullptr,
       "<p class='nextindexprev'><a href='index.html' class='syntax'>Index</a>&nbsp;&nbsp;&nbsp;"
       "<a href='C_index.html' class='syntax'>C</a>&nbsp;&nbsp;&nbsp;-&gt;</p>"},
      {nullptr, &previous,
       "<p class='nextindexprev'>&lt;-&nbsp;&nbsp;&nbsp;<a href='A_index.html' class='syntax'>A"
       "</a>&nbsp;&nbsp;&nbsp;<a href='index.html' class='syntax'>Index</a></p>"},
      {&next, &previous,
       "<p class='nextindexprev'>&lt;-&nbsp;&nbsp;&nbsp;<a href='A_index.html' class='syntax'>A"
       "</a>&nbsp;&nbsp;&nbsp;<a href='index.html' class='syntax'>Index</a>&nbsp;&nbsp;&nbsp;"
       "<a href='C_index.html' class='syntax'>C</a>&nbsp;&nbsp;&nbsp;-&gt;</p>"},
  };
  const Catalog catalog;
  for (const Case& c : cases) {
    const std::string body =
        u8(libraryPageBody(catalog, kWesternNames, current, c.next, c.previous));
    const std::string head =
        "<h2>Library: B</h2><h3>Introduction</h3><div class='marleft'></div>";
    EXPECT_EQ(body, head + c.bar);
  }
}

TEST(LibraryPage, WordsComeFromTheCatalog) {
  const Catalog catalog{{u"library", u"Bibliothek"},
                        {u"introduction", u"Einf"},
                        {u"commandoverview", u"Befehle"},
                        {u"index", u"Inhalt"}};
  Library lib = named<Library>(u"L");
  lib.commands.push_back(named<Command>(u"f"));
  EXPECT_EQ(u8(libraryPageBody(catalog, kWesternNames, lib, nullptr, nullptr)),
            "<h2>Bibliothek: L</h2><h3>Einf</h3><div class='marleft'></div><h3><a name='commands'>"
            "</a>Befehle</h3><p class='marleft syntax'><a href='L_f_f.html'>f()</a><br></p>"
            "<p class='nextindexprev'><a href='index.html' class='syntax'>Inhalt</a></p>");
}

}  // namespace
}  // namespace thc
