#include "wizard/win32/capture/screen_capture.h"

#include "com/com_error.h"
#include "com/com_ptr.h"
#include "com/utf.h"
#include "platform/unique_any_win32.h"

#include <wincodec.h>

#include <climits>
#include <cstddef>
#include <string>
#include <vector>

namespace qor::wizard::win32 {
namespace {

using platform::GdiSelection;
using platform::UniqueHbitmap;
using platform::UniqueMemoryDc;
using platform::UniqueScreenDc;

// Rows of 24-bit BGR pixels, top row first, with no padding.
struct Pixels {
  UINT width = 0;
  UINT height = 0;
  std::vector<BYTE> bgr;

  UINT Stride() const noexcept { return width * 3; }
};

[[noreturn]] void Fail(HRESULT code, const std::wstring& file, const std::string& reason) {
  throw com::ComError(code, "Cannot write the screenshot " + com::ToUtf8(file) + ": " + reason);
}

void Check(HRESULT result, const std::wstring& file) {
  if (FAILED(result)) Fail(result, file, com::HresultMessage(result));
}

Pixels CopyScreen(const RECT& area, const std::wstring& file) {
  const long long width = static_cast<long long>(area.right) - area.left;
  const long long height = static_cast<long long>(area.bottom) - area.top;
  if (width <= 0 || height <= 0) Fail(E_INVALIDARG, file, "the area is empty");
  if (width > INT_MAX || height > INT_MAX || width * height > UINT_MAX / 4)
    Fail(E_INVALIDARG, file, "the area is too large");

  const UniqueScreenDc screen(GetDC(nullptr));
  if (!screen) Fail(E_FAIL, file, "the screen cannot be read");
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  if (!memory) Fail(E_OUTOFMEMORY, file, "no memory for a device context");

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const UniqueHbitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) Fail(E_OUTOFMEMORY, file, "no memory for the pixels");
  {
    const GdiSelection selected(memory.Get(), bitmap.Get());
    if (!selected) Fail(E_FAIL, file, "the bitmap cannot be selected");
    if (!BitBlt(memory.Get(), 0, 0, static_cast<int>(width), static_cast<int>(height), screen.Get(), area.left,
                area.top, SRCCOPY | CAPTUREBLT))
      Fail(E_FAIL, file, "the screen cannot be copied");
  }
  GdiFlush();

  // The fourth byte of a 32-bit DIB is not alpha; PNG encoders take 24-bit BGR everywhere.
  Pixels pixels{static_cast<UINT>(width), static_cast<UINT>(height), {}};
  pixels.bgr.resize(static_cast<std::size_t>(pixels.Stride()) * pixels.height);
  const auto* source = static_cast<const BYTE*>(bits);
  BYTE* target = pixels.bgr.data();
  for (std::size_t pixel = 0, count = static_cast<std::size_t>(pixels.width) * pixels.height; pixel < count; ++pixel) {
    target[0] = source[0];
    target[1] = source[1];
    target[2] = source[2];
    source += 4;
    target += 3;
  }
  return pixels;
}

// `opened` turns true once the file exists, so a failure after that can remove what was begun.
void EncodePng(const Pixels& pixels, const std::wstring& file, bool& opened) {
  com::ComPtr<IWICImagingFactory> factory;
  Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                         factory.PutVoid()),
        file);
  com::ComPtr<IWICStream> stream;
  Check(factory->CreateStream(stream.Put()), file);
  Check(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE), file);
  opened = true;

  com::ComPtr<IWICBitmapEncoder> encoder;
  Check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()), file);
  Check(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), file);
  com::ComPtr<IWICBitmapFrameEncode> frame;
  Check(encoder->CreateNewFrame(frame.Put(), nullptr), file);
  Check(frame->Initialize(nullptr), file);
  Check(frame->SetSize(pixels.width, pixels.height), file);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  Check(frame->SetPixelFormat(&format), file);
  if (format != GUID_WICPixelFormat24bppBGR)
    Fail(WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, file, "the PNG encoder does not take 24-bit pixels");
  Check(frame->WritePixels(pixels.height, pixels.Stride(), static_cast<UINT>(pixels.bgr.size()),
                           const_cast<BYTE*>(pixels.bgr.data())),
        file);
  Check(frame->Commit(), file);
  Check(encoder->Commit(), file);
}

}  // namespace

void CaptureScreen(const RECT& area, const std::wstring& file) {
  const Pixels pixels = CopyScreen(area, file);
  bool opened = false;
  try {
    EncodePng(pixels, file, opened);
  } catch (...) {
    if (opened) DeleteFileW(file.c_str());
    throw;
  }
}

}  // namespace qor::wizard::win32
