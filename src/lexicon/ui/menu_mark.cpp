#include "lexicon/ui/menu_mark.h"

#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <algorithm>

#include "lexicon/ui/lexicon_files.h"
#include "shell/ui/main_window.h"

namespace lirno {
namespace {

// Draws a menu bar item that has an icon as icon, then caption.
class MarkedMenuBarStyle : public QProxyStyle {
 public:
  static constexpr int kGap = 4;

  // The mark's side: a small icon, no higher than the caption.
  int markExtent(const QStyleOption* option, const QWidget* widget, const QSize& text) const {
    return std::min(pixelMetric(PM_SmallIconSize, option, widget), text.height());
  }

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuBarItem || !item || item->icon.isNull() || item->text.isEmpty()) {
      return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
    // As high as the caption alone, so that the bar keeps its height.
    const QSize both(markExtent(option, widget, text) + kGap + text.width(), text.height());
    return QProxyStyle::sizeFromContents(type, option, both, widget);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuBarItem || !item || item->icon.isNull() || item->text.isEmpty()) {
      return QProxyStyle::drawControl(element, option, painter, widget);
    }
    // The item's background alone, then the mark and the caption over it.
    QStyleOptionMenuItem plain(*item);
    plain.icon = QIcon();
    plain.text.clear();
    QProxyStyle::drawControl(element, &plain, painter, widget);

    const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
    const int extent = markExtent(option, widget, text);
    const int width = extent + kGap + text.width();
    const QRect r = item->rect;
    const int left = r.left() + (r.width() - width) / 2;
    const QRect iconRect(left, r.top() + (r.height() - extent) / 2, extent, extent);
    item->icon.paint(painter, iconRect);
    const QRect textRect(left + extent + kGap, r.top(), text.width(), r.height());
    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    if (!styleHint(SH_UnderlineShortcut, option, widget)) flags |= Qt::TextHideMnemonic;
    drawItemText(painter, textRect, flags, item->palette, item->state & State_Enabled, item->text,
                 QPalette::ButtonText);
  }
};

}  // namespace

void showMenuMark(TfrmMain& window, std::string_view menuName, bool shown) {
  QMenuBar* bar = window.menuBar();
  if (!bar->property("lirnoMarkStyle").toBool()) {
    auto* style = new MarkedMenuBarStyle;
    style->setParent(bar);
    bar->setStyle(style);
    bar->setProperty("lirnoMarkStyle", true);
  }
  if (QMenu* m = window.menu(menuName)) m->menuAction()->setIcon(shown ? greenDot() : QIcon());
}

}  // namespace lirno
