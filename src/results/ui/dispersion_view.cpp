#include "results/ui/dispersion_view.h"

#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolTip>

#include <algorithm>

#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "results/concordance.h"

namespace lirno {
namespace {

const QColor kTick(200, 0, 0);
// Opaque, as faint as a light ink over the strip: lines without blending
// draw several times faster.
const QColor kFolioTick(176, 186, 210);
const QColor kPageTick(214, 214, 210);
const QColor kStripBack(250, 250, 244);
const QColor kFrame(150, 150, 150);

// x of a position in a strip of `r`.
double xOf(const QRect& r, std::int32_t position, std::int32_t length) {
  if (length <= 0) return r.left();
  return r.left() + (static_cast<double>(position) / length) * (r.width() - 1);
}

}  // namespace

DispersionView::DispersionView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void DispersionView::setStrips(std::vector<DispersionStrip> strips) {
  strips_ = std::move(strips);
  updateGeometry();
  update();
}

QSize DispersionView::sizeHint() const {
  return {600, kMargin * 2 + static_cast<int>(strips_.size()) * (kStripHeight + kStripGap)};
}

QSize DispersionView::minimumSizeHint() const { return {200, sizeHint().height()}; }

QRect DispersionView::stripRect(int strip, int width) const {
  const int top = kMargin + strip * (kStripHeight + kStripGap) + kStripGap;
  return {kMargin, top, std::max(width - 2 * kMargin, 10), kStripHeight};
}

int DispersionView::stripAt(int y) const {
  for (int s = 0; s < static_cast<int>(strips_.size()); ++s) {
    const QRect r = stripRect(s, width());
    if (y >= r.top() - 2 && y <= r.bottom() + 2) return s;
  }
  return -1;
}

void DispersionView::render(QPainter& p, const QSize& size, const QRect& area) const {
  p.fillRect(area.isEmpty() ? QRect(QPoint(0, 0), size) : area, Qt::white);
  QFont f = font();
  f.setPixelSize(11);
  p.setFont(f);
  for (int s = 0; s < static_cast<int>(strips_.size()); ++s) {
    const DispersionStrip& strip = strips_[static_cast<std::size_t>(s)];
    const QRect r = stripRect(s, size.width());
    if (!area.isEmpty() && !area.intersects(r.adjusted(0, -kStripGap, 0, 0))) continue;
    p.setPen(Qt::black);
    QString title = fromUtf8(strip.name.empty() ? translate("(document)") : strip.name) +
                    QStringLiteral("  \u2014  ") + QString::number(strip.hits.size());
    p.drawText(QRect(r.left(), r.top() - kStripGap, r.width(), kStripGap - 2),
               Qt::AlignLeft | Qt::AlignBottom, title);
    p.fillRect(r, kStripBack);
    // Boundaries (folios as taller faint ticks than pages) and hits: one
    // line per pixel column however many fall in it, so that 100 000
    // occurrences draw as fast as a few hundred.
    std::vector<QLine> pages, folios, ticks;
    int lastPage = -1, lastFolio = -1, lastTick = -1;
    for (const DispersionBoundary& b : strip.boundaries) {
      const int x = static_cast<int>(xOf(r, b.position, strip.length));
      int& last = b.folio ? lastFolio : lastPage;
      if (x == last) continue;
      last = x;
      (b.folio ? folios : pages).emplace_back(x, r.top() + (b.folio ? 1 : r.height() / 2), x, r.bottom() - 1);
    }
    for (const DispersionHit& h : strip.hits) {
      const int x = static_cast<int>(xOf(r, h.position, strip.length));
      if (x == lastTick) continue;
      lastTick = x;
      ticks.emplace_back(x, r.top() + 2, x, r.bottom() - 2);
    }
    p.setPen(QPen(kPageTick, 0));
    p.drawLines(pages.data(), static_cast<int>(pages.size()));
    p.setPen(QPen(kFolioTick, 0));
    p.drawLines(folios.data(), static_cast<int>(folios.size()));
    p.setPen(QPen(kTick, 0));
    p.drawLines(ticks.data(), static_cast<int>(ticks.size()));
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

void DispersionView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  render(p, size(), event->rect());
}

std::pair<int, int> DispersionView::hitAt(const QPoint& at) const {
  const int s = stripAt(at.y());
  if (s < 0) return {-1, -1};
  const DispersionStrip& strip = strips_[static_cast<std::size_t>(s)];
  if (strip.hits.empty()) return {-1, -1};
  const QRect r = stripRect(s, width());
  // Nearest hit by x, within 4 pixels.
  const double span = std::max(r.width() - 1, 1);
  const auto position = static_cast<std::int32_t>((at.x() - r.left()) / span * strip.length);
  auto it = std::lower_bound(strip.hits.begin(), strip.hits.end(), position,
                             [](const DispersionHit& h, std::int32_t v) { return h.position < v; });
  int best = -1;
  double bestDistance = 4.5;
  for (auto c : {it, it == strip.hits.begin() ? it : it - 1}) {
    if (c == strip.hits.end()) continue;
    const double d = std::abs(xOf(r, c->position, strip.length) - at.x());
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(c - strip.hits.begin());
    }
  }
  return {best < 0 ? -1 : s, best};
}

QString DispersionView::placeAt(const QPoint& at) const {
  const int s = stripAt(at.y());
  if (s < 0) return {};
  const DispersionStrip& strip = strips_[static_cast<std::size_t>(s)];
  const QRect r = stripRect(s, width());
  if (at.x() < r.left() || at.x() > r.right()) return {};
  const auto [hs, h] = hitAt(at);
  std::int32_t position;
  if (h >= 0) {
    position = strip.hits[static_cast<std::size_t>(h)].position;
  } else {
    position = static_cast<std::int32_t>(static_cast<double>(at.x() - r.left()) / std::max(r.width() - 1, 1) *
                                         strip.length);
  }
  const StripPlace place = placeInStrip(strip, position);
  QString text = fromUtf8(strip.name) + QStringLiteral("\n") +
                 QString::fromLatin1(placeReference(place.page, place.folio, place.verso).c_str());
  if (h >= 0) text += QStringLiteral("\n") + fromUtf8(translate("Occurrence à la position ")) + QString::number(position);
  return text;
}

void DispersionView::mousePressEvent(QMouseEvent* event) {
  const auto [s, h] = hitAt(event->position().toPoint());
  if (s >= 0 && h >= 0) emit hitClicked(s, h);
}

void DispersionView::mouseMoveEvent(QMouseEvent* event) {
  emit hovered(placeAt(event->position().toPoint()).replace(QLatin1Char('\n'), QStringLiteral("  ")));
}

bool DispersionView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = placeAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

bool DispersionView::savePng(const QString& path) const {
  const QSize s(std::max(width(), 600), sizeHint().height());
  QImage image(s, QImage::Format_RGB32);
  QPainter p(&image);
  render(p, s);
  p.end();
  return image.save(path, "PNG");
}

bool DispersionView::saveSvg(const QString& path) const {
  const QSize s(std::max(width(), 600), sizeHint().height());
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setSize(s);
  svg.setViewBox(QRect(QPoint(0, 0), s));
  svg.setTitle(fromUtf8(translate("Répartition")));
  QPainter p;
  if (!p.begin(&svg)) return false;
  render(p, s);
  return p.end();
}

}  // namespace lirno
