#pragma once

#include <QWidget>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/dialogs.h"
#include "editor/editor_model.h"
#include "editor/shown_lists.h"

class QButtonGroup;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QHelpEvent;
class QShortcut;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace ws::app {

class CanvasView;

// The editor's one window, Form1 of the class TForm1. It shows the model's
// controls and canvases and hands every user event to the model's handler;
// after each handler it shows the model again with the widgets' signals
// blocked, so changes the model makes never come back as user events.
class TForm1 : public QWidget {
  Q_OBJECT

 public:
  // `dialogs` answers the model's dialogs; without one the window opens
  // real Qt dialogs.
  explicit TForm1(editor::EditorOptions options, editor::Dialogs* dialogs = nullptr,
                  QWidget* parent = nullptr);
  ~TForm1() override;

  // Runs FormCreate and shows its outcome; call once, before show().
  bool FormCreate();

  const editor::EditorModel& model() const { return *model_; }

  // A save file named on the command line or dropped on the window: the
  // unsaved-work question first, then LOAD of that file, once the event loop
  // has finished what it is doing (a drop, the start-up), so that its modal
  // boxes open over the shown window.
  void openFileSoon(const std::filesystem::path& path);
  // openFileSoon's queued call, by name: a queued functor would be a heap
  // object handed to Qt, which the static analyser takes for a leak.
  Q_INVOKABLE void openFileNamed(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Closing asks first while the world has unsaved changes.
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

  // Shows the model's state in the widgets.
  void showModel();

 private:
  void buildControls();
  void buildCanvases();
  void buildKindPanel();
  void setUpTabOrder();
  void connectEvents();
  // Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, except in the name field,
  // which keeps its own text undo.
  void setUpShortcuts();
  void showWorldMapMenu(const QPoint& position);
  bool showAreaHint(QHelpEvent* event);
  // Runs one model handler, then shows the model.
  template <typename Handler>
  void run(Handler&& handler);

  void onListBox1Changed(int row);
  void onListBox1ItemClicked(QListWidgetItem* item);
  void onListBox2Changed(int row);
  void onCheckChanged(editor::CheckList list, QListWidgetItem* item);
  void onWorldNameEdited(const QString& text);

  std::unique_ptr<editor::Dialogs> ownDialogs_;
  std::unique_ptr<editor::EditorModel> model_;

  QScrollArea* scrollBox1_ = nullptr;
  CanvasView* image2_ = nullptr;
  CanvasView* image1_ = nullptr;
  QFrame* panel1_ = nullptr;
  QLabel* label1_ = nullptr;
  std::array<QRadioButton*, 3> radioButtons_{};
  QButtonGroup* kindGroup_ = nullptr;
  QListWidget* checkListBox1_ = nullptr;
  QListWidget* checkListBox2_ = nullptr;
  QListWidget* checkListBox3_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  QListWidget* listBox2_ = nullptr;
  QLabel* label2_ = nullptr;
  QLineEdit* edit1_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPushButton* button2_ = nullptr;
  std::vector<QShortcut*> shortcuts_;
  // Follows the focus to turn the shortcuts off in the name field; cut in
  // the destructor, before the widgets it looks at are gone.
  QMetaObject::Connection focusWatch_;

  // The catalogue row selected when the last mouse press on it began: a
  // click on the row that was already selected chooses the area again.
  int listBox1RowAtPress_ = -1;

  // What each list shows, to fill a list again only when it changed.
  editor::ShownLists shownLists_;
};

}  // namespace ws::app
