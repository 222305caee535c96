// The inline @-markup translator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/console.h"
#include "markup/imagelist.h"

namespace thc {

// Where the text being translated came from. A diagnostic names that place;
// it is asked only when there is one to print, so a text without faults
// costs no path.
class MarkupOrigin {
 public:
  virtual std::u16string path() const = 0;

 protected:
  ~MarkupOrigin() = default;
};

// All the translator sees of the document being read: the library and class
// a reference defaults to, the language whose code page the page names keep,
// the image list it appends to, and where its diagnostics go.
struct MarkupContext {
  std::u16string_view library;
  std::u16string_view cls;
  std::u16string_view lang;
  std::vector<ImageEntry>& images;
  Console& console;
  const MarkupOrigin& origin;
};

// Translates one text to HTML. Image keywords append to context.images. On a
// parse error the input comes back unchanged.
std::u16string translateMarkup(std::u16string_view text, const MarkupContext& context);

}  // namespace thc
