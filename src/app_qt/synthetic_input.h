#pragma once

#include <QPoint>
#include <Qt>

class QListWidget;
class QWidget;

namespace ws::app {

// Mouse input made in code and delivered through Qt's event path exactly as
// a user's would be: the scripted screenshot session and the window tests
// drive the real widgets with it. Positions are in the widget's own
// coordinates.

// A move without a button held.
void moveMouse(QWidget* widget, QPoint position);
// The left button pressed, the mouse moved with it held, and released.
void pressAt(QWidget* widget, QPoint position);
void dragTo(QWidget* widget, QPoint position);
void releaseAt(QWidget* widget, QPoint position);
// A left press and release at `position`.
void clickAt(QWidget* widget, QPoint position);
// A click in the middle of item `row` of the list (scrolled into view).
void clickListItem(QListWidget* list, int row);
// A click on the check box of item `row`.
void clickCheckMark(QListWidget* list, int row);
// A key pressed and released with `modifiers` held while `widget` has the
// focus: the window's shortcuts see it first, as with a real key.
void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace ws::app
