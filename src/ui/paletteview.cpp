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

PaletteView::PaletteView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("paletteView"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(tr("Palette colours"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PaletteView::SetColours(const std::array<std::uint8_t, 768>& colours) {
  colours_ = colours;
  grid_ = QImage();
  if (hovered_ >= 0) setToolTip(ColourText(hovered_));
  if (selected_ >= 0) setAccessibleDescription(ColourText(selected_));
  update();
}

QColor PaletteView::ColourAt(int index) const {
  return render::PaletteColour(colours_, index);
}

QString PaletteView::ColourText(int index) const {
  const QColor colour = ColourAt(index);
  return tr("Colour %1: R %2, G %3, B %4")
      .arg(index)
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue());
}

int PaletteView::Swatch() const {
  return std::max(kMinSwatch, std::min(width(), height()) / kColumns);
}

// The grid is centred; a widget smaller than the grid shows its top left part.
QPoint PaletteView::Origin() const {
  const int side = Swatch() * kColumns;
  return {std::max(0, (width() - side) / 2), std::max(0, (height() - side) / 2)};
}

QRect PaletteView::SwatchRect(int index) const {
  return render::PaletteSwatchRect(index, Swatch()).translated(Origin());
}

int PaletteView::IndexAt(QPoint point) const {
  const QPoint inGrid = point - Origin();
  const int swatch = Swatch();
  if (inGrid.x() < 0 || inGrid.y() < 0) return -1;
  const int column = inGrid.x() / swatch;
  const int row = inGrid.y() / swatch;
  if (column >= kColumns || row >= kColumns) return -1;
  return row * kColumns + column;
}

void PaletteView::SetSelected(int index) {
  if (index < -1 || index >= kColourCount || index == selected_) return;
  selected_ = index;
  setAccessibleDescription(index >= 0 ? ColourText(index) : QString());
  update();
  emit SelectionChanged(index);
}

QSize PaletteView::sizeHint() const {
  return {kColumns * kMinSwatch * 2, kColumns * kMinSwatch * 2};
}

QSize PaletteView::minimumSizeHint() const {
  return {kColumns * kMinSwatch, kColumns * kMinSwatch};
}

void PaletteView::paintEvent(QPaintEvent*) {
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

void PaletteView::SetHovered(int index) {
  if (index == hovered_) return;
  hovered_ = index;
  setToolTip(index >= 0 ? ColourText(index) : QString());
  emit Hovered(index);
}

void PaletteView::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(IndexAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void PaletteView::leaveEvent(QEvent* event) {
  SetHovered(-1);
  QWidget::leaveEvent(event);
}

void PaletteView::mousePressEvent(QMouseEvent* event) {
  const int index = IndexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index >= 0) SetSelected(index);
  QWidget::mousePressEvent(event);
}

void PaletteView::mouseDoubleClickEvent(QMouseEvent* event) {
  const int index = IndexAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || index < 0) {
    QWidget::mouseDoubleClickEvent(event);
    return;
  }
  SetSelected(index);
  emit SwatchActivated(index);
}

void PaletteView::keyPressEvent(QKeyEvent* event) {
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
