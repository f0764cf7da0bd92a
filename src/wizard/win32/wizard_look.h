#pragma once

// How the wizard looks at the system's DPI: its layout scale, fonts, colours and icon.

#include <windows.h>

#include <map>

#include "platform/unique_any_win32.h"
#include "wizard/model/controls.h"

namespace qor::wizard::win32 {

// Designed pixels (96 DPI) to the system's.
class Scale {
 public:
  explicit Scale(int dpi) noexcept : dpi_(dpi) {}
  int Dpi() const noexcept { return dpi_; }
  int operator()(int designed) const noexcept { return MulDiv(designed, dpi_, 96); }
  RECT Rect(const Bounds& bounds) const noexcept;

 private:
  int dpi_;
};


// A COLORREF for a colour as the form designer keeps it.
COLORREF ToColorRef(Colour colour) noexcept;

class WizardLook {
 public:
  explicit WizardLook(const Scale& scale);

  HFONT Font() const noexcept { return font_.Get(); }
  HFONT BoldFont() const noexcept { return bold_.Get(); }
  HFONT LinkFont() const noexcept { return link_.Get(); }
  // A solid brush of the colour, kept for the life of the look.
  HBRUSH Brush(Colour colour);
  HICON BigIcon() const noexcept { return bigIcon_.Get(); }
  HICON SmallIcon() const noexcept { return smallIcon_.Get(); }

 private:
  platform::UniqueHfont font_;
  platform::UniqueHfont bold_;
  platform::UniqueHfont link_;
  platform::UniqueHicon bigIcon_;
  platform::UniqueHicon smallIcon_;
  std::map<Colour, platform::UniqueHbrush> brushes_;
};

// Draws a flat link-style button: its caption in navy and underlined, grey when disabled.
void DrawLinkButton(const DRAWITEMSTRUCT& item, HFONT font);

}  // namespace qor::wizard::win32
