#include "platform/win32/dialog_fonts.h"

#include <algorithm>

namespace hoshizora {

LOGFONTW DialogLogFont(const DialogFont& font, const LOGFONTW* base) {
  LOGFONTW lf{};
  if (base != nullptr) {
    lf = *base;
  } else {
    lf.lfCharSet = DEFAULT_CHARSET;
  }
  lf.lfHeight = -font.pixel_height;
  lf.lfWidth = 0;
  lf.lfWeight = font.weight;
  const std::size_t length = std::min<std::size_t>(font.face.size(), LF_FACESIZE - 1);
  std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), L'\0');
  std::copy_n(font.face.begin(), length, lf.lfFaceName);
  return lf;
}

HFONT CreateDialogGdiFont(const DialogFont& font) {
  LOGFONTW gui{};
  const LOGFONTW* base = nullptr;
  if (font.face == u"MS UI Gothic") {
    if (HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
        stock != nullptr && GetObjectW(stock, sizeof gui, &gui) == sizeof gui) {
      base = &gui;
    }
  }
  const LOGFONTW lf = DialogLogFont(font, base);
  return CreateFontIndirectW(&lf);
}

int ScreenPixelsPerInchY() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) {
    return 96;
  }
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace hoshizora
