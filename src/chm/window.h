// A window of a help file: as a project's [WINDOWS] line defines it (texts
// in UTF-16) and as #WINDOWS stores it (texts in the help's code page).
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

namespace thc::chm {

// The numbers of a window; validMembers says which of them were given.
struct WindowNumbers {
  std::uint32_t validMembers = 0;
  std::uint32_t properties = 0;
  std::uint32_t styles = 0;
  std::uint32_t exStyles = 0;
  std::array<std::int32_t, 4> position{};  // left, top, right, bottom
  std::uint32_t showState = 0;
  std::uint32_t navWidth = 0;
  std::uint32_t toolbarFlags = 0;
  std::uint32_t notExpanded = 0;
  std::uint32_t currentTab = 0;
  std::uint32_t tabPosition = 0;
  std::uint32_t notifyId = 0;
};

// Texts are empty for none.
template <typename Text>
struct Window : WindowNumbers {
  Text name, caption, contents, index, defaultFile, home;
  Text jump1Url, jump1Text, jump2Url, jump2Text;

  // The same window with every text passed through `convert`.
  template <typename Convert>
  auto converted(Convert convert) const -> Window<std::invoke_result_t<Convert&, const Text&>> {
    return {static_cast<const WindowNumbers&>(*this), convert(name), convert(caption), convert(contents),
            convert(index), convert(defaultFile), convert(home), convert(jump1Url), convert(jump1Text),
            convert(jump2Url), convert(jump2Text)};
  }
};

}  // namespace thc::chm
