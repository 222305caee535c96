// Reading the tags of an HTML text, as far as links and anchors need it:
// start tags with their attributes, and attribute values as a browser reads
// them. The pages carry the authors' own HTML, so nothing about quoting or
// letter case is taken for granted.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace thc {

struct TagAttribute {
  std::string_view name;
  std::string_view value;  // as written, between its quotes
};

using TagVisitor = std::function<void(std::string_view name, const std::vector<TagAttribute>& attributes)>;

// Calls `visit` for every start tag of `text`. Comments, end tags and
// declarations are passed over, and so is the content of script and style
// elements; a "<" that starts no tag is text.
void forEachStartTag(std::string_view text, const TagVisitor& visit);

// An attribute value as a browser reads it: the character references
// resolved, blanks around it dropped; anything that is no reference stays.
// The view is into `value` or, when references were resolved, into `room`.
std::string_view attributeText(std::string_view value, std::string& room);

// Equal but for the letter case of A to Z (tag and attribute names).
bool sameLetters(std::string_view a, std::string_view b);

}  // namespace thc
