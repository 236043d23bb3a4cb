#include "ui/pictureview.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "render/image_cache.h"

namespace zr3::ui {

namespace {

// The checkerboard's squares, in screen pixels, and its two greys.
constexpr int kCheck = 8;
const QColor kCheckLight(204, 204, 204);
const QColor kCheckDark(153, 153, 153);

}  // namespace

// Paints the view's picture centred in whatever room the scroll area gives it.
class PictureCanvas : public QWidget {
 public:
  explicit PictureCanvas(PictureView& view) : view_(view) {
    setObjectName(QStringLiteral("pictureView"));
  }

  QRect ImageRect() const {
    const QSize size = view_.enlarged_.size();
    return {QPoint(std::max(0, (width() - size.width()) / 2),
                   std::max(0, (height() - size.height()) / 2)),
            size};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (view_.enlarged_.isNull()) return;
    QPainter painter(this);
    const QRect rect = ImageRect();
    if (view_.enlarged_.hasAlphaChannel()) {
      painter.save();
      painter.setClipRect(rect);
      for (int y = rect.top(); y <= rect.bottom(); y += kCheck) {
        for (int x = rect.left(); x <= rect.right(); x += kCheck) {
          const bool light = ((x - rect.left()) / kCheck + (y - rect.top()) / kCheck) % 2 == 0;
          painter.fillRect(x, y, kCheck, kCheck, light ? kCheckLight : kCheckDark);
        }
      }
      painter.restore();
    }
    painter.drawImage(rect.topLeft(), view_.enlarged_);
  }

 private:
  PictureView& view_;
};

PictureView::PictureView(QWidget* parent)
    : QWidget(parent),
      scroll_(new QScrollArea),
      canvas_(new PictureCanvas(*this)),
      size_(new QLabel) {
  setObjectName(QStringLiteral("pictureCanvas"));
  scroll_->setWidget(canvas_);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->viewport()->installEventFilter(this);
  size_->setObjectName(QStringLiteral("pictureSizeLabel"));
  size_->setAlignment(Qt::AlignCenter);
  size_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll_, 1);
  layout->addWidget(size_);
}

void PictureView::SetImage(const QImage& image) {
  if (image.isNull()) {
    Clear();
    return;
  }
  image_ = render::ApplyColourKey(image);
  size_->setText(tr("%1 x %2 pixels").arg(image_.width()).arg(image_.height()));
  factor_ = 0;
  UpdateFactor();
}

void PictureView::Clear(const QString& message) {
  image_ = QImage();
  enlarged_ = QImage();
  factor_ = 0;
  size_->setText(message);
  canvas_->setMinimumSize(0, 0);
  canvas_->update();
}

QWidget* PictureView::Canvas() const {
  return canvas_;
}

QRect PictureView::ImageRect() const {
  return canvas_->ImageRect();
}

QString PictureView::SizeText() const {
  return size_->text();
}

bool PictureView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize) UpdateFactor();
  return QWidget::eventFilter(watched, event);
}

// The largest whole factor at which the picture fits the scroll area's room without scroll
// bars; at least 1.
void PictureView::UpdateFactor() {
  if (image_.isNull()) return;
  const QSize room = scroll_->maximumViewportSize();
  const int factor =
      std::max(1, std::min(room.width() / image_.width(), room.height() / image_.height()));
  if (factor == factor_) return;
  factor_ = factor;
  // Whole factors without smoothing: every picture pixel becomes a square of one colour.
  enlarged_ = factor == 1 ? image_
                          : image_.scaled(image_.size() * factor, Qt::IgnoreAspectRatio,
                                          Qt::FastTransformation);
  canvas_->setMinimumSize(enlarged_.size());
  canvas_->update();
}

}  // namespace zr3::ui
