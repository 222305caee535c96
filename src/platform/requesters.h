// The two requesters and the message box of the driver. On POSIX they are
// terminal prompts on the console; on Windows the standard dialogs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/console.h"
#include "base/utf.h"

namespace thc::platform {

class Requesters {
 public:
  virtual ~Requesters() = default;
  // The chosen project file; none when cancelled. A typed answer whose bytes
  // are not UTF-8 is returned as such, for the caller to refuse.
  virtual std::optional<ExternalText> chooseProjectFile() = 0;
  // The chosen output folder, starting in `start`; none when cancelled.
  virtual std::optional<ExternalText> chooseOutputFolder(std::u16string_view start) = 0;
  virtual void showMessage(std::u16string_view title, std::u16string_view text) = 0;
};

// The requesters as console prompts (file: "Select document project file: ",
// folder: "Path to store generated files [start]: "); the message box goes to
// standard error.
class ConsoleRequesters : public Requesters {
 public:
  explicit ConsoleRequesters(Console& console) : console_(console) {}
  std::optional<ExternalText> chooseProjectFile() override;
  std::optional<ExternalText> chooseOutputFolder(std::u16string_view start) override;
  void showMessage(std::u16string_view title, std::u16string_view text) override;

 private:
  Console& console_;
};

// The requesters of this system: the console prompts above on POSIX, the
// standard dialogs and message box on Windows.
std::unique_ptr<Requesters> createRequesters(Console& console);

}  // namespace thc::platform
