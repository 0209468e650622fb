// Screen captures with GDI, saved as 24-bit BMP files.
#include <cstring>
#include <unordered_set>

#include "e2e/driver.h"

namespace e2e {

std::uint32_t Image::Pixel(int x, int y) const {
  const std::uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
  return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

size_t Image::DistinctColours() const {
  std::unordered_set<std::uint32_t> colours;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) colours.insert(Pixel(x, y));
  return colours.size();
}

Image CaptureRect(const RECT& area) {
  Image image;
  image.width = area.right - area.left;
  image.height = area.bottom - area.top;
  if (image.width <= 0 || image.height <= 0) throw DriverError("nothing to capture");

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -image.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bitmap != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, image.width, image.height, screen, area.left, area.top,
                SRCCOPY | CAPTUREBLT);
    GdiFlush();
    if (ok) {
      const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
      image.bgr.resize(static_cast<size_t>(image.width) * image.height * 3);
      for (int y = 0; y < image.height; ++y)
        std::memcpy(&image.bgr[static_cast<size_t>(y) * image.width * 3],
                    static_cast<const std::uint8_t*>(bits) + y * stride,
                    static_cast<size_t>(image.width) * 3);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!ok) throw DriverError("cannot capture the screen");
  return image;
}

Image CaptureScreen() {
  RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return CaptureRect(all);
}

Image CaptureWindow(HWND window) {
  RECT area{};
  if (!GetWindowRect(window, &area)) throw DriverError("no window to capture");
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&area, &area, &screen);
  return CaptureRect(area);
}

void SaveBmp(const Image& image, const std::string& path) {
  const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = image.width;
  header.biHeight = image.height;  // bottom-up: what every reader takes
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * image.height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + header.biSizeImage);

  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  std::string row(stride, '\0');
  for (int y = image.height - 1; y >= 0; --y) {
    std::memcpy(row.data(), &image.bgr[static_cast<size_t>(y) * image.width * 3],
                static_cast<size_t>(image.width) * 3);
    bytes += row;
  }
  WriteFileBytes(path, bytes);
}

}  // namespace e2e
