#include "linkcheck/report.h"

namespace thc {

namespace {

void report(const LinkFindings& findings, Console& console) {
  for (const BrokenLink& link : findings.broken) {
    console.writeLine(u"Broken link in " + link.file + u": " + link.target);
  }
  for (const auto& [first, second] : findings.caseClashes) {
    console.writeLine(u"Names differ only in case: " + first + u", " + second);
  }
}

}  // namespace

bool reportLinks(Console& console, const LinkChecker& checker) {
  console.writeLine(u"Checking links ...");
  const LinkFindings findings = checker.finish();
  report(findings, console);
  console.writeLine(findings.clean() ? u"done" : u"Broken links found");
  return findings.clean();
}

}  // namespace thc
