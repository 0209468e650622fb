#include "platform/win32/win32_pictures.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace platform::win32 {

namespace {

enum class Look { Up, Down, Over };

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool Has(const std::string& lowered, const char* word) {
  return lowered.find(word) != std::string::npos;
}

Look LookOf(const std::string& lowered) {
  if (Has(lowered, "down")) return Look::Down;
  if (Has(lowered, "over") || Has(lowered, "hover")) return Look::Over;
  return Look::Up;
}

// GDI objects selected for one drawing and given back in reverse.
class Pen {
 public:
  Pen(HDC dc, COLORREF color, int width)
      : dc_(dc), pen_(CreatePen(PS_SOLID, width, color)), old_(SelectObject(dc, pen_)) {}
  ~Pen() {
    SelectObject(dc_, old_);
    DeleteObject(pen_);
  }
  Pen(const Pen&) = delete;
  Pen& operator=(const Pen&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ old_;
};

class Fill {
 public:
  Fill(HDC dc, COLORREF color)
      : dc_(dc), brush_(CreateSolidBrush(color)), old_(SelectObject(dc, brush_)) {}
  ~Fill() {
    SelectObject(dc_, old_);
    DeleteObject(brush_);
  }
  Fill(const Fill&) = delete;
  Fill& operator=(const Fill&) = delete;

 private:
  HDC dc_;
  HBRUSH brush_;
  HGDIOBJ old_;
};

void DrawCaption(HDC dc, RECT area, const char* text, COLORREF color, int weight) {
  HFONT font = CreateFontA(-MulDiv(9, 96, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextA(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
}

void DrawHelpButton(HDC dc, RECT area, Look look) {
  COLORREF face = look == Look::Down   ? RGB(0, 48, 112)
                  : look == Look::Over ? RGB(32, 128, 224)
                                       : RGB(0, 80, 168);
  COLORREF rim = look == Look::Over ? RGB(255, 255, 0) : RGB(160, 192, 255);
  {
    Pen pen(dc, rim, 1);
    Fill fill(dc, face);
    RoundRect(dc, area.left, area.top, area.right, area.bottom, 12, 12);
  }
  if (look == Look::Down) OffsetRect(&area, 1, 1);
  DrawCaption(dc, area, "Help", look == Look::Over ? RGB(255, 255, 0) : RGB(255, 255, 255),
              FW_BOLD);
}

// A key lying across the area: a ring at the left, a shaft with two teeth to the right.
void DrawKey(HDC dc, RECT area, Look look) {
  int height = area.bottom - area.top;
  int width = area.right - area.left;
  int ring = std::max(4, height * 2 / 5);
  int middle = area.top + height / 2;
  int left = area.left + std::max(1, width / 8);
  COLORREF gold = look == Look::Over ? RGB(255, 224, 64) : RGB(208, 160, 0);
  if (look == Look::Down) {
    ++left;
    ++middle;
  }
  Pen pen(dc, RGB(96, 64, 0), 1);
  {
    Fill fill(dc, gold);
    Ellipse(dc, left, middle - ring / 2, left + ring, middle + ring / 2 + 1);
    int shaftEnd = area.right - std::max(1, width / 8);
    Rectangle(dc, left + ring - 1, middle - 1, shaftEnd, middle + 2);
    int tooth = std::max(2, ring / 3);
    Rectangle(dc, shaftEnd - tooth, middle + 1, shaftEnd - 1, middle + 1 + tooth);
    Rectangle(dc, shaftEnd - 3 * tooth, middle + 1, shaftEnd - 2 * tooth, middle + tooth);
  }
  Fill hole(dc, GetSysColor(COLOR_BTNFACE));
  int holeSize = std::max(2, ring / 3);
  int holeLeft = left + ring / 2 - holeSize / 2;
  Ellipse(dc, holeLeft, middle - holeSize / 2, holeLeft + holeSize, middle + holeSize / 2 + 1);
}

// A shield with a keyhole, on the page's own colour.
void DrawShield(HDC dc, RECT area, Look look) {
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  const int cx = area.left + w / 2;
  auto at = [&](int px, int py) { return POINT{area.left + px * w / 64, area.top + py * h / 64}; };
  const POINT outline[] = {at(32, 2),  at(58, 10), at(58, 30), at(52, 44),
                           at(32, 62), at(12, 44), at(6, 30),  at(6, 10)};
  const POINT inner[] = {at(32, 8),  at(52, 14), at(52, 30), at(47, 41),
                         at(32, 55), at(17, 41), at(12, 30), at(12, 14)};
  COLORREF face = look == Look::Over ? RGB(48, 144, 255) : RGB(0, 88, 200);
  {
    Pen pen(dc, RGB(120, 96, 0), 1);
    Fill fill(dc, RGB(232, 184, 24));
    Polygon(dc, outline, 8);
  }
  {
    Pen pen(dc, RGB(0, 40, 96), 1);
    Fill fill(dc, face);
    Polygon(dc, inner, 8);
  }
  Pen pen(dc, RGB(24, 24, 24), 1);
  Fill hole(dc, RGB(24, 24, 24));
  const int r = std::max(3, w / 10);
  const int top = area.top + h * 22 / 64;
  Ellipse(dc, cx - r, top, cx + r + 1, top + 2 * r + 1);
  const POINT slot[] = {
      {cx - r / 2, top + r}, {cx + r / 2, top + r}, {cx + r, top + 4 * r}, {cx - r, top + 4 * r}};
  Polygon(dc, slot, 4);
}

void DrawNamedBox(HDC dc, RECT area, const std::string& name, Look look) {
  COLORREF face = look == Look::Down   ? RGB(96, 96, 96)
                  : look == Look::Over ? RGB(224, 224, 224)
                                       : RGB(192, 192, 192);
  {
    Pen pen(dc, RGB(0, 0, 0), 1);
    Fill fill(dc, face);
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
  }
  DrawCaption(dc, area, name.c_str(), RGB(0, 0, 0), FW_NORMAL);
}

}  // namespace

void DrawPicture(HDC dc, const RECT& area, const std::string& name) {
  std::string lowered = Lower(name);
  Look look = LookOf(lowered);
  if (Has(lowered, "help"))
    DrawHelpButton(dc, area, look);
  else if (Has(lowered, "key") || Has(lowered, "password"))
    DrawKey(dc, area, look);
  else if (Has(lowered, "shield"))
    DrawShield(dc, area, look);
  else if (!name.empty())
    DrawNamedBox(dc, area, name, look);
}

void DrawBusyFrame(HDC dc, const RECT& area, int frame, int frames, COLORREF background) {
  {
    Pen pen(dc, background, 1);
    Fill fill(dc, background);
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
  }
  const int w = area.right - area.left;
  const int h = area.bottom - area.top;
  const int r = std::max(4, std::min(w, h) / 2 - 2);
  const int cx = area.left + w / 2;
  const int cy = area.top + h / 2;
  {
    Pen pen(dc, RGB(0, 176, 0), 1);
    Fill fill(dc, RGB(0, 40, 0));
    Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
  }
  {
    Pen pen(dc, RGB(0, 96, 0), 1);
    Fill fill(dc, RGB(0, 40, 0));
    Ellipse(dc, cx - r / 2, cy - r / 2, cx + r / 2 + 1, cy + r / 2 + 1);
    MoveToEx(dc, cx - r + 1, cy, nullptr);
    LineTo(dc, cx + r, cy);
    MoveToEx(dc, cx, cy - r + 1, nullptr);
    LineTo(dc, cx, cy + r);
  }
  // The beam turns clockwise from twelve o'clock and leaves a fading trail.
  const double step = 2 * 3.14159265358979 / std::max(1, frames);
  const double beam = frame * step;
  auto ray = [&](double angle, COLORREF color, int width) {
    Pen pen(dc, color, width);
    MoveToEx(dc, cx, cy, nullptr);
    LineTo(dc, cx + static_cast<int>(std::lround(std::sin(angle) * (r - 1))),
           cy - static_cast<int>(std::lround(std::cos(angle) * (r - 1))));
  };
  ray(beam - step * 0.75, RGB(0, 72, 0), 3);
  ray(beam - step * 0.4, RGB(0, 128, 0), 2);
  ray(beam, RGB(128, 255, 128), 2);
  // A contact that glows while the beam is on it and fades behind it.
  const double contact = 2 * 3.14159265358979 * 0.35;
  double since = std::fmod(beam - contact + 4 * 3.14159265358979, 2 * 3.14159265358979);
  int glow = since < 3.14159265358979 ? 255 - static_cast<int>(since / 3.14159265358979 * 191) : 64;
  const int bx = cx + static_cast<int>(std::lround(std::sin(contact) * r * 0.6));
  const int by = cy - static_cast<int>(std::lround(std::cos(contact) * r * 0.6));
  Pen pen(dc, RGB(0, glow, 0), 1);
  Fill fill(dc, RGB(glow / 2, glow, glow / 2));
  Ellipse(dc, bx - 2, by - 2, bx + 3, by + 3);
}

SIZE PictureSize(const std::string& name) {
  std::string lowered = Lower(name);
  if (Has(lowered, "help")) return {65, 26};
  if (Has(lowered, "key") || Has(lowered, "password")) return {21, 21};
  if (Has(lowered, "shield")) return {63, 64};
  return {32, 32};
}

}  // namespace platform::win32
