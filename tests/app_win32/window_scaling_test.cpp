// The native window on screens of 96, 144 and 192 DPI. The same tests run
// once at each resolution (CMakeLists.txt sets the Wine prefix's resolution
// and names it in WORLDSMITH_TEST_DPI): the layout is the 96-DPI one times
// the scale, the maps show the model's canvases by whole screen pixels, the
// mouse points at exact world-map pixels, and a session saves the bytes the
// model saves, whatever the resolution.

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app_win32/dpi_scale.h"
#include "app_win32/gdi_objects.h"
#include "app_win32/main_window.h"
#include "app_win32/window_fixture.h"
#include "app_win32/window_probe.h"
#include "demo/demo_game.h"
#include "support/scoped_test_env.h"
#include "support/scripted_dialogs.h"
#include "support/window_places.h"

namespace ws::app {
namespace {

namespace fs = std::filesystem;
using namespace probe;

// The resolution this run was started at.
int testDpi() {
  const char* dpi = std::getenv("WORLDSMITH_TEST_DPI");
  return dpi != nullptr ? std::atoi(dpi) : 96;
}

using namespace ws::app::testing;
using ws::testing::kWindowPlaces;
using ws::testing::WindowPlace;

class WindowScalingTest : public WindowTest {
 protected:
  void SetUp() override { open(&dialogs_, std::nullopt, {}, SW_SHOWNOACTIVATE); }

  void moveOverMap(int screenX, int screenY) {
    SendMessageW(control("Image2"), WM_MOUSEMOVE, 0, pointParam(screenX, screenY));
    pump();
  }
  // A click in the middle of the screen pixels that show world-map pixel
  // (x, y), which the scroll box must show.
  void placeAt(int x, int y, int dpi) {
    const POINT at{(2 * x + 1) * dpi / (2 * 96), (2 * y + 1) * dpi / (2 * 96)};
    HWND map = control("Image2");
    const RECT visible = visiblePart(map);
    ASSERT_TRUE(PtInRect(&visible, at)) << x << "," << y << " is scrolled out of sight";
    SendMessageW(map, WM_MOUSEMOVE, 0, pointParam(at.x, at.y));
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, pointParam(at.x, at.y));
    SendMessageW(map, WM_LBUTTONUP, 0, pointParam(at.x, at.y));
    pump();
  }

  // Every control at its 96-DPI place times dpi / 96 (each edge within half
  // a pixel), inside its parent's client area and clear of every other
  // control shown; the font and the list items scaled alike.
  void expectLaidOutFor(int dpi) {
    for (const WindowPlace& place : kWindowPlaces) {
      SCOPED_TRACE(place.name);
      HWND window = control(place.name);
      ASSERT_EQ(GetParent(window), control(place.parent));
      const RECT rect = placeInParent(window);
      // 2 * |96 * edge - 96-DPI edge * dpi| <= 96: within half a pixel.
      const auto isScaled = [dpi](int edge, int edge96) {
        return 2 * std::abs(96 * edge - edge96 * dpi) <= 96;
      };
      EXPECT_TRUE(isScaled(rect.left, place.left)) << rect.left;
      EXPECT_TRUE(isScaled(rect.top, place.top)) << rect.top;
      EXPECT_TRUE(isScaled(rect.right, place.left + place.width)) << rect.right;
      const int bottom96 = place.top + place.height;
      if (place.wholeItems) {
        EXPECT_LE(96 * rect.bottom, bottom96 * dpi + 48) << rect.bottom;
        EXPECT_GT(96 * rect.bottom, (bottom96 - 12) * dpi) << rect.bottom;
      } else {
        EXPECT_TRUE(isScaled(rect.bottom, bottom96)) << rect.bottom;
      }
      if (std::string_view(place.parent) == "ScrollBox1") continue;  // scrolled, larger
      RECT parent{};
      GetClientRect(GetParent(window), &parent);
      RECT inside{};
      IntersectRect(&inside, &rect, &parent);
      EXPECT_TRUE(EqualRect(&inside, &rect)) << "outside its parent";
    }
    expectNoOverlaps();
    LOGFONTW font{};
    ASSERT_NE(
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("ListBox1"), WM_GETFONT, 0, 0)),
                   sizeof(font), &font),
        0);
    EXPECT_EQ(font.lfHeight, -12 * dpi / 96);
    for (const char* list : {"ListBox1", "ListBox2", "CheckListBox1", "CheckListBox2"})
      EXPECT_EQ(SendMessageW(control(list), LB_GETITEMHEIGHT, 0, 0), 12 * dpi / 96) << list;
    // The map fits the scroll box's height: only the horizontal bar shows.
    const LONG_PTR scrollStyle = GetWindowLongPtrW(control("ScrollBox1"), GWL_STYLE);
    EXPECT_NE(scrollStyle & WS_HSCROLL, 0);
    EXPECT_EQ(scrollStyle & WS_VSCROLL, 0);
  }

  void expectNoOverlaps() {
    std::vector<std::pair<const char*, RECT>> shown;
    for (const WindowPlace& place : kWindowPlaces) {
      HWND window = control(place.name);
      if (!IsWindowVisible(window) || std::string_view(place.name) == "Image2") continue;
      RECT rect{};
      GetWindowRect(window, &rect);
      shown.emplace_back(place.name, rect);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        // A container and what it holds overlap by design.
        if (IsChild(control(shown[i].first), control(shown[j].first)) ||
            IsChild(control(shown[j].first), control(shown[i].first))) {
          continue;
        }
        RECT common{};
        EXPECT_FALSE(IntersectRect(&common, &shown[i].second, &shown[j].second))
            << shown[i].first << " and " << shown[j].first;
      }
    }
  }

  void expectMapsShowTheModel(int dpi) {
    EXPECT_EQ(pixelsDifferingFrom(control("Image2"), model().Image2(), 1, dpi), 0);
    EXPECT_EQ(pixelsDifferingFrom(control("Image1"), model().Image1(), 2, dpi), 0);
  }
};

TEST(MagnificationTest, EveryCanvasPixelGetsABlockOfWholeScreenPixelsThatPointBackAtIt) {
  for (const int dpi : {96, 120, 144, 168, 192, 240}) {
    for (const int scale : {1, 2}) {
      const Magnification shown = magnification(scale, dpi);
      for (int pixel = -40; pixel < 520; ++pixel) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi, scale " + std::to_string(scale) + ", pixel " +
                     std::to_string(pixel));
        const int first = shown.firstScreenPixel(pixel);
        const int next = shown.firstScreenPixel(pixel + 1);
        // floor(k) or ceil(k) screen pixels, k = scale * dpi / 96.
        EXPECT_GE((next - first) * 96, scale * dpi - 95);
        EXPECT_LE((next - first) * 96, scale * dpi + 95);
        ASSERT_EQ(shown.canvasPixelAt(first), pixel);
        ASSERT_EQ(shown.canvasPixelAt(next - 1), pixel);
      }
    }
  }
}

TEST_F(WindowScalingTest, RunsAtTheResolutionItWasStartedAt) {
  const WindowDC screen(window_->handle());
  EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), testDpi());
  // Where the window landed, kept with the test's results for a failure
  // elsewhere in the run.
  RECT outer{};
  GetWindowRect(window_->handle(), &outer);
  const int awareness =
      static_cast<int>(GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()));
  std::string placement = "awareness " + std::to_string(awareness);
  placement += ", screen " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
               std::to_string(GetSystemMetrics(SM_CYSCREEN));
  placement += ", window at " + std::to_string(outer.left) + ", " + std::to_string(outer.top);
  placement += ", " + std::to_string(outer.right - outer.left) + " x " +
               std::to_string(outer.bottom - outer.top);
  RecordProperty("placement", placement);
}

TEST_F(WindowScalingTest, ControlsSitAtTheirPlacesTimesTheScaleInsideTheWindowWithoutOverlapping) {
  expectLaidOutFor(testDpi());
  expectMapsShowTheModel(testDpi());
  EXPECT_EQ(GetWindowLongPtrW(window_->handle(), GWL_STYLE) & WS_MAXIMIZEBOX, 0);
}

// The mouse at the first screen pixel of a world-map pixel and at the one
// before it: the cursor snaps to 32-pixel steps, truncating toward zero, so
// these pixels tell the world-map pixel the window reported.
TEST_F(WindowScalingTest, TheMouseReportsTheWorldMapPixelUnderIt) {
  struct Row {
    int dpi;
    int screen;  // on both axes
    int cursor;  // the cursor's x and y after the move
  };
  const Row rows[] = {
      {96, 31, 0},  {96, 32, 32},  {96, -31, 0},  {96, -32, -32},   // pixels 31, 32, -31, -32
      {144, 47, 0}, {144, 48, 32}, {144, -46, 0}, {144, -47, -32},  // 31.3, 32, -30.7, -31.3
      {192, 63, 0}, {192, 64, 32}, {192, -62, 0}, {192, -63, -32},  // 31.5, 32, -31, -31.5
  };
  chooseArea(kLinkGateArea);
  ASSERT_TRUE(model().cursor().armed);
  int tried = 0;
  for (const Row& row : rows) {
    if (row.dpi != testDpi()) continue;
    SCOPED_TRACE(row.screen);
    moveOverMap(row.screen, row.screen);
    EXPECT_EQ(model().cursor().x, row.cursor);
    EXPECT_EQ(model().cursor().y, row.cursor);
    ++tried;
  }
  EXPECT_GT(tried, 0) << "no rows for " << testDpi() << " dpi";
}

// Choose, place, save: the window shows the model's canvases throughout and
// saves exactly what a model saves after the same steps in world-map
// pixels, which is the same file at every resolution.
TEST_F(WindowScalingTest, ASessionSavesTheSameBytesAtEveryResolution) {
  const int dpi = testDpi();
  editor::EditorModel reference(dialogs_, {gameFolder_});
  ASSERT_TRUE(reference.FormCreate());
  struct Placement {
    int area, kind, x, y;
    bool scrollRight;
  };
  const Placement placements[] = {
      {kLinkGateArea, 1, 10, 10, false},
      {kFieldArea, 2, 140, 10, false},
      {kTownArea, 3, 400, 150, true},  // reachable only scrolled to the right
  };
  for (const Placement& placement : placements) {
    SCOPED_TRACE(placement.area);
    chooseArea(placement.area);
    const std::string button = "RadioButton" + std::to_string(placement.kind);
    SendMessageW(control(button.c_str()), BM_CLICK, 0, 0);
    if (placement.scrollRight) SendMessageW(control("ScrollBox1"), WM_HSCROLL, SB_BOTTOM, 0);
    pump();
    placeAt(placement.x, placement.y, dpi);
    expectMapsShowTheModel(dpi);

    reference.setListBox1Selection(placement.area);
    reference.ListBox1Click();
    reference.selectKind(editor::kindOfButton(placement.kind).value());
    reference.Image2MouseMove(placement.x, placement.y);
    reference.Image2Click();
  }
  ASSERT_EQ(model().areaSlots().usedCount(), 3);
  EXPECT_TRUE(dialogs_.messages.empty());

  const platform::testing::TempFolder folder("app-win32-dpi-save");
  expectSavesWhatTheModelSaves(reference, folder.path());
}

// Moved to a monitor of another resolution, the window lays itself out for
// it where the system suggests. Always to a higher one: Wine keeps the scroll
// bars at the resolution the program started at, which a lower one's
// scroll box would not hold beside the map.
TEST_F(WindowScalingTest, AMoveToAMonitorOfAnotherResolutionLaysTheWindowOutAgain) {
  chooseArea(kLinkGateArea);
  const int dpi = testDpi() == 192 ? 240 : 192;
  RECT suggested{10, 20, 1000, 800};
  SendMessageW(window_->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
  pump();
  RECT outer{};
  GetWindowRect(window_->handle(), &outer);
  EXPECT_EQ(outer.left, suggested.left);
  EXPECT_EQ(outer.top, suggested.top);
  expectLaidOutFor(dpi);
  expectMapsShowTheModel(dpi);
  // The mouse follows the new scale: at 192 DPI screen pixel 64 is world
  // pixel 32, at 240 DPI screen pixel 80.
  moveOverMap(32 * dpi / 96, 0);
  EXPECT_EQ(model().cursor().x, 32);
}

}  // namespace
}  // namespace ws::app
