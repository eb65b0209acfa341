#include "app_qt/synthetic_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QWindow>

// Qt's own entry for key input made in code: offers a key press to the
// shortcuts of the receiver's window, as the window system's key events are.
// True when a shortcut took it.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* receiver, ulong timestamp, int key,
                                               Qt::KeyboardModifiers modifiers,
                                               const QString& text = QString(),
                                               bool autorepeat = false, ushort count = 1);

namespace ws::app {
namespace {

// Shown widgets get the event through their top-level window, which picks
// the receiver by position the way the window system's events are routed
// (scrolling, overlapping widgets and the implicit grab of a held button
// all count); hidden ones get it directly.
void sendMouse(QWidget* widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QWidget* top = widget->window();
  QWindow* handle = top->windowHandle();
  if (handle != nullptr && widget->isVisible()) {
    const QPointF local(widget->mapTo(top, position));
    QMouseEvent event(type, local, local, top->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(handle, &event);
    return;
  }
  const QPointF local(position);
  QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

}  // namespace

void moveMouse(QWidget* widget, QPoint position) {
  sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, Qt::NoButton);
}

void dragTo(QWidget* widget, QPoint position) {
  sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, Qt::LeftButton);
}

void pressAt(QWidget* widget, QPoint position) {
  sendMouse(widget, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
}

void releaseAt(QWidget* widget, QPoint position) {
  sendMouse(widget, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
}

void clickAt(QWidget* widget, QPoint position) {
  sendMouse(widget, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
  sendMouse(widget, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
}

void clickListItem(QListWidget* list, int row) {
  QListWidgetItem* item = list->item(row);
  if (item == nullptr) return;
  list->scrollToItem(item);
  clickAt(list->viewport(), list->visualItemRect(item).center());
}

void clickCheckMark(QListWidget* list, int row) {
  QListWidgetItem* item = list->item(row);
  if (item == nullptr) return;
  list->scrollToItem(item);
  // Where the style puts the check box inside the item's rectangle.
  QStyleOptionViewItem option;
  option.initFrom(list->viewport());
  option.rect = list->visualItemRect(item);
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  option.checkState = item->checkState();
  option.text = item->text();
  const QRect box =
      list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
  clickAt(list->viewport(), box.center());
}

void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (qt_sendShortcutOverrideEvent(widget, 0, key, modifiers)) return;
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(widget, &release);
}

}  // namespace ws::app
