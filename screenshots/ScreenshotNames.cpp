#include "screenshots/ScreenshotNames.h"

#include "settings/extfunc.h"

namespace qvn {

namespace {

constexpr std::u16string_view BmpExtension = u".bmp";
constexpr std::u16string_view JpegExtension = u".jpg";

bool EndsInBmpOfAnyCase(std::u16string_view name) {
  if (name.size() < BmpExtension.size()) return false;
  const std::u16string_view tail = name.substr(name.size() - BmpExtension.size());
  for (std::size_t i = 0; i < tail.size(); ++i) {
    const char16_t c = tail[i] >= u'A' && tail[i] <= u'Z' ? char16_t(tail[i] - u'A' + u'a') : tail[i];
    if (c != BmpExtension[i]) return false;
  }
  return true;
}

}  // namespace

std::u16string JpegNameFor(std::u16string_view bmpName, const platform::ITextServices& text) {
  std::u16string target = ReplaceAll(BmpExtension, JpegExtension, bmpName);
  if (EndsInBmpOfAnyCase(bmpName) && !bmpName.ends_with(BmpExtension))
    target.replace(target.size() - JpegExtension.size(), JpegExtension.size(), JpegExtension);
  if (text.UpperWide(target) == text.UpperWide(bmpName)) return {};
  return target;
}

}  // namespace qvn
