#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QScrollArea;

namespace zr3::ui {

class PictureCanvas;

// One picture, centred and enlarged by the largest whole factor that fits the view, each
// pixel a sharp square, so that 16-pixel pictures stay crisp; a picture larger than the view
// is shown at its own size with scroll bars. Magenta is transparent and shows a checkerboard.
// A line under the picture gives its size in pixels.
class PictureView : public QWidget {
  Q_OBJECT

 public:
  explicit PictureView(QWidget* parent = nullptr);

  void SetImage(const QImage& image);
  // No picture; message says why, in the line under it.
  void Clear(const QString& message = {});

  // The picture as shown, magenta turned transparent; null when there is none.
  const QImage& Image() const { return image_; }
  // The current enlargement, 0 when there is no picture.
  int Factor() const { return factor_; }
  // The widget the picture is drawn on, and where on it the picture lies.
  QWidget* Canvas() const;
  QRect ImageRect() const;
  // "16 x 16 pixels", or the message of Clear.
  QString SizeText() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class PictureCanvas;
  void UpdateFactor();

  QScrollArea* scroll_;
  PictureCanvas* canvas_;
  QLabel* size_;
  QImage image_;
  // The picture enlarged by factor_, redrawn when the factor changes.
  QImage enlarged_;
  int factor_ = 0;
};

}  // namespace zr3::ui
