#include "ui/paletteview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "render/map_renderer.h"

namespace zr3::ui {

namespace {

constexpr int kColumns = render::kPaletteColumns;

}  // namespace

TPaletteView::TPaletteView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlPalette"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(tr("Palette colours"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TPaletteView::SetColours(const std::array<std::uint8_t, 768>& colours) {
  colours_ = colours;
  grid_ = QImage();
  if (hovered_ >= 0) setToolTip(ColourText(hovered_));
  if (selected_ >= 0) setAccessibleDescription(ColourText(selected_));
  update();
}

QColor TPaletteView::ColourAt(int index) const {
  return render::PaletteColour(colours_, index);
}

QString TPaletteView::ColourText(int index) const {
  const QColor colour = ColourAt(index);
  return tr("Colour %1: R %2, G %3, B %4")
      .arg(index)
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue());
}

int TPaletteView::Swatch() const {
  return std::max(kMinSwatch, std::min(width(), height()) / kColumns);
}

// The grid is centred; a widget smaller than the grid shows its top left part.
QPoint TPaletteView::Origin() const {
  const int side = Swatch() * kColumns;
  return {std::max(0, (width() - side) / 2), std::max(0, (height() - side) / 2)};
}

QRect TPaletteView::SwatchRect(int index) const {
  return render::PaletteSwatchRect(index, Swatch()).translated(Origin());
}

int TPaletteView::IndexAt(QPoint point) const {
  const QPoint inGrid = point - Origin();
  const int swatch = Swatch();
  if (inGrid.x() < 0 || inGrid.y() < 0) return -1;
  const int column = inGrid.x() / swatch;
  const int row = inGrid.y() / swatch;
  if (column >= kColumns || row >= kColumns) return -1;
  return row * kColumns + column;
}

void TPaletteView::SetSelected(int index) {
  if (index < -1 || index >= kColourCount || index == selected_) return;
  selected_ = index;
  setAccessibleDescription(index >= 0 ? ColourText(index) : QString());
  update();
  emit SelectionChanged(index);
}

QSize TPaletteView::sizeHint() const {
  return {kColumns * kMinSwatch * 2, kColumns * kMinSwatch * 2};
}

QSize TPaletteView::minimumSizeHint() const {
  return {kColumns * kMinSwatch, kColumns * kMinSwatch};
}

void TPaletteView::paintEvent(QPaintEvent*) {
  const int swatch = Swatch();
  if (grid_.width() != swatch * kColumns) grid_ = render::RenderPalette(colours_, swatch);
  QPainter painter(this);
  painter.drawImage(Origin(), grid_);
  if (selected_ >= 0) {
    // Two rings, dark inside light, so that the mark shows on every colour.
    const QRect rect = SwatchRect(selected_);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(rect.adjusted(1, 1, -1, -1));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(rect.adjusted(2, 2, -3, -3));
  }
  if (hasFocus() && selected_ < 0) {
    painter.setPen(QPen(palette().highlight(), 1, Qt::DotLine));
    painter.drawRect(QRect(Origin(), grid_.size()).adjusted(0, 0, -1, -1));
  }
}

void TPaletteView::SetHovered(int index) {
  if (index == hovered_) return;
  hovered_ = index;
  setToolTip(index >= 0 ? ColourText(index) : QString());
  emit Hovered(index);
}

void TPaletteView::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(IndexAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void TPaletteView::leaveEvent(QEvent* event) {
  SetHovered(-1);
  QWidget::leaveEvent(event);
}

void TPaletteView::mousePressEvent(QMouseEvent* event) {
  const int index = IndexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index >= 0) SetSelected(index);
  QWidget::mousePressEvent(event);
}

void TPaletteView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int index = IndexAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || index < 0) {
    QWidget::mouseDoubleClickEvent(event);
    return;
  }
  SetSelected(index);
  emit SwatchActivated(index);
}

void TPaletteView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (selected_ >= 0) emit SwatchActivated(selected_);
    return;
  }
  const int row = selected_ / kColumns;
  const int column = selected_ % kColumns;
  int next = -1;
  if (key == Qt::Key_Home) {
    next = 0;
  } else if (key == Qt::Key_End) {
    next = kColourCount - 1;
  } else if (selected_ < 0 && (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
                               key == Qt::Key_Down)) {
    next = 0;  // the first arrow key only shows where the selection starts
  } else if (key == Qt::Key_Left) {
    next = row * kColumns + std::max(column - 1, 0);
  } else if (key == Qt::Key_Right) {
    next = row * kColumns + std::min(column + 1, kColumns - 1);
  } else if (key == Qt::Key_Up) {
    next = std::max(row - 1, 0) * kColumns + column;
  } else if (key == Qt::Key_Down) {
    next = std::min(row + 1, kColumns - 1) * kColumns + column;
  }
  if (next < 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  SetSelected(next);
}

}  // namespace zr3::ui
