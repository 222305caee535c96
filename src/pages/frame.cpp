#include "pages/frame.h"

#include <string>

#include "common/output.h"

namespace thc {

namespace {

constexpr std::u16string_view pageHead =
    u"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html><head><title>";

constexpr std::u16string_view styleRules =
    u"body { background-color: #ffffdf; font-family: arial; font-size: 12px; }\n"
    u"a { color: #009999; }\n"
    u"a:visited { color: #006666; }\n"
    u"a:active { color: #006666; }\n"
    u".syntax { font-family: monospace; color: #006666; }\n"
    u".syntaxopt { font-style: italic; }\n"
    u".nextindexprev { text-align: center; }\n"
    u".padright { padding-right: 20px; }\n"
    u".divpar { margin-top: 12px; margin-bottom: 12px; }\n"
    u".marleft { margin-left: 20px; }\n"
    u".marleftdbl { margin-left: 40px; }\n"
    u".deprecated { color: #aa0000; }\n"
    u".stdfont { font-family: arial; font-size: 12px; }\n"
    u"h2 { text-align: center; }\n"
    u"h6 { text-align: center; font-style: italic; }\n"
    u"h5 { margin-left: 20px; font-style: italic; }\n"
    u"th { text-align: left; padding: 5px; }\n"
    u"td { padding: 5px; border: 1px solid black; vertical-align: text-top; }\n"
    u"tr { border: 1px solid black; }\n"
    u"table { border: 1px solid black; }\n";

constexpr std::u16string_view pageTail = u"</body></html>";

// Everything between the title and the body.
std::u16string makePageMiddle() {
  std::u16string middle =
      u"</title><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
      u"<style type=\"text/css\">\n";
  middle.append(styleRules);
  middle += u"</style></head><body>";
  return middle;
}

}  // namespace

WriteOutcome writeFramedPage(OutputFolder& folder, std::u16string_view file,
                             std::u16string_view title, std::u16string_view body) {
  static const std::u16string middle = makePageMiddle();
  return folder.writeText(file, {pageHead, title, middle, body, pageTail});
}

std::u16string_view styleSheet() { return styleRules; }

}  // namespace thc
