#include "app_qt/scripted_session.h"

#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QScrollArea>
#include <cstdio>
#include <string>
#include <system_error>

#include "app_qt/canvas_view.h"
#include "app_qt/main_window.h"
#include "app_qt/qt_text.h"
#include "app_qt/synthetic_input.h"
#include "demo/demo_areas.h"

namespace ws::app {
namespace {

// Demo catalogue entries the session uses.
constexpr int kLinkGateArea = demo::areas::kGateOfBeginnings;  // 128 x 64, three dungeons
constexpr int kFieldArea = demo::areas::kBlueForest;   // 128 x 64, a tower and three dungeons
constexpr int kTownArea = demo::areas::kHarbourTown;   // 128 x 64, a church and six houses
constexpr int kSecondTown = demo::areas::kCastleTown;  // 128 x 64, a church and five houses
constexpr int kTownButton = 3;

class Session {
 public:
  Session(TForm1& window, std::filesystem::path outFolder)
      : window_(window), outFolder_(std::move(outFolder)) {}

  int run() {
    shoot("01-start");
    chooseArea(kLinkGateArea);
    shoot("02-link-gate-chosen");
    placeAt({8, 8});
    expectPlaced(1, "the link gate area");
    shoot("03-link-gate-placed");

    chooseArea(kFieldArea);
    placeAt({136, 8});
    expectPlaced(2, "the field");
    shoot("04-field-placed");

    chooseArea(kTownArea);
    clickAt(child<QRadioButton>("RadioButton" + std::to_string(kTownButton)), {4, 8});
    shoot("05-town-kind-house-list");
    placeAt({8, 72});
    expectPlaced(3, "the first town");
    shoot("06-town-placed");

    chooseArea(kSecondTown);
    // A fourth house on top of the three checked by default.
    clickCheckMark(child<QListWidget>("CheckListBox2"), 3);
    shoot("07-second-town-chosen");
    placeAt({136, 72});
    expectPlaced(4, "the second town");
    shoot("08-four-areas-placed");
    return status_;
  }

 private:
  template <typename Widget>
  Widget* child(const std::string& name) {
    return window_.findChild<Widget*>(QString::fromStdString(name));
  }

  void settle() { QApplication::processEvents(); }

  void chooseArea(int row) {
    clickListItem(child<QListWidget>("ListBox1"), row);
    settle();
  }

  void placeAt(QPoint position) {
    auto* map = child<CanvasView>("Image2");
    child<QScrollArea>("ScrollBox1")->ensureVisible(position.x(), position.y());
    moveMouse(map, position);
    clickAt(map, position);
    settle();
  }

  void expectPlaced(int count, const char* what) {
    if (window_.model().areaSlots().usedCount() == count) return;
    std::fprintf(stderr, "script-demo: %s was not placed\n", what);
    status_ = 1;
  }

  void shoot(const char* name) {
    settle();
    const std::filesystem::path file = outFolder_ / (std::string(name) + ".png");
    if (!window_.grab().save(fromPath(file), "PNG")) {
      std::fprintf(stderr, "script-demo: cannot write %s\n", file.string().c_str());
      status_ = 1;
    }
  }

  TForm1& window_;
  std::filesystem::path outFolder_;
  int status_ = 0;
};

}  // namespace

int runScriptedSession(TForm1& window, const std::filesystem::path& outFolder) {
  std::error_code error;
  std::filesystem::create_directories(outFolder, error);
  return Session(window, outFolder).run();
}

}  // namespace ws::app
