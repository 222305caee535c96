#include "driver/driver.h"
#include "platform/commandline.h"
#include "platform/console_stdio.h"
#include "platform/outputdirectory.h"
#include "platform/requesters.h"

int main(int argc, char** argv) {
  thc::platform::keepRunningOnFailedWrites();
  thc::platform::StdConsole console;
  auto requesters = thc::platform::createRequesters(console);
  thc::DriverOptions options;
  options.outputOverride = thc::platform::environmentValue("TARNELTHC_OUTPUT");
#ifndef __SANITIZE_ADDRESS__
  options.keepModelAtExit = true;
#endif
  return thc::runDriver(thc::platform::processArguments(argc, argv), console, *requesters, options);
}
