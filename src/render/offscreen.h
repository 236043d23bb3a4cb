#pragma once

#include <QGuiApplication>
#include <memory>

namespace zr3::render {

// Text drawn into an image needs the fonts of a QGuiApplication. A program without one (the
// command line, the tests) holds an OffscreenGui while it draws: it starts an application on
// the offscreen platform, so no display is ever needed, unless one exists already.
class OffscreenGui {
 public:
  OffscreenGui();
  ~OffscreenGui();
  OffscreenGui(const OffscreenGui&) = delete;
  OffscreenGui& operator=(const OffscreenGui&) = delete;

 private:
  int argc_ = 1;
  char name_[4] = "zr3";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace zr3::render
