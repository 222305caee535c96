#include <cstdint>

#include "driver/compileproject.h"
#include "driver/driver.h"
#include "driver/options.h"
#include "platform/commandline.h"
#include "platform/console_stdio.h"
#include "platform/outputdirectory.h"
#include "platform/requesters.h"

namespace {

// SOURCE_DATE_EPOCH, the time reproducible builds agree on: decimal seconds
// since 1970; 0 (no time stored) when unset or not a number.
std::uint64_t sourceDateEpoch() {
  const std::u16string text = thc::platform::environmentValue("SOURCE_DATE_EPOCH").text;
  std::uint64_t seconds = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9' || seconds > 0xFFFFFFFFull) return 0;
    seconds = seconds * 10 + (c - u'0');
  }
  return seconds > 0xFFFFFFFFull ? 0 : seconds;
}

// How our own help compiler works here.
thc::HelpCompilerSettings compilerSettings() {
  thc::HelpCompilerSettings settings;
  settings.seconds = sourceDateEpoch();
  settings.threads = thc::compressionThreads();
  return settings;
}

// The options that shape a run.
thc::DriverOptions runOptions(const thc::CommandLine& command) {
  thc::DriverOptions options;
  options.outputOverride = thc::platform::environmentValue("TARNELTHC_OUTPUT");
  options.outputFolder = command.output;
  options.noWait = command.noWait;
  options.compileHelp = command.compileHelp;
  if (command.helpCompiler) options.helpCompiler = command.helpCompiler->text;
  options.sourceDateEpoch = sourceDateEpoch();
  options.checkLinks = command.checkLinks;
  options.confine = command.confine;
#ifndef __SANITIZE_ADDRESS__
  options.keepModelAtExit = true;
#endif
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  thc::platform::keepRunningOnFailedWrites();
  thc::platform::StdConsole console;
  const thc::CommandLine command =
      thc::parseCommandLine(thc::platform::processArguments(argc, argv));
  switch (command.action) {
    case thc::CommandLine::Action::usageError:
      for (const std::u16string& line : command.errors) thc::platform::writeErrorLine(line);
      return 2;
    case thc::CommandLine::Action::help:
      thc::printUsage(console);
      return 0;
    case thc::CommandLine::Action::version:
      thc::printVersion(console);
      return 0;
    case thc::CommandLine::Action::compile:
      return thc::compileProjectFile(*command.compileProject, console, compilerSettings());
    case thc::CommandLine::Action::run:
      break;
  }
  auto requesters = thc::platform::createRequesters(console);
  return thc::runDriver(command.arguments, console, *requesters, runOptions(command));
}
