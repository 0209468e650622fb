#include "platform/win32/win32_pictures.h"

#include <algorithm>
#include <cctype>

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
  COLORREF face = look == Look::Down ? RGB(0, 48, 112)
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
  int hole_size = std::max(2, ring / 3);
  int hole_left = left + ring / 2 - hole_size / 2;
  Ellipse(dc, hole_left, middle - hole_size / 2, hole_left + hole_size,
          middle + hole_size / 2 + 1);
}

void DrawNamedBox(HDC dc, RECT area, const std::string& name, Look look) {
  COLORREF face = look == Look::Down ? RGB(96, 96, 96)
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
  else if (!name.empty())
    DrawNamedBox(dc, area, name, look);
}

SIZE PictureSize(const std::string& name) {
  std::string lowered = Lower(name);
  if (Has(lowered, "help")) return {65, 26};
  if (Has(lowered, "key") || Has(lowered, "password")) return {21, 21};
  return {32, 32};
}

}  // namespace platform::win32
