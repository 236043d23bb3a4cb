#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>

#include "render/map_renderer.h"

namespace zr3::ui {

// A palette's 256 colours as a 16 x 16 grid of square swatches, drawn as the command line
// draws them and as large as the widget allows (at least kMinSwatch pixels each). Hovering a
// swatch names its colour in the tooltip; a click or the arrow keys select a swatch, and a
// double-click or Enter activates it.
class PaletteView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kColourCount = render::kPaletteColumns * render::kPaletteColumns;
  static constexpr int kMinSwatch = 16;

  explicit PaletteView(QWidget* parent = nullptr);

  void SetColours(const std::array<std::uint8_t, 768>& colours);
  // The colour of a swatch; invalid outside the palette.
  QColor ColourAt(int index) const;
  // "Colour 17: R 12, G 34, B 56".
  QString ColourText(int index) const;

  // The swatch under a point of the widget, or -1.
  int IndexAt(QPoint point) const;
  // Where a swatch lies in the widget.
  QRect SwatchRect(int index) const;

  // The selected swatch, or -1.
  int Selected() const { return selected_; }
  // The swatch under the mouse, or -1.
  int HoveredSwatch() const { return hovered_; }
  void SetSelected(int index);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The swatch under the mouse, -1 when it leaves the swatches.
  void Hovered(int index);
  void SelectionChanged(int index);
  void SwatchActivated(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int Swatch() const;
  QPoint Origin() const;
  void SetHovered(int index);

  std::array<std::uint8_t, 768> colours_{};
  // The grid as drawn at its current swatch size; redrawn when the colours or the size change.
  QImage grid_;
  int hovered_ = -1;
  int selected_ = -1;
};

}  // namespace zr3::ui
