#include "markup/markup.h"

#include <array>
#include <optional>

#include "codepage/codepage.h"
#include "common/text.h"
#include "markup/imagelist.h"
#include "markup/naming.h"

namespace thc {

namespace {

using Text = std::u16string_view;

// Keywords that append a fixed text. Tested in this order before the
// keywords that take an argument; none is a prefix of another.
struct FixedKeyword {
  Text keyword;
  Text html;
};

constexpr std::array<FixedKeyword, 15> kFixedKeywords{{
    {u"@@", u"@"},
    {u"@lt", u"&lt;"},
    {u"@gt", u"&gt;"},
    {u"@spc", u"&nbsp;"},
    {u"@linebreak", u"<br>"},
    {u"@code", u"<span class='syntax'>"},
    {u"@endcode", u"</span>"},
    {u"@bold", u"<b>"},
    {u"@endbold", u"</b>"},
    {u"@italic", u"<i>"},
    {u"@enditalic", u"</i>"},
    {u"@paragraph", u"<p>"},
    {u"@endparagraph", u"</p>"},
    {u"@endindent", u"</div>"},
    {u"@endcolor", u"</span>"},
}};

enum class Action {
  Indent,
  RefMember,
  RefCommand,
  RefMacro,
  RefClass,
  RefConstant,
  RefStruct,
  RefLibrary,
  Const,
  Func,
  Image,
  Color,
};

struct ArgumentKeyword {
  Text keyword;
  Action action;
};

// "@indent" is the only one that may stand without "(".
constexpr std::array<ArgumentKeyword, 12> kArgumentKeywords{{
    {u"@indent", Action::Indent},
    {u"@refmember(", Action::RefMember},
    {u"@refcommand(", Action::RefCommand},
    {u"@refmacro(", Action::RefMacro},
    {u"@refclass(", Action::RefClass},
    {u"@refconstant(", Action::RefConstant},
    {u"@refstruct(", Action::RefStruct},
    {u"@reflibrary(", Action::RefLibrary},
    {u"@const(", Action::Const},
    {u"@func(", Action::Func},
    {u"@image(", Action::Image},
    {u"@color(", Action::Color},
}};

// Field `number` (1-based) of a comma-separated argument; "" when missing.
Text field(Text argument, int number) {
  size_t begin = 0;
  for (int i = 1; i < number; ++i) {
    size_t comma = argument.find(u',', begin);
    if (comma == Text::npos) return {};
    begin = comma + 1;
  }
  size_t end = argument.find(u',', begin);
  if (end == Text::npos) end = argument.size();
  return argument.substr(begin, end - begin);
}

// Whether the text at an "@" starts with the keyword. The character after
// the "@" is compared first, which rules out nearly every keyword at once.
bool matches(Text rest, Text keyword) {
  return rest.size() >= keyword.size() && rest[1] == keyword[1] && rest.starts_with(keyword);
}

void appendHexByte(std::u16string& out, int64_t value) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  auto byte = static_cast<unsigned>(static_cast<uint64_t>(value) & 0xFFu);
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0Fu];
}

void appendLink(std::u16string& out, Text target, Text text) {
  out += u"<a href='";
  out.append(target);
  out += u"' class='syntax'>";
  out.append(text);
  out += u"</a>";
}

// One call of the translator: the text, where the scan stands, and what has
// been produced so far.
class Translation {
 public:
  Translation(Text text, const MarkupContext& context) : text_(text), context_(context) {
    result_.reserve(text.size());
  }

  std::u16string run() {
    size_t pos = 0;  // 0-based; positions printed are 1-based
    for (;;) {
      size_t mark = text_.find(u'@', pos);
      if (mark == Text::npos) {
        result_.append(text_.substr(pos));
        return std::move(result_);
      }
      result_.append(text_.substr(pos, mark - pos));
      std::optional<size_t> next = keywordAt(mark);
      if (!next) return std::u16string(text_);  // parse error: the input, untranslated
      pos = *next;
    }
  }

 private:
  // Handles the keyword at `mark`; the position after it, or none on a
  // parse error.
  std::optional<size_t> keywordAt(size_t mark) {
    Text rest = text_.substr(mark);
    for (const FixedKeyword& fixed : kFixedKeywords) {
      if (matches(rest, fixed.keyword)) {
        result_.append(fixed.html);
        return mark + fixed.keyword.size();
      }
    }
    for (const ArgumentKeyword& keyword : kArgumentKeywords) {
      if (!matches(rest, keyword.keyword)) continue;
      size_t start = mark + keyword.keyword.size();
      if (keyword.action == Action::Indent) {
        if (start >= text_.size() || text_[start] != u'(') {
          result_ += u"<div class='marleft'>";
          return start;
        }
        ++start;
      }
      size_t close = text_.find(u')', start);
      if (close == Text::npos) {
        report(u"Parse Error at position ", start + 1, u"missing ')'");
        return std::nullopt;
      }
      apply(keyword.action, text_.substr(start, close - start));
      return close + 1;
    }
    report(u"Warning at position ", mark + 1, u"suspicious '@'");
    result_ += u'@';
    return mark + 1;
  }

  void report(Text label, size_t position, Text message) {
    Console& console = context_.console;
    console.writeLine(std::u16string(label) + decimalText(static_cast<int64_t>(position)));
    console.writeLine(u"Node: " + context_.origin.path());
    console.writeLine(message);
  }

  std::u16string library(Text value) const {
    return valueOrDefault(value, context_.library);
  }

  // The project's lang is read before anything that holds markup.
  PageNames names() const { return PageNames{helpCodePage(context_.lang)}; }

  void apply(Action action, Text argument) {
    switch (action) {
      case Action::Indent:
        return indent(argument);
      case Action::RefMember: {
        Text member = field(argument, 1);
        std::u16string cls = valueOrDefault(field(argument, 2), context_.cls);
        std::u16string lib = library(field(argument, 3));
        return appendLink(result_, memberPageName(names(), lib, cls, member),
                          memberLinkText(lib, cls, member));
      }
      case Action::RefCommand: {
        Text name = field(argument, 1);
        std::u16string lib = library(field(argument, 2));
        return appendLink(result_, commandPageName(names(), lib, name), commandLinkText(lib, name));
      }
      case Action::RefMacro: {
        Text name = field(argument, 1);
        std::u16string lib = library(field(argument, 2));
        return appendLink(result_, macroLink(names(), lib, name), macroLinkText(lib, name));
      }
      case Action::RefClass: {
        Text name = field(argument, 1);
        std::u16string lib = library(field(argument, 2));
        return appendLink(result_, classPageName(names(), lib, name), classLinkText(lib, name));
      }
      case Action::RefConstant: {
        Text name = field(argument, 1);
        std::u16string lib = library(field(argument, 2));
        return appendLink(result_, constantLink(names(), lib, name), constantLinkText(lib, name));
      }
      case Action::RefStruct: {
        Text name = field(argument, 1);
        std::u16string lib = library(field(argument, 2));
        return appendLink(result_, structurePageName(names(), lib, name),
                          structureLinkText(lib, name));
      }
      case Action::RefLibrary:
        return appendLink(result_, libraryPageName(names(), argument), libraryLinkText(argument));
      case Action::Const:
        result_ += u"<span class='syntax'>#";
        result_ += trimText(argument);
        result_ += u"</span>";
        return;
      case Action::Func:
        result_ += u"<span class='syntax'>";
        result_ += trimText(argument);
        result_ += u"()</span>";
        return;
      case Action::Image:
        return image(argument);
      case Action::Color:
        return color(argument);
    }
  }

  // "@indent(...)": both bracketed forms end the attribute with a blank.
  void indent(Text argument) {
    std::u16string width = trimText(argument);
    result_ += u"<div ";
    if (width.empty()) {
      result_ += u"class='marleft' ";
    } else {
      result_ += u"style='margin-left: ";
      result_ += decimalText(textToInteger(width));
      result_ += u"px;' ";
    }
    result_ += u">";
  }

  void color(Text argument) {
    result_ += u"<span style='color: #";
    for (int part = 1; part <= 3; ++part)
      appendHexByte(result_, textToInteger(field(argument, part)));
    result_ += u";'>";
  }

  // The page shows the image under its number; image copying later stores
  // the source under that same name.
  void image(Text argument) {
    std::u16string source = trimText(argument);
    const int64_t number = registerImage(context_.images, source);
    result_ += u"<img src='";
    result_ += imageFileName(number, source);
    result_ += u"' />";
  }

  Text text_;
  const MarkupContext& context_;
  std::u16string result_;
};

}  // namespace

std::u16string translateMarkup(std::u16string_view text, const MarkupContext& context) {
  return Translation(text, context).run();
}

}  // namespace thc
