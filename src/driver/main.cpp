#include "driver/driver.h"
#include "driver/options.h"
#include "platform/commandline.h"
#include "platform/console_stdio.h"
#include "platform/outputdirectory.h"
#include "platform/requesters.h"

namespace {

// The options that shape a run.
thc::DriverOptions runOptions(const thc::CommandLine& command) {
  thc::DriverOptions options;
  options.outputOverride = thc::platform::environmentValue("TARNELTHC_OUTPUT");
  options.outputFolder = command.output;
  options.noWait = command.noWait;
  options.compileHelp = command.compileHelp;
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
    case thc::CommandLine::Action::run:
      break;
  }
  auto requesters = thc::platform::createRequesters(console);
  return thc::runDriver(command.arguments, console, *requesters, runOptions(command));
}
