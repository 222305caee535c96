#include "driver/options.h"

#include <string_view>

namespace thc {

namespace {

bool isOption(std::u16string_view argument) {
  if (argument.size() < 2 || argument[0] != u'-') return false;
  const char16_t second = argument[1];
  return second == u'-' || (second >= u'a' && second <= u'z') || (second >= u'A' && second <= u'Z');
}

void usageError(CommandLine& command, std::vector<std::u16string> lines) {
  command.action = CommandLine::Action::usageError;
  command.errors = std::move(lines);
}

// The value of an option such as -o/--output: the next argument, or what
// follows "=". An empty value (a folder name that would turn into the root)
// counts as no value.
bool takeValue(CommandLine& command, const std::vector<ExternalText>& arguments, size_t& i,
               std::optional<ExternalText>& target) {
  const std::u16string& option = arguments[i].text;
  const size_t equals = option.find(u'=');
  ExternalText value;
  std::u16string name = option;
  if (equals != std::u16string::npos) {
    name = option.substr(0, equals);
    value = ExternalText{option.substr(equals + 1), arguments[i].utf8};
  } else if (i + 1 < arguments.size()) {
    value = arguments[++i];
  }
  if (value.text.empty()) {
    usageError(command, {u"Missing value for " + name});
    return false;
  }
  target = std::move(value);
  return true;
}

// One option; false after a usage error.
bool takeOption(CommandLine& command, const std::vector<ExternalText>& arguments, size_t& i,
                bool& help, bool& version) {
  const std::u16string& option = arguments[i].text;
  if (option == u"-h" || option == u"--help") {
    help = true;
  } else if (option == u"--version") {
    version = true;
  } else if (option == u"-o" || option == u"--output" || option.starts_with(u"--output=")) {
    return takeValue(command, arguments, i, command.output);
  } else if (option == u"--compile" || option.starts_with(u"--compile=")) {
    return takeValue(command, arguments, i, command.compileProject);
  } else if (option == u"--hhc" || option.starts_with(u"--hhc=")) {
    command.compileHelp = true;
    return takeValue(command, arguments, i, command.helpCompiler);
  } else if (option == u"--no-wait") {
    command.noWait = true;
  } else if (option == u"--chm") {
    command.compileHelp = true;
  } else if (option == u"--check-links") {
    command.checkLinks = true;
  } else if (option == u"--confine") {
    command.confine = true;
  } else {
    usageError(command, {u"Unknown option " + option, u"Try --help"});
    return false;
  }
  return true;
}

}  // namespace

CommandLine parseCommandLine(std::vector<ExternalText> arguments) {
  CommandLine command;
  bool help = false;
  bool version = false;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    // The program name is never an option, whatever it is called.
    if (i == 0 || optionsEnded || !isOption(arguments[i].text)) {
      command.arguments.push_back(std::move(arguments[i]));
    } else if (arguments[i].text == u"--") {
      optionsEnded = true;
    } else if (!takeOption(command, arguments, i, help, version)) {
      return command;
    }
  }
  if (help) {
    command.action = CommandLine::Action::help;
  } else if (version) {
    command.action = CommandLine::Action::version;
  } else if (command.compileProject) {
    command.action = CommandLine::Action::compile;
  }
  return command;
}

std::vector<std::u16string> usageText() {
  return {
      u"Usage: tarnelthc [options] [first [project.xml]]",
      u"       tarnelthc --compile project.hhp",
      u"",
      u"Compiles an XML document project into HTML pages and the project, contents",
      u"and index files of an HTML Help build.",
      u"",
      u"  first                only echoed (\"Analyzing file \" + first)",
      u"  project.xml          the project file; without it the program asks for the",
      u"                       project file and then for the output folder",
      u"",
      u"Options:",
      u"  -h, --help           print this text and end",
      u"  --version            print the version and end",
      u"  -o, --output DIR     write into the folder DIR (also --output=DIR); without",
      u"                       it: TARNELTHC_OUTPUT, else the folder html beside the",
      u"                       project file",
      u"  --no-wait            end without waiting for Return",
      u"  --chm                compile the output folder into the help file",
      u"  --hhc PROGRAM        compile it with the outside HTML Help compiler PROGRAM",
      u"                       (chmcmd, hhc.exe ...) instead; implies --chm",
      u"  --compile FILE.hhp   compile the HTML Help project FILE.hhp (written by any",
      u"                       generator) into its help file beside it, and end",
      u"  --check-links        check that every link and anchor of the written files",
      u"                       leads to a file written in this run",
      u"  --confine            read imports and images only from inside the project",
      u"                       folder (links resolved)",
      u"  --                   every argument after it is a plain argument",
      u"",
      u"Exit code: 0 when everything was written, 1 otherwise, 2 for a usage error.",
  };
}

}  // namespace thc
