#pragma once

#include <QApplication>

namespace zr3::ui {

// Shows the hourglass for the lifetime of the object, so that every way out of a long
// operation, exceptions included, restores the normal cursor.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace zr3::ui
