#pragma once
// The "Répartition" strips: one per document, a tick per occurrence at its
// place in the document, faint ticks at page and folio boundaries. Hovering
// tells the page and folio, a click chooses the nearest occurrence. Draws
// itself on any QPainter, so that PNG and SVG exports show what the screen
// shows.
#include <QWidget>

#include <vector>

#include "results/dispersion.h"

namespace lirno {

class DispersionView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kStripHeight = 22;
  static constexpr int kStripGap = 16;   // room for the document's name
  static constexpr int kMargin = 8;

  explicit DispersionView(QWidget* parent = nullptr);

  void setStrips(std::vector<DispersionStrip> strips);
  const std::vector<DispersionStrip>& strips() const { return strips_; }

  // Draws the strips into a surface `size` wide and high; only those that
  // meet `area` when it is not empty.
  void render(QPainter& p, const QSize& size, const QRect& area = {}) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // The strip and the hit nearest to a point of the widget (within a few
  // pixels), or {-1, -1}.
  std::pair<int, int> hitAt(const QPoint& at) const;
  // The text of the tooltip at a point: document, page, folio, position.
  QString placeAt(const QPoint& at) const;

  bool savePng(const QString& path) const;
  bool saveSvg(const QString& path) const;

 signals:
  // strip index, hit index in that strip
  void hitClicked(int strip, int hit);
  // The place under the mouse (placeAt), empty when none.
  void hovered(const QString& place);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRect stripRect(int strip, int width) const;
  int stripAt(int y) const;

  std::vector<DispersionStrip> strips_;
};

}  // namespace lirno
