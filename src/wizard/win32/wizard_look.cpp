#include "wizard/win32/wizard_look.h"

#include "wizard/win32/window_text.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace qor::wizard::win32 {

namespace {

constexpr int kPointSize = 8;

platform::UniqueHfont MakeFont(const Scale& scale, int weight, bool underline) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(kPointSize, scale.Dpi(), 72);
  font.lfWeight = weight;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
  platform::UniqueHfont made(CreateFontIndirectW(&font));
  if (!made) throw std::runtime_error("cannot create the wizard's font");
  return made;
}

// The wizard's own icon: a navy envelope with a red bounce arrow, drawn at the size asked for so
// that it is crisp at any DPI.
platform::UniqueHicon MakeIcon(int size) {
  const platform::UniqueScreenDc screen(GetDC(nullptr));
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_RGB;
  void* bits = nullptr;
  const platform::UniqueHbitmap colour(
      CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
  const platform::UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  if (!colour || !memory) return {};
  const HDC dc = memory.Get();
  const platform::UniqueHpen navy(CreatePen(PS_SOLID, (std::max)(1, size / 16), RGB(0, 0, 128)));
  const platform::UniqueHpen red(CreatePen(PS_SOLID, (std::max)(1, size / 10), RGB(192, 0, 0)));
  const platform::UniqueHbrush paper(CreateSolidBrush(RGB(255, 255, 224)));
  {
    const platform::GdiSelection bitmap(dc, colour.Get());
    const RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    const int margin = size / 8;
    const int top = size / 4;
    const int bottom = size - size / 5;
    {
      const platform::GdiSelection pen(dc, navy.Get());
      const platform::GdiSelection brush(dc, paper.Get());
      Rectangle(dc, margin, top, size - margin, bottom);
      MoveToEx(dc, margin, top, nullptr);
      LineTo(dc, size / 2, (top + bottom) / 2);
      LineTo(dc, size - margin, top);
    }
    const platform::GdiSelection pen(dc, red.Get());
    MoveToEx(dc, size - margin, size / 8, nullptr);
    LineTo(dc, size / 2, size / 8);
    LineTo(dc, size / 2 + size / 8, 0);
    MoveToEx(dc, size / 2, size / 8, nullptr);
    LineTo(dc, size / 2 + size / 8, size / 4);
  }

  // GDI leaves alpha at 0: make every pixel opaque.
  auto* pixels = static_cast<DWORD*>(bits);
  for (int i = 0; i < size * size; ++i) pixels[i] |= 0xFF000000;
  const platform::UniqueHbitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  return platform::UniqueHicon(CreateIconIndirect(&info));
}

}  // namespace

RECT Scale::Rect(const Bounds& bounds) const noexcept {
  const int left = (*this)(bounds.left);
  const int top = (*this)(bounds.top);
  return {left, top, left + (*this)(bounds.width), top + (*this)(bounds.height)};
}

COLORREF ToColorRef(Colour colour) noexcept {
  if ((colour & kSystemColour) == kSystemColour) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour);
}

WizardLook::WizardLook(const Scale& scale)
    : font_(MakeFont(scale, FW_NORMAL, false)),
      bold_(MakeFont(scale, FW_BOLD, false)),
      link_(MakeFont(scale, FW_NORMAL, true)),
      bigIcon_(MakeIcon(GetSystemMetrics(SM_CXICON))),
      smallIcon_(MakeIcon(GetSystemMetrics(SM_CXSMICON))) {}

HBRUSH WizardLook::Brush(Colour colour) {
  auto& brush = brushes_[colour];
  if (!brush) brush.Reset(CreateSolidBrush(ToColorRef(colour)));
  return brush.Get();
}

void DrawLinkButton(const DRAWITEMSTRUCT& item, HFONT font) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  const std::wstring caption = WindowText(item.hwndItem);
  const int length = static_cast<int>(caption.size());

  const platform::GdiSelection selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : ToColorRef(kNavyColour));
  RECT text = area;
  DrawTextW(dc, caption.c_str(), length, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  const int shift = ((area.bottom - area.top) - (text.bottom - text.top)) / 2;
  OffsetRect(&text, 1, shift);
  DrawTextW(dc, caption.c_str(), length, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    InflateRect(&text, 1, 0);
    DrawFocusRect(dc, &text);
  }
}

}  // namespace qor::wizard::win32
