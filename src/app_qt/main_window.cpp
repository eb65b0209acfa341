#include "app_qt/main_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHelpEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "app_qt/canvas_view.h"
#include "app_qt/qt_dialogs.h"
#include "app_qt/qt_text.h"
#include "editor/name_field.h"
#include "editor/window_layout.h"
#include "editor/window_texts.h"

namespace ws::app {
namespace {

constexpr QRect toRect(editor::ControlPlace place) {
  return {place.left, place.top, place.width, place.height};
}

// The window's place on the screen and its outer size.
constexpr QRect kFormGeometry = toRect(editor::kForm1Place);
// Window frames differ between desktops; the client area assumes a thin
// frame (4 pixels each side) and a caption bar (26 pixels), which keeps the
// outer size near 641 x 480 and leaves room for the lowest control.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 30;

constexpr QRect kScrollBox1 = toRect(editor::kScrollBox1Place);
constexpr QRect kImage1 = toRect(editor::kImage1Place);
constexpr QRect kPanel1 = toRect(editor::kPanel1Place);
constexpr QRect kLabel1 = toRect(editor::kLabel1Place);
constexpr QRect kRadioButton1 = toRect(editor::kRadioButton1Place);
constexpr QRect kRadioButton2 = toRect(editor::kRadioButton2Place);
constexpr QRect kRadioButton3 = toRect(editor::kRadioButton3Place);
constexpr QRect kCheckListBox1 = toRect(editor::kCheckListBox1Place);
constexpr QRect kCheckListBox2 = toRect(editor::kCheckListBox2Place);
constexpr QRect kCheckListBox3 = toRect(editor::kCheckListBox3Place);
constexpr QRect kListBox1 = toRect(editor::kListBox1Place);
constexpr QRect kListBox2 = toRect(editor::kListBox2Place);
constexpr QRect kLabel2 = toRect(editor::kLabel2Place);
constexpr QRect kEdit1 = toRect(editor::kEdit1Place);
constexpr QRect kButton1 = toRect(editor::kButton1Place);
constexpr QRect kButton2 = toRect(editor::kButton2Place);

constexpr int kItemHeight = editor::kListItemHeight;
constexpr int kFontPixelSize = editor::kFontPixelHeight;
constexpr int kPreviewScale = editor::kPreviewScale;

// Every list row is 12 pixels high, whatever the font would ask for. In so
// low a row the style's check box loses its frame, which leaves an
// unchecked item without any box; the frame is drawn here, inside the row.
class FixedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
  }
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (!item.features.testFlag(QStyleOptionViewItem::HasCheckIndicator)) return;
    const QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
    const QRect indicator =
        style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, item.widget);
    const int side = std::min({indicator.width(), indicator.height(), option.rect.height()}) - 2;
    if (side <= 0) return;
    const QRect box(indicator.center().x() - side / 2, option.rect.center().y() - side / 2, side,
                    side);
    painter->save();
    painter->setPen(item.palette.color(QPalette::Text));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    painter->restore();
  }
};

// "ＭＳ ゴシック" where it is installed, else a Japanese gothic face that
// the system has, at 12 pixels.
QFont windowFont() {
  const QStringList families = QFontDatabase::families();
  const QStringList wanted{fromCp932(editor::kFontFamily), QStringLiteral("MS Gothic"),
                           QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                           QStringLiteral("Noto Sans Mono CJK JP")};
  QFont font;
  for (const QString& family : wanted) {
    if (families.contains(family)) {
      font.setFamily(family);
      break;
    }
  }
  font.setPixelSize(kFontPixelSize);
  return font;
}

QListWidget* makeList(const char* name, QRect geometry, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setGeometry(geometry);
  list->setItemDelegate(new FixedRowDelegate(list));
  list->setUniformItemSizes(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  return list;
}

// Fills the list with the items' texts.
void showItems(QListWidget* list, const std::vector<std::string>& items, bool checkable) {
  list->clear();
  for (const std::string& text : items) {
    auto* item = new QListWidgetItem(fromCp932(text));
    if (checkable) {
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
    list->addItem(item);  // the list owns its items
  }
}

void showSelection(QListWidget* list, int selected) {
  if (selected < 0 || selected >= list->count()) {
    list->setCurrentRow(-1);
    list->clearSelection();
    return;
  }
  list->setCurrentRow(selected);
}

// The one local file of a drag, if that is what it carries.
std::optional<std::filesystem::path> draggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return std::nullopt;
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return std::nullopt;
  return toPath(urls.front().toLocalFile());
}

void showCheckList(QListWidget* list, const editor::CheckListBox& model, bool refill) {
  const QSignalBlocker blocker(list);
  if (refill) showItems(list, model.items, true);
  for (int i = 0; i < list->count(); ++i) {
    list->item(i)->setCheckState(model.isChecked(i) ? Qt::Checked : Qt::Unchecked);
  }
  list->setVisible(model.visible);
}

}  // namespace

TForm1::TForm1(editor::EditorOptions options, editor::Dialogs* dialogs, QWidget* parent)
    : QWidget(parent) {
  if (dialogs == nullptr) {
    ownDialogs_ = std::make_unique<QtDialogs>(this);
    dialogs = ownDialogs_.get();
  }
  model_ = std::make_unique<editor::EditorModel>(*dialogs, std::move(options));
  buildControls();
  setUpTabOrder();
  connectEvents();
  setUpShortcuts();
  setAcceptDrops(true);
  showModel();
}

TForm1::~TForm1() {
  QObject::disconnect(focusWatch_);
}

void TForm1::buildControls() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(fromCp932(editor::kFormCaption));
  setFont(windowFont());
  move(kFormGeometry.topLeft());
  resize(kFormGeometry.width() - kFrameWidth, kFormGeometry.height() - kFrameHeight);

  buildCanvases();
  buildKindPanel();

  listBox1_ = makeList("ListBox1", kListBox1, this);
  listBox2_ = makeList("ListBox2", kListBox2, this);

  label2_ = new QLabel(fromCp932(editor::kLabel2Caption), this);
  label2_->setObjectName(QStringLiteral("Label2"));
  label2_->setGeometry(kLabel2);

  edit1_ = new QLineEdit(this);
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit1_->setGeometry(kEdit1);

  button1_ = new QPushButton(fromCp932(editor::kButton1Caption), this);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setGeometry(kButton1);
  button2_ = new QPushButton(fromCp932(editor::kButton2Caption), this);
  button2_->setObjectName(QStringLiteral("Button2"));
  button2_->setGeometry(kButton2);
}

// The world map in its scroll box, and the preview.
void TForm1::buildCanvases() {
  scrollBox1_ = new QScrollArea(this);
  scrollBox1_->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox1_->setGeometry(kScrollBox1);
  scrollBox1_->setFocusPolicy(Qt::StrongFocus);
  scrollBox1_->setWidgetResizable(false);
  image2_ = new CanvasView(1);
  image2_->setObjectName(QStringLiteral("Image2"));
  image2_->setCanvas(&model_->Image2());
  scrollBox1_->setWidget(image2_);

  image1_ = new CanvasView(kPreviewScale, this);
  image1_->setObjectName(QStringLiteral("Image1"));
  image1_->setGeometry(kImage1);
  image1_->setCanvas(&model_->Image1());
}

// The panel of the kind buttons and the object check lists.
void TForm1::buildKindPanel() {
  panel1_ = new QFrame(this);
  panel1_->setObjectName(QStringLiteral("Panel1"));
  panel1_->setGeometry(kPanel1);
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);

  label1_ = new QLabel(fromCp932(editor::kLabel1Caption), panel1_);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setGeometry(kLabel1);

  const std::array<std::string_view, 3> captions{
      editor::kRadioButton1Caption, editor::kRadioButton2Caption, editor::kRadioButton3Caption};
  const std::array<QRect, 3> places{kRadioButton1, kRadioButton2, kRadioButton3};
  kindGroup_ = new QButtonGroup(this);
  kindGroup_->setExclusive(true);
  for (std::size_t i = 0; i < radioButtons_.size(); ++i) {
    auto* button = new QRadioButton(fromCp932(captions[i]), panel1_);
    button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
    button->setGeometry(places[i]);
    kindGroup_->addButton(button, static_cast<int>(i) + 1);
    radioButtons_[i] = button;
  }

  checkListBox1_ = makeList("CheckListBox1", kCheckListBox1, panel1_);
  checkListBox2_ = makeList("CheckListBox2", kCheckListBox2, panel1_);
  // Holds the church, tower and link gate entries for their markers only.
  checkListBox3_ = makeList("CheckListBox3", kCheckListBox3, this);
}

void TForm1::setUpTabOrder() {
  QWidget* previous = nullptr;
  for (const std::string_view name : editor::kTabOrder) {
    auto* control =
        findChild<QWidget*>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (previous != nullptr && control != nullptr) QWidget::setTabOrder(previous, control);
    if (control != nullptr) previous = control;
  }
}

template <typename Handler>
void TForm1::run(Handler&& handler) {
  std::forward<Handler>(handler)();
  showModel();
}

void TForm1::connectEvents() {
  connect(button1_, &QPushButton::clicked, this,
          [this] { run([this] { model_->Button1Click(); }); });
  connect(button2_, &QPushButton::clicked, this,
          [this] { run([this] { model_->Button2Click(); }); });
  connect(listBox1_, &QListWidget::currentRowChanged, this, &TForm1::onListBox1Changed);
  connect(listBox1_, &QListWidget::itemClicked, this, &TForm1::onListBox1ItemClicked);
  listBox1_->viewport()->installEventFilter(this);
  connect(listBox2_, &QListWidget::currentRowChanged, this, &TForm1::onListBox2Changed);
  connect(image2_, &CanvasView::mouseMoved, this,
          [this](int x, int y) { run([this, x, y] { model_->Image2MouseMove(x, y); }); });
  connect(image2_, &CanvasView::clicked, this, [this] { run([this] { model_->Image2Click(); }); });
  // A click on a kind button selects it in the model, which runs its handler
  // only when it was not selected before.
  connect(kindGroup_, &QButtonGroup::idClicked, this, [this](int id) {
    if (const std::optional<world::AreaKind> kind = editor::kindOfButton(id)) {
      run([this, kind] { model_->selectKind(*kind); });
    }
  });
  connect(checkListBox1_, &QListWidget::itemChanged, this,
          [this](QListWidgetItem* item) { onCheckChanged(editor::CheckList::Dungeons, item); });
  connect(checkListBox2_, &QListWidget::itemChanged, this,
          [this](QListWidgetItem* item) { onCheckChanged(editor::CheckList::Houses, item); });
  // textChanged, not textEdited: the field's own undo (Ctrl+Z in it) changes
  // the text without an edit signal, and the model must follow it too. The
  // window's own setText calls block the signal.
  connect(edit1_, &QLineEdit::textChanged, this, &TForm1::onWorldNameEdited);
  image2_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(image2_, &QWidget::customContextMenuRequested, this, &TForm1::showWorldMapMenu);
}

void TForm1::setUpShortcuts() {
  const auto add = [this](const QKeySequence& keys, void (editor::EditorModel::*step)()) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, step] { run([this, step] { (model_.get()->*step)(); }); });
    shortcuts_.push_back(shortcut);
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Z), &editor::EditorModel::undo);
  add(QKeySequence(Qt::CTRL | Qt::Key_Y), &editor::EditorModel::redo);
  add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &editor::EditorModel::redo);
  // In the name field the keys are the field's own.
  focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    for (QShortcut* shortcut : shortcuts_)
      shortcut->setEnabled(now != edit1_);
  });
}

void TForm1::showWorldMapMenu(const QPoint& position) {
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("WorldMapMenu"));
  const QAction* save = menu.addAction(fromCp932(editor::kSaveWorldPictureCaption));
  const QAction* backup = menu.addAction(fromCp932(editor::kLoadBackupCaption));
  const QAction* chosen = menu.exec(image2_->mapToGlobal(position));
  if (chosen == save) run([this] { model_->saveWorldPicture(); });
  if (chosen == backup) run([this] { model_->loadBackup(); });
}

bool TForm1::showAreaHint(QHelpEvent* event) {
  const QListWidgetItem* item = listBox1_->itemAt(event->pos());
  if (item == nullptr) {
    QToolTip::hideText();
    return true;
  }
  const int row = listBox1_->row(item);
  QToolTip::showText(event->globalPos(), fromCp932(model_->areaHint(row)), listBox1_->viewport(),
                     listBox1_->visualItemRect(item));
  return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool closes = false;
  run([this, &closes] { closes = model_->FormCloseQuery(); });
  if (closes) model_->FormClose();
  event->setAccepted(closes);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (draggedFile(event->mimeData())) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const std::optional<std::filesystem::path> file = draggedFile(event->mimeData());
  if (!file) return;
  event->acceptProposedAction();
  // The question and LOAD's messages are modal: they wait until the drop
  // has finished.
  openFileSoon(*file);
}

void TForm1::openFileSoon(const std::filesystem::path& path) {
  QMetaObject::invokeMethod(this, "openFileNamed", Qt::QueuedConnection,
                            Q_ARG(QString, fromPath(path)));
}

void TForm1::openFileNamed(const QString& path) {
  run([this, file = toPath(path)] { model_->openFile(file); });
}

bool TForm1::FormCreate() {
  const bool found = model_->FormCreate();
  showModel();
  return found;
}

void TForm1::onListBox1Changed(int row) {
  if (row < 0) return;
  run([this, row] { model_->chooseListBox1(row); });
}

// A click on the catalogue item that is already selected changes no
// selection, yet the user chose that area again, as after a load or after
// picking it from the placed areas; it runs the choice like any other click.
void TForm1::onListBox1ItemClicked(QListWidgetItem* item) {
  const int row = listBox1_->row(item);
  if (row >= 0 && row == listBox1RowAtPress_) onListBox1Changed(row);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == listBox1_->viewport() && event->type() == QEvent::MouseButtonPress) {
    listBox1RowAtPress_ = listBox1_->currentRow();
  }
  if (watched == listBox1_->viewport() && event->type() == QEvent::ToolTip) {
    return showAreaHint(static_cast<QHelpEvent*>(event));
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::onListBox2Changed(int row) {
  if (row < 0) return;
  run([this, row] { model_->chooseListBox2(row); });
}

void TForm1::onCheckChanged(editor::CheckList list, QListWidgetItem* item) {
  QListWidget* widget = item->listWidget();
  const int row = widget->row(item);
  const editor::CheckListBox& shown =
      list == editor::CheckList::Dungeons ? model_->CheckListBox1() : model_->CheckListBox2();
  // Only a changed mark is a toggle; other item changes are not the user's.
  if ((item->checkState() == Qt::Checked) == shown.isChecked(row)) return;
  run([this, list, row] { model_->toggleCheck(list, row); });
}

void TForm1::onWorldNameEdited(const QString& text) {
  const auto caret = static_cast<std::size_t>(std::max(edit1_->cursorPosition(), 0));
  const std::optional<editor::RefusedName> refused =
      editor::typeWorldName(*model_, text.toStdU16String(), caret);
  if (!refused) return;
  const QSignalBlocker blocker(edit1_);
  edit1_->setText(QString::fromStdU16String(refused->text));
  edit1_->setCursorPosition(static_cast<int>(refused->caret));
  QApplication::beep();
}

void TForm1::showModel() {
  {
    const QSignalBlocker blocker(listBox1_);
    if (shownLists_.needsRefill(*model_, editor::WindowList::ListBox1))
      showItems(listBox1_, model_->ListBox1().items, false);
    showSelection(listBox1_, model_->ListBox1().selected);
  }
  {
    const QSignalBlocker blocker(listBox2_);
    if (shownLists_.needsRefill(*model_, editor::WindowList::ListBox2))
      showItems(listBox2_, model_->ListBox2().items, false);
    showSelection(listBox2_, model_->ListBox2().selected);
  }
  showCheckList(checkListBox1_, model_->CheckListBox1(),
                shownLists_.needsRefill(*model_, editor::WindowList::CheckListBox1));
  showCheckList(checkListBox2_, model_->CheckListBox2(),
                shownLists_.needsRefill(*model_, editor::WindowList::CheckListBox2));
  showCheckList(checkListBox3_, model_->CheckListBox3(),
                shownLists_.needsRefill(*model_, editor::WindowList::CheckListBox3));
  // Never shown: its entries only feed the markers.
  checkListBox3_->setVisible(false);

  {
    const QSignalBlocker blocker(kindGroup_);
    const editor::RadioGroup& kinds = model_->RadioButtons();
    for (std::size_t i = 0; i < radioButtons_.size(); ++i) {
      const world::AreaKind kind = editor::kKindButtons[i];
      const QSignalBlocker buttonBlocker(radioButtons_[i]);
      radioButtons_[i]->setEnabled(kinds.isEnabled(kind));
      if (kinds.selected == kind) radioButtons_[i]->setChecked(true);
    }
  }

  const QString name = fromCp932(model_->Edit1());
  if (edit1_->text() != name) {
    const QSignalBlocker blocker(edit1_);
    edit1_->setText(name);
  }

  const canvas::Canvas& map = model_->Image2();
  if (map.width() > 0 && map.height() > 0) {
    image2_->resize(map.width(), map.height());
  } else {
    image2_->resize(scrollBox1_->viewport()->size());
  }
  image2_->refresh();
  image1_->refresh();
}

}  // namespace ws::app
