#pragma once

#include <QPoint>

class QListWidget;
class QWidget;

namespace ws::app {

// Mouse input made in code and delivered through Qt's event path exactly as
// a user's would be: the scripted screenshot session and the window tests
// drive the real widgets with it.

// A move without a button held to `position` in the widget's coordinates.
void moveMouse(QWidget* widget, QPoint position);
// A left press and release at `position`.
void clickAt(QWidget* widget, QPoint position);
// A click in the middle of item `row` of the list (scrolled into view).
void clickListItem(QListWidget* list, int row);
// A click on the check box of item `row`.
void clickCheckMark(QListWidget* list, int row);

}  // namespace ws::app
