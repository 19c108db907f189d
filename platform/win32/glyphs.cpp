#include "platform/win32/glyphs.h"

#include <functional>
#include <map>

namespace tapestrel {

namespace {

// Drawing happens on a 16x16 grid; larger pictures scale the grid.
struct Pen {
  HDC dc;
  int scale;
  int x(int v) const { return v * scale; }

  void fill(int l, int t, int r, int b, COLORREF c) const {
    RECT rc{x(l), x(t), x(r), x(b)};
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
  }
  void frame(int l, int t, int r, int b, COLORREF c) const {
    fill(l, t, r, t + 1, c);
    fill(l, b - 1, r, b, c);
    fill(l, t, l + 1, b, c);
    fill(r - 1, t, r, b, c);
  }
  void line(int x0, int y0, int x1, int y1, COLORREF c, int width = 1) const {
    HPEN pen = CreatePen(PS_SOLID, width * scale, c);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x(x0), x(y0), nullptr);
    LineTo(dc, x(x1), x(y1));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  void polygon(std::initializer_list<POINT> points, COLORREF c) const {
    POINT scaled[8];
    int n = 0;
    for (POINT p : points) scaled[n++] = {x(p.x), x(p.y)};
    HBRUSH brush = CreateSolidBrush(c);
    HPEN pen = CreatePen(PS_SOLID, 1, c);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, scaled, n);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  void ellipse(int l, int t, int r, int b, COLORREF edge, COLORREF inside, int width = 1) const {
    HBRUSH brush = CreateSolidBrush(inside);
    HPEN pen = CreatePen(PS_SOLID, width * scale, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, x(l), x(t), x(r), x(b));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
  }
  void text(const char* s, int l, int t, int r, int b, COLORREF c, int height = 12) const {
    HFONT font = CreateFontA(-height * scale, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                             "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, c);
    RECT rc{x(l), x(t), x(r), x(b)};
    DrawTextA(dc, s, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
  }
};

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 160);
constexpr COLORREF kSky = RGB(96, 160, 224);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kRed = RGB(192, 0, 0);
constexpr COLORREF kYellow = RGB(240, 200, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);

void picture(const Pen& p) {  // a framed landscape: the wallpaper itself
  p.fill(1, 3, 15, 13, kSky);
  p.polygon({{1, 12}, {6, 7}, {10, 11}, {12, 9}, {15, 12}}, kGreen);
  p.ellipse(10, 4, 13, 7, kYellow, kYellow);
  p.frame(1, 3, 15, 13, kInk);
}

void document(const Pen& p) {
  p.polygon({{3, 1}, {10, 1}, {13, 4}, {13, 15}, {3, 15}}, kPaper);
  p.line(3, 1, 10, 1, kInk);
  p.line(10, 1, 13, 4, kInk);
  p.line(13, 4, 13, 15, kInk);
  p.line(13, 15, 3, 15, kInk);
  p.line(3, 15, 3, 1, kInk);
  p.line(10, 1, 10, 4, kInk);
  p.line(10, 4, 13, 4, kInk);
}

void listRows(const Pen& p, int columns, bool bigIcons) {
  if (bigIcons) {
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 2; ++c) p.fill(2 + c * 7, 2 + r * 7, 7 + c * 7, 7 + r * 7, kBlue);
    return;
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < columns; ++c) {
      const int left = 1 + c * (15 / columns);
      p.fill(left, 2 + r * 3, left + 2, 4 + r * 3, kBlue);
      p.fill(left + 3, 3 + r * 3, left + 15 / columns - 1, 4 + r * 3, kInk);
    }
}

const std::map<std::string, std::function<void(const Pen&)>>& drawings() {
  static const std::map<std::string, std::function<void(const Pen&)>> table{
      {"find",
       [](const Pen& p) {
         p.ellipse(2, 2, 10, 10, kInk, kSky, 2);
         p.line(9, 9, 14, 14, kInk, 2);
       }},
      {"view",
       [](const Pen& p) {
         p.ellipse(1, 4, 15, 12, kInk, kPaper);
         p.ellipse(5, 5, 11, 11, kBlue, kBlue);
       }},
      {"edit",
       [](const Pen& p) {
         document(p);
         p.line(6, 12, 13, 5, kRed, 2);
       }},
      {"move",
       [](const Pen& p) {
         p.fill(1, 5, 9, 11, kYellow);
         p.frame(1, 5, 9, 11, kInk);
         p.polygon({{9, 4}, {15, 8}, {9, 12}}, kGreen);
       }},
      {"delete",
       [](const Pen& p) {
         p.line(3, 3, 13, 13, kRed, 2);
         p.line(13, 3, 3, 13, kRed, 2);
       }},
      {"decode",
       [](const Pen& p) {
         p.text("J", 0, 0, 7, 16, kBlue, 11);
         p.polygon({{7, 6}, {10, 8}, {7, 10}}, kInk);
         p.text("B", 9, 0, 16, 16, kGreen, 11);
       }},
      {"bmps",
       [](const Pen& p) {
         document(p);
         p.text("B", 3, 4, 13, 15, kGreen, 10);
       }},
      {"alts",
       [](const Pen& p) {
         document(p);
         p.text("J", 3, 4, 13, 15, kBlue, 10);
       }},
      {"switch",
       [](const Pen& p) {
         p.polygon({{1, 5}, {5, 1}, {5, 4}, {14, 4}, {14, 6}, {5, 6}, {5, 9}}, kBlue);
         p.polygon({{15, 11}, {11, 7}, {11, 10}, {2, 10}, {2, 12}, {11, 12}, {11, 15}}, kGreen);
       }},
      {"change", picture},
      {"next", [](const Pen& p) { p.polygon({{4, 2}, {13, 8}, {4, 14}}, kGreen); }},
      {"previous", [](const Pen& p) { p.polygon({{12, 2}, {3, 8}, {12, 14}}, kGreen); }},
      {"timer",
       [](const Pen& p) {
         p.ellipse(1, 1, 15, 15, kInk, kPaper);
         p.line(8, 8, 8, 3, kInk);
         p.line(8, 8, 12, 8, kRed);
       }},
      {"exit",
       [](const Pen& p) {
         p.fill(2, 1, 10, 15, kGrey);
         p.frame(2, 1, 10, 15, kInk);
         p.polygon({{8, 8}, {12, 4}, {12, 7}, {15, 7}, {15, 9}, {12, 9}, {12, 12}}, kRed);
       }},
      {"largeicons", [](const Pen& p) { listRows(p, 1, true); }},
      {"smallicons", [](const Pen& p) { listRows(p, 2, false); }},
      {"list", [](const Pen& p) { listRows(p, 1, false); }},
      {"details",
       [](const Pen& p) {
         listRows(p, 1, false);
         for (int r = 0; r < 4; ++r) p.fill(10, 3 + r * 3, 15, 4 + r * 3, kGrey);
       }},
      {"NONE", document},
  };
  return table;
}

}  // namespace

bool AddGlyph(HIMAGELIST list, const std::string& key, int size) {
  const auto it = drawings().find(key);
  if (it == drawings().end()) return false;
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ old = SelectObject(dc, image);
  // Magenta is the transparent colour of the image list.
  const COLORREF mask = RGB(255, 0, 255);
  RECT all{0, 0, size, size};
  HBRUSH background = CreateSolidBrush(mask);
  FillRect(dc, &all, background);
  DeleteObject(background);
  it->second(Pen{dc, size >= 16 ? size / 16 : 1});
  SelectObject(dc, old);
  DeleteDC(dc);
  const bool added = ImageList_AddMasked(list, image, mask) >= 0;
  DeleteObject(image);
  return added;
}

}  // namespace tapestrel
