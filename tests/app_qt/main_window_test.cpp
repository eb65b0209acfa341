// The window offscreen: its controls as laid out, and user input reaching
// the model's handlers and coming back as repainted widgets.

#include "app_qt/main_window.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app_qt/canvas_view.h"
#include "app_qt/qt_start.h"
#include "app_qt/qt_text.h"
#include "app_qt/synthetic_input.h"
#include "demo/demo_areas.h"
#include "demo/demo_game.h"
#include "editor/editor_messages.h"
#include "editor/window_texts.h"
#include "editor/world_map.h"
#include "editor/world_picture.h"
#include "platform/text.h"
#include "support/scoped_test_env.h"
#include "support/scripted_dialogs.h"
#include "support/window_places.h"
#include "world/save_body_layout.h"
#include "world/world_messages.h"

extern char** environ;

namespace ws::app {
namespace {

namespace fs = std::filesystem;

// Demo catalogue entries the tests use.
constexpr int kLinkGateArea = demo::areas::kGateOfBeginnings;  // 128 x 64, three dungeons
constexpr int kFieldArea = demo::areas::kBlueForest;      // 128 x 64, a tower and three dungeons
constexpr int kTowerOnlyArea = demo::areas::kNorthTower;  // a field without dungeons
constexpr int kTownArea = demo::areas::kHarbourTown;      // 128 x 64, a church and six houses
constexpr int kBrokenArea = demo::areas::kBrokenMap;      // its map file has a bad header

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "app_window_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

using editor::testing::ScriptedDialogs;

// Pixels of `view` on screen that differ from the model's canvas shown at
// `scale` times its size.
int pixelsDifferingFrom(QWidget* view, const canvas::Canvas& canvas, int scale) {
  const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (shown.width() != canvas.width() * scale || shown.height() != canvas.height() * scale) {
    return -1;
  }
  int differing = 0;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      if (shown.pixel(x, y) != toQRgb(canvas.pixel(x / scale, y / scale))) ++differing;
    }
  }
  return differing;
}

bool allBlack(const canvas::Canvas& canvas) {
  for (const canvas::Colour pixel : canvas.pixels()) {
    if (pixel != canvas::kBlack) return false;
  }
  return true;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    gameFolder_ = platform::testing::uniqueTestFolder("app-window");
    ASSERT_TRUE(demo::makeDemoGame(gameFolder_).ok());
  }
  static void TearDownTestSuite() { fs::remove_all(gameFolder_); }

  void SetUp() override { open(&dialogs_); }

  // A fresh window on `game` (empty: the demo game), keeping its state in
  // `stateFolder` when there is one; `dialogs` nullptr for real Qt dialogs.
  void open(editor::Dialogs* dialogs, std::optional<fs::path> stateFolder = std::nullopt,
            const fs::path& game = {}) {
    editor::EditorOptions options;
    options.gameFolder = game.empty() ? gameFolder_ : game;
    options.stateFolder = std::move(stateFolder);
    window_ = std::make_unique<TForm1>(options, dialogs);
    ASSERT_TRUE(window_->FormCreate());
    window_->show();
    QApplication::processEvents();
  }

  template <typename Widget>
  Widget* child(const char* name) {
    auto* widget = window_->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  const editor::EditorModel& model() { return window_->model(); }
  void chooseArea(int row) { clickListItem(child<QListWidget>("ListBox1"), row); }
  void placeAt(QPoint position) {
    auto* map = child<CanvasView>("Image2");
    child<QScrollArea>("ScrollBox1")->ensureVisible(position.x(), position.y());
    moveMouse(map, position);
    clickAt(map, position);
  }

  static inline fs::path gameFolder_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TForm1> window_;
};

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem) {
  for (const ws::testing::WindowPlace& place : ws::testing::kWindowPlaces) {
    // The world map lies in the scroll box's viewport (below).
    if (std::string_view(place.name) == "Image2") continue;
    SCOPED_TRACE(place.name);
    QWidget* widget = child<QWidget>(place.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(place.parent));
    EXPECT_EQ(widget->geometry(), QRect(place.left, place.top, place.width, place.height));
    EXPECT_EQ(widget->isVisibleTo(window_.get()), place.visibleAtStart);
  }
  // The world map lies inside the scroll box at its top left, 512 x 256.
  auto* map = child<CanvasView>("Image2");
  EXPECT_TRUE(child<QScrollArea>("ScrollBox1")->isAncestorOf(map));
  EXPECT_EQ(map->geometry(), QRect(0, 0, 512, 256));
  EXPECT_EQ(window_->pos(), QPoint(ws::testing::kForm1Left, ws::testing::kForm1Top));
}

TEST_F(MainWindowTest, CaptionsAreTheSystemsTexts) {
  struct Caption {
    const char* name;
    const char* utf8;
  };
  const Caption captions[] = {
      {"Label1", "建物"},     {"RadioButton1", "リンクゲート"}, {"RadioButton2", "フィールド"},
      {"RadioButton3", "町"}, {"Label2", "ワールド名"},         {"Button1", "LOAD"},
      {"Button2", "SAVE"},
  };
  for (const Caption& caption : captions) {
    SCOPED_TRACE(caption.name);
    QWidget* widget = child<QWidget>(caption.name);
    ASSERT_NE(widget, nullptr);
    const QString expected = QString::fromUtf8(caption.utf8);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->text(), expected);
    } else {
      EXPECT_EQ(qobject_cast<QAbstractButton*>(widget)->text(), expected);
    }
  }
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), QString::fromUtf8("テストワールド"));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Form1"));
}

TEST(WindowTexts, AreTheCp932SpellingsOfTheirJapanese) {
  struct Text {
    std::string_view cp932;
    const char* utf8;
  };
  const Text texts[] = {
      {editor::kFontFamily, "ＭＳ ゴシック"},         {editor::kLabel1Caption, "建物"},
      {editor::kRadioButton1Caption, "リンクゲート"}, {editor::kRadioButton2Caption, "フィールド"},
      {editor::kRadioButton3Caption, "町"},           {editor::kLabel2Caption, "ワールド名"},
  };
  for (const Text& text : texts) {
    EXPECT_EQ(platform::utf8ToCp932(text.utf8), std::string(text.cp932)) << text.utf8;
  }
}

TEST_F(MainWindowTest, StartsWithTheLinkGateKindTheCatalogueAndABlackMap) {
  EXPECT_TRUE(child<QRadioButton>("RadioButton1")->isChecked());
  EXPECT_EQ(child<QListWidget>("ListBox1")->count(), 200);
  EXPECT_EQ(child<QListWidget>("ListBox1")->item(kLinkGateArea)->text(),
            QString::fromUtf8("始まりの門"));
  EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 0);
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image2"), model().Image2(), 1), 0);
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image1"), model().Image1(), 2), 0);
  EXPECT_TRUE(allBlack(model().Image1()));
}

TEST_F(MainWindowTest, ListsHaveTwelvePixelItemsInATwelvePixelFont) {
  for (const char* name : {"ListBox1", "CheckListBox1"}) {
    auto* list = child<QListWidget>(name);
    if (list->count() == 0) chooseArea(kLinkGateArea);
    ASSERT_GT(list->count(), 0) << name;
    EXPECT_EQ(list->visualItemRect(list->item(0)).height(), 12) << name;
  }
  EXPECT_EQ(window_->font().pixelSize(), 12);
}

TEST_F(MainWindowTest, FocusMovesInTheLayoutsTabOrder) {
  QStringList order;
  for (const char* name : ws::testing::kTabOrder)
    order << QString::fromLatin1(name);
  QStringList chain;
  QWidget* widget = child<QWidget>("Button1");
  do {
    if (order.contains(widget->objectName()) && !chain.contains(widget->objectName())) {
      chain << widget->objectName();
    }
    widget = widget->nextInFocusChain();
  } while (widget != child<QWidget>("Button1"));
  EXPECT_EQ(chain, order);
}

TEST_F(MainWindowTest, ClickingACatalogueItemChoosesTheAreaAndRepaints) {
  chooseArea(kLinkGateArea);
  EXPECT_EQ(model().ListBox1().selected, kLinkGateArea);
  EXPECT_TRUE(model().cursor().armed);
  auto* dungeons = child<QListWidget>("CheckListBox1");
  ASSERT_EQ(dungeons->count(), model().CheckListBox1().count());
  ASSERT_EQ(dungeons->count(), 3);
  EXPECT_EQ(dungeons->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(dungeons->item(1)->checkState(), Qt::Unchecked);
  EXPECT_FALSE(allBlack(model().Image1()));
  // The preview at twice its size, every pixel a 2 x 2 block.
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image1"), model().Image1(), 2), 0);
}

TEST_F(MainWindowTest, ClickingTheSelectedCatalogueItemChoosesItAgainOnce) {
  chooseArea(kLinkGateArea);
  clickCheckMark(child<QListWidget>("CheckListBox1"), 1);
  ASSERT_TRUE(model().CheckListBox1().isChecked(1));
  // Chosen again: the default checks replace the user's.
  chooseArea(kLinkGateArea);
  EXPECT_FALSE(model().CheckListBox1().isChecked(1));
  EXPECT_TRUE(model().CheckListBox1().isChecked(0));

  // Each click runs the choice once: a refused area map file shows its
  // message once per click.
  chooseArea(kBrokenArea);
  EXPECT_EQ(dialogs_.messages.size(), 1u);
  chooseArea(kBrokenArea);
  EXPECT_EQ(dialogs_.messages.size(), 2u);
}

TEST_F(MainWindowTest, ClickingAKindButtonRunsItsHandler) {
  chooseArea(kTownArea);
  clickAt(child<QRadioButton>("RadioButton3"), {4, 8});
  EXPECT_EQ(model().RadioButtons().selected, world::AreaKind::Town);
  EXPECT_TRUE(child<QRadioButton>("RadioButton3")->isChecked());
  EXPECT_FALSE(child<QRadioButton>("RadioButton1")->isChecked());
  EXPECT_TRUE(child<QWidget>("CheckListBox2")->isVisible());
  EXPECT_FALSE(child<QWidget>("CheckListBox1")->isVisible());
  EXPECT_EQ(child<QListWidget>("CheckListBox2")->count(), 6);
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image1"), model().Image1(), 2), 0);
}

TEST_F(MainWindowTest, ClickingACheckMarkTogglesItAndRedrawsTheMarkers) {
  chooseArea(kLinkGateArea);
  const canvas::Canvas before = model().Image1();
  clickCheckMark(child<QListWidget>("CheckListBox1"), 1);
  EXPECT_TRUE(model().CheckListBox1().isChecked(1));
  EXPECT_EQ(child<QListWidget>("CheckListBox1")->item(1)->checkState(), Qt::Checked);
  EXPECT_NE(std::vector<canvas::Colour>(before.pixels().begin(), before.pixels().end()),
            std::vector<canvas::Colour>(model().Image1().pixels().begin(),
                                        model().Image1().pixels().end()));
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image1"), model().Image1(), 2), 0);

  clickCheckMark(child<QListWidget>("CheckListBox1"), 1);
  EXPECT_FALSE(model().CheckListBox1().isChecked(1));
}

TEST_F(MainWindowTest, MapClicksArriveInMapPixelsWhateverTheScrolling) {
  chooseArea(kLinkGateArea);
  auto* box = child<QScrollArea>("ScrollBox1");
  box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->maximum());
  QApplication::processEvents();
  ASSERT_GT(box->horizontalScrollBar()->value(), 0);

  auto* map = child<CanvasView>("Image2");
  moveMouse(map, {400, 10});
  EXPECT_EQ(model().cursor().x, 384);
  EXPECT_EQ(model().cursor().y, 0);
  clickAt(map, {400, 10});
  const world::AreaSlot& slot = model().areaSlots()[0];
  EXPECT_TRUE(slot.used);
  EXPECT_EQ(slot.x, 384);
  auto* placed = child<QListWidget>("ListBox2");
  ASSERT_EQ(placed->count(), 1);
  EXPECT_EQ(placed->item(0)->text(), QString::fromUtf8("始まりの門=0"));
  // The model selected the field kind and took the link gate kind away.
  EXPECT_TRUE(child<QRadioButton>("RadioButton2")->isChecked());
  EXPECT_FALSE(child<QRadioButton>("RadioButton1")->isEnabled());
  EXPECT_EQ(pixelsDifferingFrom(map, model().Image2(), 1), 0);
}

TEST_F(MainWindowTest, DraggingPastTheLeftEdgeGivesNegativePositionsAndNoClick) {
  chooseArea(kLinkGateArea);
  auto* map = child<CanvasView>("Image2");
  pressAt(map, {40, 10});
  dragTo(map, {-40, 10});
  EXPECT_EQ(model().cursor().x, -32);
  releaseAt(map, {-40, 10});
  EXPECT_EQ(model().areaSlots().usedCount(), 0);
}

// Runs `action` while a timer hands each modal dialog that opens to
// `answer`, which closes it and returns true, or returns false for a dialog
// it did not expect. Such a dialog, or any modal dialog still open five
// seconds after the start, is closed here so that the test fails instead of
// waiting for ctest's timeout. True when every dialog was answered.
bool answerModalDialog(const std::function<bool(QWidget*)>& answer,
                       const std::function<void()>& action) {
  constexpr int kDeadlineMs = 5000;
  bool allAnswered = true;
  QElapsedTimer clock;
  clock.start();
  QTimer poller;
  poller.setInterval(10);
  QObject::connect(&poller, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (clock.elapsed() < kDeadlineMs && answer(modal)) return;
    allAnswered = false;
    ADD_FAILURE() << "an unexpected modal dialog opened: " << modal->metaObject()->className();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  });
  poller.start();
  action();
  poller.stop();
  return allAnswered;
}

TEST_F(MainWindowTest, ARefusedPlacementShowsItsMessageInAMessageBox) {
  open(nullptr);               // real dialogs
  chooseArea(kTowerOnlyArea);  // a link gate area needs a dungeon; this one has none
  QString shown;
  const bool answered = answerModalDialog(
      [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return false;
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
        return true;
      },
      [&] {
        placeAt({10, 10});
      });
  EXPECT_TRUE(answered);
  EXPECT_EQ(shown, fromCp932(world::kLinkGateNeedsDungeonMessage));
  EXPECT_EQ(model().areaSlots().usedCount(), 0);
  EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 0);
}

// The first start without a game, with Qt's real dialogs: the game's
// message, the folder dialog titled with its instruction, a folder without
// the catalogue named in a message and the dialog again; Cancel leaves no
// window to edit in.
TEST(FirstStartTest, WithoutACatalogueTheFolderQuestionRepeatsUntilCancelled) {
  const platform::testing::TempFolder empty("app-qt-no-game");
  const platform::testing::TempFolder wrong("app-qt-wrong-folder");
  editor::EditorOptions options;
  options.gameFolder = empty.path();
  TForm1 window(options, nullptr);
  std::vector<QString> seen;  // "message: TEXT" or "folder: TITLE"
  const bool answered = answerModalDialog(
      [&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
          seen.push_back(QStringLiteral("message: ") + box->text());
          box->button(QMessageBox::Ok)->click();
          return true;
        }
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) return false;
        seen.push_back(QStringLiteral("folder: ") + dialog->windowTitle());
        if (seen.size() < 4) {
          dialog->setDirectory(fromPath(wrong.path()));
          static_cast<QDialog*>(dialog)->accept();  // QFileDialog keeps it protected
        } else {
          dialog->reject();
        }
        return true;
      },
      [&] { EXPECT_FALSE(window.FormCreate()); });
  EXPECT_TRUE(answered);
  const QString folder =
      QStringLiteral("folder: ") + fromCp932(editor::kChooseGameFolderInstruction);
  const QString lacks = fromCp932(editor::folderLacksCatalogueMessage(wrong.path()));
  EXPECT_EQ(seen, (std::vector<QString>{
                      QStringLiteral("message: ") + fromCp932(editor::kChooseGameFolderMessage),
                      folder, QStringLiteral("message: ") + lacks, folder}));
}

// Unchecked items of a check list show an empty box: in the indicator's
// place, at the row's left, two rows and two columns of drawn pixels (the
// box's four sides), not just a stroke or two.
TEST_F(MainWindowTest, UncheckedItemsShowAnEmptyBox) {
  chooseArea(kFieldArea);
  auto* list = child<QListWidget>("CheckListBox1");
  int unchecked = -1;
  for (int i = 0; i < list->count() && unchecked < 0; ++i) {
    if (list->item(i)->checkState() == Qt::Unchecked) unchecked = i;
  }
  ASSERT_GE(unchecked, 0);
  const QRect row = list->visualItemRect(list->item(unchecked));
  const QImage shown = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRgb background = list->palette().color(QPalette::Base).rgb();
  const int side = row.height();
  const auto drawn = [&](int x, int y) {
    return shown.pixel(row.left() + x, row.top() + y) != background;
  };
  int fullRows = 0;
  int fullColumns = 0;
  for (int i = 0; i < side; ++i) {
    int inRow = 0;
    int inColumn = 0;
    for (int j = 0; j < side; ++j) {
      inRow += drawn(j, i) ? 1 : 0;
      inColumn += drawn(i, j) ? 1 : 0;
    }
    fullRows += inRow >= side / 2 ? 1 : 0;
    fullColumns += inColumn >= side / 2 ? 1 : 0;
  }
  EXPECT_GE(fullRows, 2);
  EXPECT_GE(fullColumns, 2);
}

// The window moved partly off its screen comes back wholly onto it.
TEST_F(MainWindowTest, KeepOnScreenMovesTheWindowWhollyOntoItsScreen) {
  const QRect available = window_->screen()->availableGeometry();
  window_->move(available.right() - 100, available.bottom() - 50);
  QApplication::processEvents();
  keepOnScreen(*window_);
  QApplication::processEvents();
  const QRect frame = window_->frameGeometry();
  if (frame.width() <= available.width() && frame.height() <= available.height()) {
    EXPECT_TRUE(available.contains(frame)) << frame.x() << "," << frame.y();
  } else {
    EXPECT_EQ(frame.topLeft(), available.topLeft());
  }
}

// What a real file dialog showed when it opened; it is cancelled at once.
struct ShownFileDialog {
  bool opened = false;
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
  QString folder;
  QStringList selected;
  bool confirmsOverwrite = false;
};

ShownFileDialog cancelNextFileDialog(const std::function<void()>& action) {
  ShownFileDialog shown;
  answerModalDialog(
      [&](QWidget* modal) {
        // Unsaved work is not saved first.
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
          box->button(QMessageBox::No)->click();
          return true;
        }
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) return false;
        shown.opened = true;
        shown.mode = dialog->acceptMode();
        shown.folder = dialog->directory().canonicalPath();
        shown.selected = dialog->selectedFiles();
        shown.confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->reject();
        return true;
      },
      action);
  return shown;
}

TEST_F(MainWindowTest, FileDialogsStartInTheGamesUsrFolder) {
  open(nullptr);  // real dialogs
  chooseArea(kLinkGateArea);
  placeAt({10, 10});
  ASSERT_EQ(model().areaSlots().usedCount(), 1);
  const QString usr = QDir(fromPath(gameFolder_ / "usr")).canonicalPath();

  const ShownFileDialog save = cancelNextFileDialog([&] {
    clickAt(child<QPushButton>("Button2"), {10, 10});
  });
  ASSERT_TRUE(save.opened);
  EXPECT_EQ(save.mode, QFileDialog::AcceptSave);
  EXPECT_EQ(save.folder, usr);
  ASSERT_EQ(save.selected.size(), 1);
  EXPECT_EQ(QFileInfo(save.selected.front()).fileName(), QStringLiteral("RVTSV1.dat"));
  EXPECT_TRUE(save.confirmsOverwrite);
  EXPECT_FALSE(fs::exists(gameFolder_ / "usr" / "RVTSV1.dat"));

  const ShownFileDialog load = cancelNextFileDialog([&] {
    clickAt(child<QPushButton>("Button1"), {10, 10});
  });
  ASSERT_TRUE(load.opened);
  EXPECT_EQ(load.mode, QFileDialog::AcceptOpen);
  EXPECT_EQ(load.folder, usr);
  // Cancelled: the world stays as it was.
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
}

TEST_F(MainWindowTest, LoadShowsTheSavedChoicesWithoutEchoingItsSelections) {
  const fs::path save = gameFolder_ / "usr" / "window_test.dat";
  chooseArea(kLinkGateArea);
  clickCheckMark(child<QListWidget>("CheckListBox1"), 2);  // dungeons 0 and 2
  placeAt({10, 10});
  chooseArea(kFieldArea);
  placeAt({140, 10});
  ASSERT_EQ(model().areaSlots().usedCount(), 2);
  dialogs_.saveAnswers.push_back(save);
  clickAt(child<QPushButton>("Button2"), {10, 10});
  ASSERT_TRUE(fs::exists(save));

  // Show something else, then load.
  chooseArea(kTownArea);
  dialogs_.openAnswers.push_back(save);
  clickAt(child<QPushButton>("Button1"), {10, 10});
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 2);
  EXPECT_EQ(child<QListWidget>("ListBox1")->currentRow(), kFieldArea);
  EXPECT_TRUE(child<QRadioButton>("RadioButton3")->isChecked());
  EXPECT_FALSE(child<QRadioButton>("RadioButton1")->isEnabled());
  EXPECT_TRUE(child<QWidget>("CheckListBox2")->isVisible());
  // The field's saved dungeon stays checked; had the catalogue selection come
  // back as a user's choice, its default checks would have replaced it.
  auto* dungeons = child<QListWidget>("CheckListBox1");
  for (int i = 0; i < dungeons->count(); ++i) {
    EXPECT_EQ(dungeons->item(i)->checkState() == Qt::Checked, model().CheckListBox1().isChecked(i))
        << i;
  }
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image2"), model().Image2(), 1), 0);
  fs::remove(save);
}

TEST_F(MainWindowTest, NameFieldTakesAtMostThirtyOneCp932Bytes) {
  auto* edit = child<QLineEdit>("Edit1");
  edit->setFocus();
  edit->end(false);
  const QString typed[] = {QStringLiteral("é"), QString::fromUtf8("あ")};
  // "é" has no CP932 form; "テストワールド" is 14 bytes, so eight "あ" fit
  // and the ninth is refused.
  for (int i = 0; i < 10; ++i) {
    const QString& text = typed[i == 0 ? 0 : 1];
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(edit, &press);
  }
  EXPECT_EQ(model().Edit1().size(), 30u);
  EXPECT_EQ(edit->text(), fromCp932(model().Edit1()));
  EXPECT_EQ(edit->text(), QString::fromUtf8("テストワールド") + QString(8, QChar(0x3042)));
}

// Undo and redo by keyboard wherever the focus is, but in the name field the
// keys undo its typing.
TEST_F(MainWindowTest, CtrlZUndoesCtrlYAndCtrlShiftZRedoExceptInTheNameField) {
  chooseArea(kLinkGateArea);
  placeAt({10, 10});
  chooseArea(kFieldArea);
  placeAt({200, 100});
  ASSERT_EQ(model().areaSlots().usedCount(), 2);
  auto* catalogue = child<QListWidget>("ListBox1");
  auto* placed = child<QListWidget>("ListBox2");
  window_->activateWindow();
  catalogue->setFocus();
  QApplication::processEvents();

  pressKey(catalogue, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
  EXPECT_EQ(placed->count(), 1);
  pressKey(catalogue, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(placed->count(), 0);
  EXPECT_TRUE(child<QRadioButton>("RadioButton1")->isEnabled());
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image2"), model().Image2(), 1), 0);
  pressKey(catalogue, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(placed->count(), 1);
  EXPECT_FALSE(child<QRadioButton>("RadioButton1")->isEnabled());
  auto* map = child<QScrollArea>("ScrollBox1");
  map->setFocus();
  QApplication::processEvents();
  pressKey(map, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(placed->count(), 2);
  EXPECT_EQ(pixelsDifferingFrom(child<QWidget>("Image2"), model().Image2(), 1), 0);

  auto* edit = child<QLineEdit>("Edit1");
  edit->setFocus();
  edit->end(false);
  QApplication::processEvents();
  QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("あ"));
  QApplication::sendEvent(edit, &typed);
  ASSERT_EQ(edit->text(), QString::fromUtf8("テストワールドあ"));
  pressKey(edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), QString::fromUtf8("テストワールド"));
  EXPECT_EQ(model().Edit1(), world::kDefaultWorldName);
  EXPECT_EQ(placed->count(), 2);
}

// Closing a modified world asks in the system's Yes / No / Cancel box;
// Cancel keeps the window open, No closes it.
TEST_F(MainWindowTest, ClosingAModifiedWorldAsksWhetherToSaveIt) {
  open(nullptr);  // real dialogs
  chooseArea(kLinkGateArea);
  placeAt({10, 10});
  ASSERT_TRUE(model().isModified());
  QString asked;
  QMessageBox::StandardButtons offered;
  auto closeAnswering = [&](QMessageBox::StandardButton answer) {
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      asked = box->text();
      offered = box->standardButtons();
      box->button(answer)->click();
    });
    closer.start();
    const bool closed = window_->close();
    closer.stop();
    return closed;
  };
  EXPECT_FALSE(closeAnswering(QMessageBox::Cancel));
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(asked, QString::fromUtf8("ワールドは変更されています。保存しますか？"));
  EXPECT_EQ(offered, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Form1"));
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
  EXPECT_TRUE(closeAnswering(QMessageBox::No));
  EXPECT_FALSE(window_->isVisible());
}

// A save file dropped on the window loads after the unsaved-work question;
// a drag without one local file is not taken.
TEST_F(MainWindowTest, DroppingASaveFileLoadsItAfterTheQuestion) {
  const fs::path save = gameFolder_ / "usr" / "dropped.dat";
  chooseArea(kLinkGateArea);
  placeAt({10, 10});
  chooseArea(kTownArea);
  placeAt({200, 100});
  dialogs_.saveAnswers.push_back(save);
  clickAt(child<QPushButton>("Button2"), {10, 10});
  ASSERT_TRUE(fs::exists(save));
  clickAt(child<CanvasView>("Image2"), {200, 100});  // removes the town
  ASSERT_EQ(model().areaSlots().usedCount(), 1);

  auto drop = [&](QMimeData& data) {
    const QPoint at(100, 100);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &dropped);
    QApplication::processEvents();
    return true;
  };
  QMimeData text;
  text.setText(QStringLiteral("not a file"));
  EXPECT_FALSE(drop(text));
  QMimeData file;
  file.setUrls({QUrl::fromLocalFile(fromPath(save))});
  dialogs_.saveChoices = {editor::SaveChoice::Cancel, editor::SaveChoice::DontSave};
  EXPECT_TRUE(drop(file));
  EXPECT_EQ(dialogs_.questions.size(), 1u);
  EXPECT_EQ(model().areaSlots().usedCount(), 1);
  EXPECT_TRUE(drop(file));  // "don't save" this time
  EXPECT_EQ(dialogs_.questions.size(), 2u);
  EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 2);
  EXPECT_FALSE(model().isModified());
  EXPECT_TRUE(dialogs_.messages.empty());
  fs::remove(save);
}

// A right-click at (40, 40) on `widget` while a timer chooses item `item`
// of the popup menu that opens, as by the keyboard (the item made current,
// then Return): the chosen item's caption, empty when no menu opened.
QString chooseFromContextMenu(QWidget* widget, int item) {
  QString chosen;
  QTimer chooser;
  chooser.setInterval(10);
  QObject::connect(&chooser, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr || menu->actions().size() <= item) return;
    chosen = menu->actions().at(item)->text();
    menu->setActiveAction(menu->actions().at(item));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &enter);
  });
  chooser.start();
  QContextMenuEvent rightClick(QContextMenuEvent::Mouse, {40, 40},
                               widget->mapToGlobal(QPoint(40, 40)));
  QApplication::sendEvent(widget, &rightClick);
  chooser.stop();
  return chosen;
}

// The world map's context menu saves the map without the cursor outline:
// after LOAD that is the rendered file, pixel for pixel.
TEST_F(MainWindowTest, TheMapsContextMenuSavesTheLoadedMapAsTheRenderOfTheFile) {
  const fs::path save = gameFolder_ / "usr" / "picture.dat";
  const fs::path png = gameFolder_ / "usr" / "picture.png";
  chooseArea(kLinkGateArea);
  clickCheckMark(child<QListWidget>("CheckListBox1"), 1);
  placeAt({300, 150});
  chooseArea(kFieldArea);
  placeAt({10, 10});
  dialogs_.saveAnswers.push_back(save);
  clickAt(child<QPushButton>("Button2"), {10, 10});
  dialogs_.openAnswers.push_back(save);
  clickAt(child<QPushButton>("Button1"), {10, 10});
  ASSERT_EQ(model().areaSlots().usedCount(), 2);

  auto* map = child<CanvasView>("Image2");
  dialogs_.pictureAnswers.push_back(png);
  EXPECT_EQ(chooseFromContextMenu(map, 0), QString::fromUtf8("ワールドマップを画像で保存…"));
  ASSERT_TRUE(fs::exists(png));

  const Result<canvas::Canvas> rendered = editor::RenderSaveFile(gameFolder_, save);
  ASSERT_TRUE(rendered.ok());
  const QImage picture = QImage(fromPath(png)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(picture.size(), QSize(512, 256));
  int differing = 0;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 512; ++x) {
      if (picture.pixel(x, y) != toQRgb(rendered->pixel(x, y))) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
  // On screen the same map carries the outline where the cursor is.
  canvas::Canvas shown = *rendered;
  editor::drawCursorOutline(shown, model().cursor());
  EXPECT_EQ(pixelsDifferingFrom(map, shown, 1), 0);
  fs::remove(save);
  fs::remove(png);
}

// A window that ends without closing, as a killed one does, leaves its world
// in the recovery file: the next window on the same state folder asks, and
// Yes brings the world back. Closing normally removes the file.
TEST_F(MainWindowTest, TheNextWindowOffersBackTheWorldOfOneThatNeverClosed) {
  const platform::testing::TempFolder state("app-state");
  open(nullptr, state.path());
  chooseArea(kLinkGateArea);
  placeAt({10, 10});
  chooseArea(kTownArea);
  placeAt({200, 100});
  const world::AreaSlotTable placed = model().areaSlots();
  const fs::path recovery = model().recoveryFile();
  window_.reset();  // gone without closing
  ASSERT_TRUE(fs::exists(recovery));

  QString asked;
  QMessageBox::StandardButton preset = QMessageBox::NoButton;
  const bool answered = answerModalDialog(
      [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return false;
        asked = box->text();
        preset = box->standardButton(box->defaultButton());
        box->button(QMessageBox::Yes)->click();
        return true;
      },
      [&] { open(nullptr, state.path()); });
  EXPECT_TRUE(answered);
  QApplication::processEvents();
  EXPECT_EQ(asked, QString::fromUtf8("前回の編集内容が残っています。復元しますか？"));
  EXPECT_EQ(preset, QMessageBox::Yes);
  for (int i = 0; i < world::kSlotCount; ++i) {
    const world::AreaSlot& slot = model().areaSlots()[i];
    EXPECT_EQ(slot.used, placed[i].used) << i;
    EXPECT_EQ(std::tuple(slot.areaNumber, slot.x, slot.y, slot.kind),
              std::tuple(placed[i].areaNumber, placed[i].x, placed[i].y, placed[i].kind))
        << i;
  }
  EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 2);
  EXPECT_TRUE(model().isModified());
  EXPECT_EQ(pixelsDifferingFrom(child<CanvasView>("Image2"), model().Image2(), 1), 0);

  EXPECT_TRUE(answerModalDialog(
      [&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return false;
        box->button(QMessageBox::No)->click();  // don't save
        return true;
      },
      [&] { EXPECT_TRUE(window_->close()); }));
  EXPECT_FALSE(fs::exists(recovery));
}

TEST_F(MainWindowTest, TheMapsContextMenuLoadsFromTheBackupFolder) {
  const platform::testing::TempFolder state("app-backups");
  open(nullptr, state.path());
  auto* map = child<CanvasView>("Image2");
  QString offered;
  const ShownFileDialog shown =
      cancelNextFileDialog([&] { offered = chooseFromContextMenu(map, 1); });
  EXPECT_EQ(offered, QString::fromUtf8("バックアップから読み込む…"));
  EXPECT_TRUE(shown.opened);
  EXPECT_EQ(shown.mode, QFileDialog::AcceptOpen);
  EXPECT_EQ(shown.folder, QDir(fromPath(state.path() / "backups")).canonicalPath());
}

// The world the killed-window test places, saves and then loses with its
// process: the game and state folders and the save file come from the
// environment; without them (a plain run of the disabled tests) it skips.
TEST_F(MainWindowTest, DISABLED_KilledWindowChild) {
  const char* game = std::getenv("WORLDSMITH_KILLED_GAME");
  const char* state = std::getenv("WORLDSMITH_KILLED_STATE");
  const char* save = std::getenv("WORLDSMITH_KILLED_SAVE");
  if (game == nullptr || state == nullptr || save == nullptr) GTEST_SKIP();
  open(&dialogs_, fs::path(state), fs::path(game));
  chooseArea(kLinkGateArea);
  clickCheckMark(child<QListWidget>("CheckListBox1"), 1);
  placeAt({10, 10});
  chooseArea(kTownArea);
  clickAt(child<QRadioButton>("RadioButton3"), {4, 8});
  clickCheckMark(child<QListWidget>("CheckListBox2"), 3);  // a fourth house
  placeAt({200, 100});
  chooseArea(kFieldArea);
  clickAt(child<QRadioButton>("RadioButton2"), {4, 8});
  placeAt({300, 10});
  child<QLineEdit>("Edit1")->setText(QString::fromUtf8("消えない世界"));
  dialogs_.saveAnswers.push_back(fs::path(save));
  clickAt(child<QPushButton>("Button2"), {10, 10});
  ASSERT_TRUE(fs::exists(save));
  QApplication::processEvents();
  ::kill(::getpid(), SIGKILL);
}

// The window's process killed with SIGKILL after a SAVE: the next window on
// the same state folder asks, and after Yes saves the very same bytes.
TEST_F(MainWindowTest, AWindowKilledWithSigkillComesBackWholeAfterYes) {
  const platform::testing::TempFolder state("app-killed-state");
  const platform::testing::TempFolder out("app-killed-out");
  const fs::path before = out.path() / "before.dat";
  const platform::testing::ScopedEnv game("WORLDSMITH_KILLED_GAME", gameFolder_.string());
  const platform::testing::ScopedEnv stateEnv("WORLDSMITH_KILLED_STATE", state.path().string());
  const platform::testing::ScopedEnv save("WORLDSMITH_KILLED_SAVE", before.string());
  std::string program = "/proc/self/exe";
  std::string alsoDisabled = "--gtest_also_run_disabled_tests";
  std::string filter = "--gtest_filter=MainWindowTest.DISABLED_KilledWindowChild";
  char* arguments[] = {program.data(), alsoDisabled.data(), filter.data(), nullptr};
  pid_t process = 0;
  ASSERT_EQ(::posix_spawn(&process, program.c_str(), nullptr, nullptr, arguments, environ), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(process, &status, 0), process);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  ASSERT_TRUE(fs::exists(before));

  dialogs_.yesNoAnswers = {true};
  open(&dialogs_, state.path());
  EXPECT_EQ(dialogs_.yesNoQuestions,
            std::vector<std::string>{std::string(editor::kRestoreRecoveryQuestion)});
  EXPECT_TRUE(dialogs_.questions.empty());
  EXPECT_EQ(child<QListWidget>("ListBox2")->count(), 3);
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), QString::fromUtf8("消えない世界"));
  EXPECT_TRUE(model().isModified());
  const fs::path after = out.path() / "after.dat";
  dialogs_.saveAnswers.push_back(after);
  clickAt(child<QPushButton>("Button2"), {10, 10});
  EXPECT_TRUE(dialogs_.messages.empty());
  std::ifstream a(before, std::ios::binary), b(after, std::ios::binary);
  const std::string beforeBytes{std::istreambuf_iterator<char>(a), {}};
  const std::string afterBytes{std::istreambuf_iterator<char>(b), {}};
  EXPECT_FALSE(afterBytes.empty());
  EXPECT_TRUE(beforeBytes == afterBytes);
}

}  // namespace
}  // namespace ws::app
