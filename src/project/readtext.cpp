#include "project/readtext.h"

#include "common/text.h"
#include "markup/markup.h"

namespace thc {

namespace {

// A markup diagnostic names the element the text was read from.
class NodeOrigin final : public MarkupOrigin {
 public:
  explicit NodeOrigin(const DocNode* node) : node_(node) {}
  std::u16string path() const override { return thc::path(node_); }

 private:
  const DocNode* node_;
};

}  // namespace

std::u16string escapeAmpersands(std::u16string_view text) {
  std::u16string_view rest = trimmedView(text);
  std::u16string result;
  result.reserve(rest.size());
  for (;;) {
    const size_t ampersand = rest.find(u'&');
    result.append(rest.substr(0, ampersand));
    if (ampersand == std::u16string_view::npos) break;
    result += u"&amp;";
    rest.remove_prefix(ampersand + 1);
  }
  return result;
}

std::u16string readElementText(const DocNode* element, Console& console) {
  if (!element) return {};
  const DocNode* first = element->firstChild;
  if (first && first->kind == NodeKind::CData) return std::u16string(first->text);
  if (first) {
    console.writeLine(u"Warning in node: " + path(element));
    console.writeLine(u"Only CData Nodes are allowed.");
  }
  return escapeAmpersands(element->text);
}

std::u16string readMarkup(const DocNode* element, ProjectModel& model, Console& console) {
  const NodeOrigin origin(element);
  const MarkupContext context{currentLibraryName(model.project), currentClassName(model.project),
                              model.project.lang, model.project.images, console, origin};
  return translateMarkup(readElementText(element, console), context);
}

std::u16string_view currentLibraryName(const Project& project) {
  if (project.libraries.empty()) return {};
  return project.libraries.back().name;
}

std::u16string_view currentClassName(const Project& project) {
  if (project.libraries.empty()) return {};
  const Library& library = project.libraries.back();
  if (library.classes.empty()) return {};
  return library.classes.back().name;
}

}  // namespace thc
