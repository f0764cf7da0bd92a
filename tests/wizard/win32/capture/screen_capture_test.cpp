#include "wizard/win32/capture/screen_capture.h"

#include <wincodec.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "com/com_error.h"
#include "com/com_init.h"
#include "com/com_ptr.h"
#include "com/utf.h"
#include "platform/unique_any_win32.h"
#include "support/temp_folder.h"

namespace qor::wizard::win32 {
namespace {

using testing::HasSubstr;

constexpr COLORREF kPaint = RGB(0x20, 0xA0, 0x60);
constexpr wchar_t kClassName[] = L"QorScreenCaptureTestWindow";

LRESULT CALLBACK PaintSolid(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (const HDC dc = BeginPaint(window, &paint)) {
        const platform::UniqueHbrush brush(CreateSolidBrush(kPaint));
        FillRect(dc, &paint.rcPaint, brush.Get());
      }
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

class WindowClass {
 public:
  WindowClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PaintSolid;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0) throw std::runtime_error("RegisterClassExW failed");
  }
  ~WindowClass() { UnregisterClassW(kClassName, GetModuleHandleW(nullptr)); }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
};

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

struct Image {
  GUID container{};
  UINT width = 0;
  UINT height = 0;
  std::vector<BYTE> bgrx;  // 32-bit BGR, the fourth byte unused

  COLORREF At(UINT x, UINT y) const {
    const BYTE* pixel = &bgrx[(static_cast<std::size_t>(y) * width + x) * 4];
    return RGB(pixel[2], pixel[1], pixel[0]);
  }
};

Image ReadImage(const std::wstring& file) {
  com::ComPtr<IWICImagingFactory> factory;
  com::ThrowIfFailed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      __uuidof(IWICImagingFactory), factory.PutVoid()));
  com::ComPtr<IWICBitmapDecoder> decoder;
  com::ThrowIfFailed(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand, decoder.Put()));
  com::ComPtr<IWICBitmapFrameDecode> frame;
  com::ThrowIfFailed(decoder->GetFrame(0, frame.Put()));
  com::ComPtr<IWICFormatConverter> converter;
  com::ThrowIfFailed(factory->CreateFormatConverter(converter.Put()));
  com::ThrowIfFailed(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                           0.0, WICBitmapPaletteTypeCustom));

  Image image;
  com::ThrowIfFailed(decoder->GetContainerFormat(&image.container));
  com::ThrowIfFailed(converter->GetSize(&image.width, &image.height));
  image.bgrx.resize(static_cast<std::size_t>(image.width) * image.height * 4);
  com::ThrowIfFailed(
      converter->CopyPixels(nullptr, image.width * 4, static_cast<UINT>(image.bgrx.size()), image.bgrx.data()));
  return image;
}

class ScreenCaptureTest : public ::testing::Test {
 protected:
  std::wstring FileNamed(const wchar_t* name) const { return (folder_.Path() / name).wstring(); }

 private:
  com::ComInit com_;
  tests::TempFolder folder_;
};

TEST_F(ScreenCaptureTest, CaptureScreen_WritesThePixelsOfTheAreaAsPng) {
  const WindowClass windowClass;
  const RECT area{100, 100, 164, 148};
  const platform::UniqueHwnd window(CreateWindowExW(
      WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP | WS_VISIBLE, area.left, area.top,
      area.right - area.left, area.bottom - area.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(window) << "CreateWindowExW failed with error " << GetLastError();
  SetWindowPos(window.Get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(window.Get());
  const std::wstring file = FileNamed(L"area.png");

  // With no window manager the window reaches the screen a moment after it is shown.
  Image image;
  const ULONGLONG deadline = GetTickCount64() + 2000;
  for (;;) {
    PumpMessages();
    CaptureScreen(area, file);
    image = ReadImage(file);
    if (image.At(image.width / 2, image.height / 2) == kPaint || GetTickCount64() > deadline) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }

  EXPECT_EQ(image.container, GUID_ContainerFormatPng);
  ASSERT_EQ(image.width, 64u);
  ASSERT_EQ(image.height, 48u);
  int wrong = 0;
  for (UINT y = 0; y < image.height; ++y)
    for (UINT x = 0; x < image.width; ++x)
      if (image.At(x, y) != kPaint && wrong++ < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << " is 0x" << std::hex << image.At(x, y);
  EXPECT_EQ(wrong, 0);
}

TEST_F(ScreenCaptureTest, CaptureScreen_NamesTheFileWhenItsFolderIsMissing) {
  const std::wstring file = FileNamed(L"missing\\area.png");
  try {
    CaptureScreen(RECT{0, 0, 8, 8}, file);
    ADD_FAILURE() << "no error";
  } catch (const com::ComError& error) {
    EXPECT_EQ(error.Code(), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_THAT(error.what(), HasSubstr(com::ToUtf8(file)));
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(file).parent_path()));
}

TEST_F(ScreenCaptureTest, CaptureScreen_RefusesAnEmptyAreaWithoutWritingTheFile) {
  const std::wstring file = FileNamed(L"empty.png");
  try {
    CaptureScreen(RECT{10, 10, 10, 20}, file);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_THAT(error.what(), HasSubstr(com::ToUtf8(file)));
  }
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace qor::wizard::win32
