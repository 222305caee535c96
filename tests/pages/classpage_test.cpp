#include "pages/classpage.h"

#include <gtest/gtest.h>

#include "pages/page_models.h"
#include "support/u16.h"

namespace thc {
namespace {

using testing::kWesternNames;
using testing::named;
using testing::u8;

TEST(ClassPage, Bodies) {
  const Library lib = named<Library>(u"Lib");
  Class single = named<Class>(u"C");
  single.methods.push_back(named<Command>(u"m"));

  Class empty = named<Class>(u"E", true);
  empty.description = u"<i>d</i>";

  Class marked = named<Class>(u"M");
  marked.methods.push_back(named<Command>(u"Open"));
  marked.methods.push_back(named<Command>(u"Old", true));
  const Class a = named<Class>(u"A"), z = named<Class>(u"Z");

  struct Case {
    const char* what;
    const Class& cls;
    const Class* next;
    const Class* previous;
    const char* body;
  };
  const Case cases[] = {
      {"alone with one method", single, nullptr, nullptr,
       "<h2>Lib: C</h2><h3>Description</h3><div class='marleft'></div><h3>Functions</h3>"
       "<p class='marleft syntax'><a href='Lib_c_C_m_m.html' class='syntax'>m()</a><br></p>"
       "<p class='nextindexprev'><a href='Lib_index.html' class='syntax'>Lib</a></p>"},
      {"deprecated, without methods, first of two", empty, &z, nullptr,
       "<h2>Lib: E</h2><h3>Description <span class='deprecated'>(deprecated)</span></h3>"
       "<div class='marleft'><i>d</i></div><p class='nextindexprev'>"
       "<a href='Lib_index.html' class='syntax'>Lib</a>&nbsp;&nbsp;&nbsp;"
       "<a href='Lib_c_Z.html' class='syntax'>Lib: Z</a>&nbsp;&nbsp;&nbsp;-&gt;</p>"},
      {"deprecated method, in the middle", marked, &z, &a,
       "<h2>Lib: M</h2><h3>Description</h3><div class='marleft'></div><h3>Functions</h3>"
       "<p class='marleft syntax'><a href='Lib_c_M_m_Open.html' class='syntax'>Open()</a><br>"
       "<a href='Lib_c_M_m_Old.html' class='syntax'>Old()</a> "
       "<span class='deprecated'>(deprecated)</span><br></p><p class='nextindexprev'>"
       "&lt;-&nbsp;&nbsp;&nbsp;<a href='Lib_c_A.html' class='syntax'>Lib: A</a>&nbsp;&nbsp;&nbsp;"
       "<a href='Lib_index.html' class='syntax'>Lib</a>&nbsp;&nbsp;&nbsp;"
       "<a href='Lib_c_Z.html' class='syntax'>Lib: Z</a>&nbsp;&nbsp;&nbsp;-&gt;</p>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(u8(classPageBody({}, kWesternNames, lib, c.cls, c.next, c.previous)), c.body)
        << c.what;
  }
}

}  // namespace
}  // namespace thc
