#include "pages/indexpage.h"

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::kWesternNames;
using testing::named;
using testing::u8;

TEST(IndexPage, BodiesForTypicalProjects) {
  struct Case {
    const char* what;
    void (*fill)(Project&);
    const char* body;
  };
  const Case cases[] = {
      {"one library",
       [](Project& p) {
         p.title = u"Docs";
         p.libraries.push_back(named<Library>(u"Lib"));
       },
       "<h2>Docs</h2><h3>Introduction</h3><div class='marleft'></div><h3><a name='libraries'></a>"
       "Library overview</h3><p class='marleft syntax'><a href='Lib_index.html'>Lib</a><br></p>"},
      {"title only", [](Project& p) { p.title = u"Docs"; },
       "<h2>Docs</h2><h3>Introduction</h3><div class='marleft'></div>"},
      {"version without title", [](Project& p) { p.version = u"V1.2"; },
       "<h6>V1.2</h6><h3>Introduction</h3><div class='marleft'></div>"},
      {"nothing at all", [](Project&) {}, "<h3>Introduction</h3><div class='marleft'></div>"},
      {"every text, a deprecated library kept in list order",
       [](Project& p) {
         p.title = u"T";
         p.version = u"1.0";
         p.description = u"<b>intro</b>";
         p.author = u"Me";
         p.license = u"Free";
         p.copyright = u"(c) 2024";
         p.libraries.push_back(named<Library>(u"Zeta", true));
         p.libraries.push_back(named<Library>(u"Alpha"));
       },
       "<h2>T</h2><h6>1.0</h6><h3>Introduction</h3><div class='marleft'><b>intro</b></div>"
       "<h3><a name='libraries'></a>Library overview</h3><p class='marleft syntax'>"
       "<a href='Zeta_index.html'>Zeta</a> <span class='deprecated'>(deprecated)</span><br>"
       "<a href='Alpha_index.html'>Alpha</a><br></p>"
       "<h3>Author</h3><p class='marleft'>Me</p><h3>Licence</h3><p class='marleft'>Free</p>"
       "<h3>Copyright</h3><p class='marleft'>(c) 2024</p>"},
  };
  for (const Case& c : cases) {
    Project project;
    c.fill(project);
    EXPECT_EQ(u8(indexPageBody({}, kWesternNames, project)), c.body) << c.what;
  }
}

TEST(IndexPage, WordsComeFromTheCatalog) {
  Catalog catalog{{u"introduction", u"Einleitung"}, {u"libraryoverview", u"Bibliotheken"},
                  {u"author", u"Autor"},            {u"licence", u"Lizenz"},
                  {u"copyright", u""},              {u"deprecated", u"veraltet"}};
  Project project;
  project.author = u"A";
  project.license = u"L";
  project.copyright = u"C";
  project.libraries.push_back(named<Library>(u"Lib", true));
  EXPECT_EQ(u8(indexPageBody(catalog, kWesternNames, project)),
            "<h3>Einleitung</h3><div class='marleft'></div><h3><a name='libraries'></a>"
            "Bibliotheken</h3><p class='marleft syntax'><a href='Lib_index.html'>Lib</a> "
            "<span class='deprecated'>(veraltet)</span><br></p><h3>Autor</h3><p class='marleft'>"
            "A</p><h3>Lizenz</h3><p class='marleft'>L</p><h3></h3><p class='marleft'>C</p>");
}

}  // namespace
}  // namespace thc
