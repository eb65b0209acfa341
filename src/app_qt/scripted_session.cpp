#include "app_qt/scripted_session.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>
#include <system_error>

#include "app_qt/canvas_view.h"
#include "app_qt/main_window.h"
#include "app_qt/qt_text.h"
#include "app_qt/synthetic_input.h"
#include "demo/demo_areas.h"
#include "editor/editor_model.h"
#include "platform/game_paths.h"

namespace ws::app {
namespace {

// Demo catalogue entries the session uses.
constexpr int kLinkGateArea = demo::areas::kGateOfBeginnings;  // 128 x 64, three dungeons
constexpr int kFieldArea = demo::areas::kBlueForest;  // 128 x 64, a tower and three dungeons
constexpr int kTownArea = demo::areas::kHarbourTown;  // 128 x 64, a church and six houses
constexpr int kTownButton = 3;
// Where the areas go on the world map.
constexpr QPoint kLinkGateSpot{8, 8};
constexpr QPoint kFieldSpot{136, 8};
constexpr QPoint kTownSpot{8, 72};
// How long a shown popup or dialog is given to be drawn before its picture.
constexpr int kDrawMilliseconds = 300;

// The visible tool tip, when one is shown.
QWidget* shownToolTip() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->inherits("QTipLabel") && widget->isVisible()) return widget;
  }
  return nullptr;
}

// Lets the event loop run for `milliseconds`, so that what was shown is
// drawn (also inside a dialog's or a menu's own loop).
void settleFor(int milliseconds) {
  QEventLoop loop;
  // By the slot's name: the functor overload allocates a slot object inside
  // Qt's header, which the static analyser takes for a leak.
  QTimer::singleShot(milliseconds, &loop, SLOT(quit()));
  loop.exec();
}

class Session {
 public:
  Session(TForm1& window, std::filesystem::path outFolder)
      : window_(window), outFolder_(std::move(outFolder)) {}

  int run() {
    shoot("01-start");
    chooseArea(kLinkGateArea);
    shoot("02-choose-area");
    showHint(kTownArea);
    placeThreeAreas();
    removeAndUndo();
    nameTheWorld();
    saveAndLoad();
    showPictureMenu();
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

  // The hint of catalogue entry `row`, as the list shows it when the mouse
  // rests on the entry.
  void showHint(int row) {
    auto* list = child<QListWidget>("ListBox1");
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QHelpEvent event(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &event);
    settleFor(kDrawMilliseconds);
    shootScreen("03-area-hint", shownToolTip());
    if (shownToolTip() == nullptr) fail("the area hint did not show");
  }

  // A link gate area and a field; then a town, with one more house checked
  // than the three checked when it is chosen.
  void placeThreeAreas() {
    placeAt(kLinkGateSpot);
    chooseArea(kFieldArea);
    placeAt(kFieldSpot);
    chooseArea(kTownArea);
    clickAt(child<QRadioButton>("RadioButton" + std::to_string(kTownButton)), {4, 8});
    clickCheckMark(child<QListWidget>("CheckListBox2"), 3);
    shoot("06-check-objects");
    placeAt(kTownSpot);
    expectPlaced(3, "the three areas");
    shoot("04-place");
  }

  // A click with the cursor over the field removes it; Ctrl+Z brings it
  // back.
  void removeAndUndo() {
    placeAt(kFieldSpot);
    expectPlaced(2, "the areas after the removal");
    shoot("05-remove");
    // The window's shortcuts take keys only while it is the active window.
    window_.activateWindow();
    settle();
    pressKey(child<QListWidget>("ListBox1"), Qt::Key_Z, Qt::ControlModifier);
    settle();
    expectPlaced(3, "the areas after undo");
    shoot("10-undo");
  }

  // The name typed as an input method commits it, as Japanese is typed.
  void nameTheWorld() {
    auto* edit = child<QLineEdit>("Edit1");
    edit->setFocus();
    edit->selectAll();  // the new name replaces the proposed one
    QInputMethodEvent typed;
    typed.setCommitString(QStringLiteral("はじまりの世界"));
    QApplication::sendEvent(edit, &typed);
    settle();
    shoot("07-name");
    if (edit->text().isEmpty()) fail("the world name was not typed");
  }

  // SAVE into the game's usr folder under the proposed name, then LOAD
  // that file.
  void saveAndLoad() {
    const std::filesystem::path usr = platform::saveFolderPath(window_.model().gameFolder());
    std::error_code error;
    std::filesystem::create_directories(usr, error);
    whileOpen(
        [this] {
          clickAt(child<QPushButton>("Button2"), {8, 8});
        },
        [this](QWidget* dialog) {
          shootScreen("08-save", dialog);
          close(dialog);
        });
    if (!std::filesystem::exists(usr / "RVTSV1.dat", error)) fail("SAVE wrote no RVTSV1.dat");
    whileOpen(
        [this] {
          clickAt(child<QPushButton>("Button1"), {8, 8});
        },
        [this](QWidget* dialog) {
          // Typed into the name field, as a user would; the dialog shows
          // the usr folder already.
          auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
          if (name != nullptr) name->setText(QStringLiteral("RVTSV1.dat"));
          shootScreen("09-load", dialog);
          close(dialog);
        });
    expectPlaced(3, "the loaded areas");
  }

  // The world map's menu, opened by a right-click, then closed unchosen.
  void showPictureMenu() {
    auto* map = child<CanvasView>("Image2");
    const QPoint at{200, 120};
    whileOpen(
        [map, at] {
          QContextMenuEvent click(QContextMenuEvent::Mouse, at, map->mapToGlobal(at));
          QApplication::sendEvent(map, &click);
        },
        [this](QWidget* menu) {
          shootScreen("11-picture", menu);
          menu->close();
        });
  }

  // Runs `open`, which opens a modal dialog or a popup menu and returns once
  // it is closed; `answer` gets the dialog or menu when it is shown and must
  // close it.
  void whileOpen(const std::function<void()>& open, const std::function<void(QWidget*)>& answer) {
    auto* poll = new QTimer(&window_);
    bool answered = false;
    QObject::connect(poll, &QTimer::timeout, &window_, [poll, &answered, &answer] {
      QWidget* shown = QApplication::activePopupWidget();
      if (shown == nullptr) shown = QApplication::activeModalWidget();
      if (answered || shown == nullptr || !shown->isVisible()) return;
      answered = true;
      poll->stop();
      settleFor(kDrawMilliseconds);
      answer(shown);
    });
    poll->start(50);
    open();
    settle();
    delete poll;
    if (!answered) fail("a dialog or menu did not open");
  }

  // Accepts a file dialog; one that stays open (its name refused) is
  // cancelled, so that the session never waits for ever.
  void close(QWidget* dialog) {
    auto* files = qobject_cast<QDialog*>(dialog);
    files->accept();
    settle();
    if (!files->isVisible()) return;
    fail("a file dialog refused its name");
    files->reject();
  }

  void expectPlaced(int count, const char* what) {
    if (window_.model().areaSlots().usedCount() != count) fail(what);
  }

  void fail(const char* what) {
    std::fprintf(stderr, "worldsmith-screenshot: unexpected state: %s\n", what);
    status_ = 1;
  }

  void save(const QPixmap& picture, const char* name) {
    const std::filesystem::path file = outFolder_ / (std::string(name) + ".png");
    if (!picture.save(fromPath(file), "PNG")) {
      std::fprintf(stderr, "worldsmith-screenshot: cannot write %s\n", file.string().c_str());
      status_ = 1;
    }
  }

  // The window alone.
  void shoot(const char* name) {
    settle();
    save(window_.grab(), name);
  }

  // The screen under the window and `popup` (a tool tip, a menu, a dialog),
  // which are windows of their own.
  void shootScreen(const char* name, QWidget* popup) {
    QRect area = window_.frameGeometry();
    if (popup != nullptr) area = area.united(popup->frameGeometry());
    save(window_.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()), name);
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
