#pragma once
// The status line's label: its text stays as written (text() is the whole
// line), but when the line is wider than the window the search strings
// part is shortened with an ellipsis so that the counts after it stay in
// view; the whole line is then the tooltip.
#include <QLabel>

namespace lirno {

class StatusLabel : public QLabel {
  Q_OBJECT

 public:
  explicit StatusLabel(QWidget* parent = nullptr) : QLabel(parent) {}

  // A long line never makes the window wider: it is shortened instead.
  QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

  // The line as it is drawn at the label's present width.
  QString shownText() const;

  // A status line fitted into `width` pixels of `metrics`: the quoted
  // strings at its start are shortened first, the rest only when it does
  // not fit by itself.
  static QString fitted(const QString& line, const QFontMetrics& metrics, int width);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
};

}  // namespace lirno
