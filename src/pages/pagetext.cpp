#include "pages/pagetext.h"

#include <algorithm>

#include "catalog/catalog.h"

namespace thc {

void appendText(std::u16string& out, std::initializer_list<std::u16string_view> parts) {
  size_t size = out.size();
  for (std::u16string_view part : parts) size += part.size();
  // Growing geometrically keeps a long body linear even when reserve is asked
  // for a little more each time.
  if (size > out.capacity()) out.reserve(std::max(size, out.capacity() * 2));
  for (std::u16string_view part : parts) out.append(part);
}

void appendDeprecatedMark(std::u16string& out, const Catalog& catalog, bool deprecated) {
  if (!deprecated) return;
  appendText(out, {u" <span class='deprecated'>(", catalogText(catalog, words::Deprecated),
                   u")</span>"});
}

void appendNavigationBar(std::u16string& out, const NavigationLink* previous,
                         const NavigationLink& up, const NavigationLink* next) {
  out += u"<p class='nextindexprev'>";
  if (previous) {
    appendText(out, {u"&lt;-&nbsp;&nbsp;&nbsp;<a href='", previous->file, u"' class='syntax'>",
                     previous->text, u"</a>&nbsp;&nbsp;&nbsp;"});
  }
  appendText(out, {u"<a href='", up.file, u"' class='syntax'>", up.text, u"</a>"});
  if (next) {
    appendText(out, {u"&nbsp;&nbsp;&nbsp;<a href='", next->file, u"' class='syntax'>", next->text,
                     u"</a>&nbsp;&nbsp;&nbsp;-&gt;"});
  }
  out += u"</p>";
}

}  // namespace thc
