#include "check/check.h"

#include <string>

#include "common/text.h"

namespace thc {

namespace {

void reportAt(SourceRef source, std::u16string_view message, const CheckReport& report) {
  report.console.writeLine(u"Error at Node " + report.sources.path(source));
  report.console.writeLine(message);
}

bool isLetterOrUnderscore(char16_t c) {
  return c == u'_' || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character starting at index i: both halves of a surrogate pair, so a
// character outside the BMP is named whole in the message.
std::u16string_view characterAt(std::u16string_view text, size_t i) {
  if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
    return text.substr(i, 2);
  }
  return text.substr(i, 1);
}

std::u16string valueOf(std::u16string_view label, std::u16string_view rest) {
  std::u16string message = u"value of ";
  message += label;
  message += rest;
  return message;
}

// Presence first, then the identifier form, both always run.
bool requireIdentifier(std::u16string_view label, std::u16string_view text, SourceRef source,
                       const CheckReport& report) {
  bool ok = requireValue(label, text, source, report);
  return checkIdentifier(label, text, source, report) && ok;
}

bool checkArgument(const Argument& argument, const CheckReport& report) {
  bool ok = requireIdentifier(u"name", argument.name, argument.source, report);
  return requireValue(u"index", argument.index, argument.source, report) && ok;
}

bool checkExample(const Example& example, const CheckReport& report) {
  bool ok = requireValue(u"example value", example.text, example.source, report);
  return requireValue(u"name", example.name, example.source, report) && ok;
}

// The field named "name" depends on the kind; every kind but a library
// reference also names its library, and a member reference its class.
bool checkReference(const Reference& reference, const CheckReport& report) {
  const std::u16string* name = nullptr;
  switch (reference.kind) {
    case ReferenceKind::Library: name = &reference.library; break;
    case ReferenceKind::Constant: name = &reference.constantName; break;
    case ReferenceKind::Command: name = &reference.memberName; break;
    case ReferenceKind::Class: name = &reference.className; break;
    case ReferenceKind::Structure: name = &reference.structureName; break;
    case ReferenceKind::Macro: name = &reference.memberName; break;
    case ReferenceKind::Member: name = &reference.memberName; break;
  }
  if (!name) return true;  // an unknown kind gets no rule
  bool ok = requireIdentifier(u"name", *name, reference.source, report);
  if (reference.kind == ReferenceKind::Library) return ok;
  ok = requireIdentifier(u"lib", reference.library, reference.source, report) && ok;
  if (reference.kind != ReferenceKind::Member) return ok;
  return requireIdentifier(u"class", reference.className, reference.source, report) && ok;
}

bool checkClass(const Class& cls, const CheckReport& report) {
  bool ok = requireIdentifier(u"name", cls.name, cls.source, report);
  for (const Command& method : cls.methods) ok = checkCommandRecord(method, report) && ok;
  return ok;
}

bool checkMacro(const Macro& macro, const CheckReport& report) {
  bool ok = requireIdentifier(u"name", macro.name, macro.source, report);
  for (const Argument& argument : macro.args) ok = checkArgument(argument, report) && ok;
  return ok;
}

// Structure names only need to be present; their elements are identifiers.
bool checkStructure(const Structure& structure, const CheckReport& report) {
  bool ok = requireValue(u"name", structure.name, structure.source, report);
  for (const StructureElement& element : structure.elements) {
    ok = requireIdentifier(u"name", element.name, element.source, report) && ok;
    ok = requireValue(u"offset", element.offset, element.source, report) && ok;
  }
  return ok;
}

bool checkLibrary(const Library& library, const CheckReport& report) {
  bool ok = requireIdentifier(u"name", library.name, library.source, report);
  for (const Class& cls : library.classes) ok = checkClass(cls, report) && ok;
  for (const Command& command : library.commands) ok = checkCommandRecord(command, report) && ok;
  for (const Constant& constant : library.constants) {
    ok = requireIdentifier(u"name", constant.name, constant.source, report) && ok;
  }
  for (const Macro& macro : library.macros) ok = checkMacro(macro, report) && ok;
  for (const Structure& structure : library.structures) ok = checkStructure(structure, report) && ok;
  return ok;
}

}  // namespace

bool requireValue(std::u16string_view label, std::u16string_view text, SourceRef source,
                  const CheckReport& report) {
  if (!trimmedView(text).empty()) return true;
  reportAt(source, u"missing " + std::u16string(label), report);
  return false;
}

bool checkIdentifier(std::u16string_view label, std::u16string_view text, SourceRef source,
                     const CheckReport& report) {
  const std::u16string_view value = trimmedView(text);
  const size_t last = value.size();  // positions count from 1
  for (size_t i = 0; i < value.size(); ++i) {
    const char16_t c = value[i];
    const size_t position = i + 1;
    if (isLetterOrUnderscore(c)) continue;
    if (isDigit(c)) {
      if (position == 1) reportAt(source, valueOf(label, u" may not start with a number"), report);
      continue;
    }
    if (c == u'*') {
      if (position != 1) reportAt(source, valueOf(label, u" may only start with '*'"), report);
      continue;
    }
    if (c == u'$') {
      if (position != last) reportAt(source, valueOf(label, u" may only end with '$'"), report);
      continue;
    }
    std::u16string rest = u" may not contain '";
    rest += characterAt(value, i);
    rest += u'\'';
    reportAt(source, valueOf(label, rest), report);
    return false;
  }
  return true;
}

bool checkCommandRecord(const Command& command, const CheckReport& report) {
  bool ok = requireIdentifier(u"name", command.name, command.source, report);
  // The os entries have no source of their own; the command's path is printed.
  for (const std::u16string& os : command.osList) {
    ok = requireValue(u"OS value", os, command.source, report) && ok;
  }
  for (const Example& example : command.examples) ok = checkExample(example, report) && ok;
  for (const Argument& argument : command.args) ok = checkArgument(argument, report) && ok;
  for (const Reference& reference : command.references) ok = checkReference(reference, report) && ok;
  return ok;
}

bool checkProject(const Project& project, const SourceMap& sources, Console& console) {
  const CheckReport report{sources, console};
  bool ok = requireValue(u"title", project.title, project.docSource, report);
  for (const Library& library : project.libraries) ok = checkLibrary(library, report) && ok;
  return ok;
}

}  // namespace thc
