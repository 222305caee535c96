#include "project/doctree.h"

#include <expat.h>

#include <unordered_map>

#include "base/utf.h"
#include "common/text.h"
#include "platform/filesystem.h"

namespace thc {

namespace {

// The line break of a file is decided within its first bytes.
constexpr size_t kLineBreakWindow = 16384;

// The whole document goes to the parser in one call: fed in pieces, a parser
// may scan an unfinished token again with every piece, which makes a long
// comment or attribute value quadratic. Only a document longer than the
// parser's length type is split, into pieces so large that a rescan of one
// hardly counts.
constexpr size_t kLargestPiece = size_t{1} << 30;

// The line-break sequence of a file, decided by its first line break.
std::u16string detectLineBreak(std::string_view firstBlock) {
  size_t zeros = 0;
  for (char c : firstBlock) {
    if (c == '\0') ++zeros;
  }
  if (zeros > 4) {
    // 16-bit units. Big-endian when the byte order mark says so or, without
    // a mark, when the first unit ("<" or white space) has its zero byte first.
    bool bigEndian = false;
    if (firstBlock.size() >= 2) {
      auto first = static_cast<unsigned char>(firstBlock[0]);
      auto second = static_cast<unsigned char>(firstBlock[1]);
      bigEndian = (first == 0xFE && second == 0xFF) || (first == 0 && second != 0);
    }
    size_t units = firstBlock.size() / 2;
    auto unit = [&](size_t i) -> unsigned {
      unsigned a = static_cast<unsigned char>(firstBlock[2 * i]);
      unsigned b = static_cast<unsigned char>(firstBlock[2 * i + 1]);
      return bigEndian ? (a << 8) | b : (b << 8) | a;
    };
    for (size_t i = 0; i < units; ++i) {
      unsigned c = unit(i);
      if (c == 10 && i == 0) continue;
      if (c == 10) return u"\n";
      if (c == 13) return (i + 1 < units && unit(i + 1) == 10) ? u"\r\n" : u"\r";
    }
    return u"\n";
  }
  for (size_t i = 0; i < firstBlock.size(); ++i) {
    char c = firstBlock[i];
    if (c == '\n' && i == 0) continue;
    if (c == '\n') return u"\n";
    if (c == '\r') return (i + 1 < firstBlock.size() && firstBlock[i + 1] == '\n') ? u"\r\n" : u"\r";
  }
  return u"\n";
}

// Counts earlier siblings by kind and name while an element is open. An
// element has few distinct child names, so a flat list serves; past
// kManyNames names a hash map takes over, so a wide element with thousands of
// distinct child names stays linear.
constexpr size_t kManyNames = 16;

// The names point into the child nodes, which the arena never moves.
using NameCounts = std::vector<std::pair<std::u16string_view, uint32_t>>;

// One open element. Its text and the names of its children so far sit at the
// top of stacks shared by all open elements (only the innermost one grows),
// so an open element costs a few words however deep the nesting goes.
struct OpenElement {
  DocNode* node = nullptr;
  size_t textStart = 0;   // where its own character data begins
  size_t namesStart = 0;  // where the names of its child elements begin
  std::unique_ptr<std::unordered_map<std::u16string_view, uint32_t>> manyNames;
  // Comments, CDATA sections, document type declarations and instructions.
  uint32_t counts[4] = {0, 0, 0, 0};

  void open(DocNode* element, size_t text, size_t names) {
    node = element;
    textStart = text;
    namesStart = names;
    manyNames.reset();
    for (uint32_t& count : counts) count = 0;
  }

  uint32_t& countOther(NodeKind kind) {
    return counts[static_cast<int>(kind) - static_cast<int>(NodeKind::Comment)];
  }

  // `names` holds this element's names from namesStart to its end.
  uint32_t countElement(NameCounts& names, std::u16string_view name) {
    if (manyNames) return ++(*manyNames)[name];
    for (size_t i = namesStart; i < names.size(); ++i) {
      if (names[i].first == name) return ++names[i].second;
    }
    names.emplace_back(name, 1);
    if (names.size() - namesStart == kManyNames) {
      manyNames = std::make_unique<std::unordered_map<std::u16string_view, uint32_t>>(
          names.begin() + static_cast<std::ptrdiff_t>(namesStart), names.end());
      names.resize(namesStart);
    }
    return 1;
  }
};

// Element, attribute and instruction names as written, looked up by their
// UTF-8 bytes so a name seen before costs no conversion.
struct Utf8Hash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

class Builder {
 public:
  Builder(DocTree& tree, std::u16string lineBreak) : tree_(tree), lineBreak_(std::move(lineBreak)) {
    tree_.root = &tree_.nodes.emplace_back();
    push(tree_.root);
  }

  void install(XML_Parser parser) {
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &Builder::onStart, &Builder::onEnd);
    XML_SetCharacterDataHandler(parser, &Builder::onText);
    XML_SetCdataSectionHandler(parser, &Builder::onCdataStart, &Builder::onCdataEnd);
    XML_SetCommentHandler(parser, &Builder::onComment);
    XML_SetProcessingInstructionHandler(parser, &Builder::onInstruction);
    XML_SetStartDoctypeDeclHandler(parser, &Builder::onDoctype);
    // A default handler turns off the expansion of internal entities; their
    // references reach us here and are kept as written.
    XML_SetDefaultHandler(parser, &Builder::onDefault);
  }

  // Keeps the text of the elements and the CDATA section a parse error left
  // open, so the tree holds all that was read.
  void finish() {
    if (cdata_) cdata_->text = keepText(cdataText_);
    cdata_ = nullptr;
    for (size_t depth = depth_; depth-- > 0;) {
      OpenElement& open = stack_[depth];
      open.node->text = keepText(std::u16string_view(text_).substr(open.textStart));
      text_.resize(open.textStart);
    }
    depth_ = 1;
  }

 private:
  static Builder& self(void* data) { return *static_cast<Builder*>(data); }

  // The open elements live in stack_[0, depth_); entries above are kept for
  // reuse, so opening an element allocates nothing once the depth was seen.
  void push(DocNode* node) {
    if (depth_ == stack_.size()) stack_.emplace_back();
    stack_[depth_++].open(node, text_.size(), childNames_.size());
  }

  // Keeps the text of the innermost open element and closes it.
  void pop() {
    OpenElement& open = top();
    open.node->text = keepText(std::u16string_view(text_).substr(open.textStart));
    text_.resize(open.textStart);
    childNames_.resize(open.namesStart);
    open.manyNames.reset();
    --depth_;
  }

  OpenElement& top() { return stack_[depth_ - 1]; }

  static std::u16string_view keep(BlockStore<char16_t>& store, std::u16string_view text) {
    char16_t* run = store.allocate(text.size());
    if (!run) return {};
    std::copy(text.begin(), text.end(), run);
    return std::u16string_view(run, text.size());
  }

  std::u16string_view keepText(std::u16string_view text) { return keep(tree_.texts, text); }

  std::u16string_view name(const XML_Char* utf8) {
    std::string_view bytes(utf8);
    auto found = names_.find(bytes);
    if (found != names_.end()) return found->second;
    scratch_.clear();
    appendFromUtf8(scratch_, bytes);
    std::u16string_view kept = keep(tree_.names, scratch_);
    names_.emplace(std::string(bytes), kept);
    return kept;
  }

  DocNode* append(NodeKind kind, std::u16string_view name) {
    OpenElement& open = top();
    DocNode* node = &tree_.nodes.emplace_back();
    node->kind = kind;
    node->parent = open.node;
    node->name = name;
    if (kind == NodeKind::Element) {
      node->siblingNumber = open.countElement(childNames_, node->name);
    } else {
      node->siblingNumber = ++open.countOther(kind);
    }
    DocNode* parent = open.node;
    if (parent->lastChild) {
      parent->lastChild->nextSibling = node;
      node->previousSibling = parent->lastChild;
    } else {
      parent->firstChild = node;
    }
    parent->lastChild = node;
    return node;
  }

  // Where character data goes now: the open CDATA section or element.
  std::u16string& textTarget() { return cdata_ ? cdataText_ : text_; }

  // Character data with every reported line break in the file's own form.
  void appendText(std::u16string& target, const XML_Char* s, int len) {
    std::string_view bytes(s, static_cast<size_t>(len));
    size_t start = 0;
    for (;;) {
      size_t lf = bytes.find('\n', start);
      if (lf == std::string_view::npos) break;
      appendFromUtf8(target, bytes.substr(start, lf - start));
      target += lineBreak_;
      start = lf + 1;
    }
    appendFromUtf8(target, bytes.substr(start));
  }

  static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** atts) {
    Builder& b = self(data);
    DocNode* node = b.append(NodeKind::Element, b.name(name));
    size_t count = 0;
    while (atts[2 * count]) ++count;
    DocAttribute* attributes = b.tree_.attributes.allocate(count);
    for (size_t i = 0; i < count; ++i) {
      attributes[i].name = b.name(atts[2 * i]);
      b.scratch_.clear();
      appendFromUtf8(b.scratch_, atts[2 * i + 1]);
      attributes[i].value = b.keepText(b.scratch_);
    }
    node->attributes = attributes;
    node->attributeCount = static_cast<uint32_t>(count);
    b.push(node);
  }

  static void XMLCALL onEnd(void* data, const XML_Char*) {
    Builder& b = self(data);
    if (b.depth_ <= 1) return;
    b.pop();
  }

  static void XMLCALL onText(void* data, const XML_Char* s, int len) {
    Builder& b = self(data);
    b.appendText(b.textTarget(), s, len);
  }

  static void XMLCALL onCdataStart(void* data) {
    Builder& b = self(data);
    b.cdata_ = b.append(NodeKind::CData, {});
    b.cdataText_.clear();
  }

  static void XMLCALL onCdataEnd(void* data) {
    Builder& b = self(data);
    if (!b.cdata_) return;
    b.cdata_->text = b.keepText(b.cdataText_);
    b.cdata_ = nullptr;
  }

  // A comment or an instruction: its whole text comes at once.
  void appendWhole(NodeKind kind, std::u16string_view name, const XML_Char* s) {
    DocNode* node = append(kind, name);
    scratch_.clear();
    appendText(scratch_, s, static_cast<int>(std::char_traits<char>::length(s)));
    node->text = keepText(scratch_);
  }

  static void XMLCALL onComment(void* data, const XML_Char* s) {
    self(data).appendWhole(NodeKind::Comment, {}, s);
  }

  static void XMLCALL onInstruction(void* data, const XML_Char* target, const XML_Char* s) {
    Builder& b = self(data);
    b.appendWhole(NodeKind::Instruction, b.name(target), s);
  }

  static void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    self(data).append(NodeKind::DocType, {});
  }

  static void XMLCALL onDefault(void* data, const XML_Char* s, int len) {
    Builder& b = self(data);
    if (len < 2 || s[0] != '&' || s[len - 1] != ';') return;
    if (b.depth_ < 2) return;  // only references inside an element
    appendFromUtf8(b.textTarget(), std::string_view(s, static_cast<size_t>(len)));
  }

  DocTree& tree_;
  std::u16string lineBreak_;
  std::vector<OpenElement> stack_;
  std::u16string text_;    // the character data of the open elements, innermost last
  NameCounts childNames_;  // the child names of the open elements, innermost last
  size_t depth_ = 0;
  DocNode* cdata_ = nullptr;
  std::u16string cdataText_;
  std::u16string scratch_;  // a name, value or comment being converted
  std::unordered_map<std::string, std::u16string_view, Utf8Hash, std::equal_to<>> names_;
};

}  // namespace

std::unique_ptr<DocTree> parseDocument(std::string_view bytes) {
  auto tree = std::make_unique<DocTree>();
  XML_Parser parser = XML_ParserCreate(nullptr);
  if (!parser) return nullptr;
  Builder builder(*tree, detectLineBreak(bytes.substr(0, kLineBreakWindow)));
  builder.install(parser);
  size_t offset = 0;
  do {
    size_t size = std::min(kLargestPiece, bytes.size() - offset);
    bool last = offset + size >= bytes.size();
    if (XML_Parse(parser, bytes.data() + offset, static_cast<int>(size), last) == XML_STATUS_ERROR) {
      XML_Error code = XML_GetErrorCode(parser);
      tree->status = static_cast<int>(code);
      tree->errorLine = static_cast<int64_t>(XML_GetCurrentLineNumber(parser));
      tree->errorPosition = static_cast<int64_t>(XML_GetCurrentColumnNumber(parser)) + 1;
      const XML_LChar* message = XML_ErrorString(code);
      tree->errorMessage = fromUtf8(message ? message : "");
      break;
    }
    offset += size;
  } while (offset < bytes.size());
  builder.finish();
  XML_ParserFree(parser);
  return tree;
}

std::unique_ptr<DocTree> loadDocument(std::u16string_view path) {
  std::unique_ptr<platform::InputFile> file = platform::InputFile::open(path);
  if (!file) return nullptr;
  return loadDocument(*file);
}

std::unique_ptr<DocTree> loadDocument(platform::InputFile& file) {
  std::optional<std::string> bytes = file.readAll();
  if (!bytes || bytes->empty()) return nullptr;
  return parseDocument(*bytes);
}

std::u16string parserVersion() {
  // The library linked in, not the header compiled against.
  const XML_Expat_Version version = XML_ExpatVersionInfo();
  return decimalText(version.major) + u"." + decimalText(version.minor) + u"." + decimalText(version.micro);
}

const DocNode* rootElement(const DocTree& tree) {
  if (!tree.root) return nullptr;
  for (const DocNode* node = tree.root->firstChild; node; node = node->nextSibling) {
    if (node->kind == NodeKind::Element) return node;
  }
  return nullptr;
}

void releaseContent(DocTree& tree) {
  for (DocNode& node : tree.nodes) {
    node.text = {};
    node.attributes = nullptr;
    node.attributeCount = 0;
  }
  tree.texts.clear();
  tree.attributes.clear();
}

std::u16string_view attribute(const DocNode* node, std::u16string_view name) {
  if (!node) return {};
  for (uint32_t i = 0; i < node->attributeCount; ++i) {
    if (node->attributes[i].name == name) return node->attributes[i].value;
  }
  return {};
}

std::u16string_view pathSegment(const DocNode* node) {
  switch (node->kind) {
    case NodeKind::Element: return node->name;
    case NodeKind::Comment: return u"#comment";
    case NodeKind::CData: return u"#cdata";
    case NodeKind::DocType: return u"#dtd";
    case NodeKind::Instruction: return u"#instruction";
    case NodeKind::Document: break;
  }
  return u"";
}

std::u16string path(const DocNode* node) {
  if (!node || node->kind == NodeKind::Document) return u"/";
  std::vector<const DocNode*> chain;
  for (const DocNode* n = node; n && n->kind != NodeKind::Document; n = n->parent) chain.push_back(n);
  std::u16string result;
  for (size_t i = chain.size(); i-- > 0;) {
    const DocNode* n = chain[i];
    result += u'/';
    result.append(pathSegment(n));
    if (n->siblingNumber > 1) {
      std::string number = std::to_string(n->siblingNumber);
      result += u'[';
      result.append(number.begin(), number.end());
      result += u']';
    }
  }
  return result;
}

}  // namespace thc
