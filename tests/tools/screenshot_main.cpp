// lirno-screenshot: starts the workbench as lirno does, lets it settle, and
// saves a picture of the first main window (and of any dialog shown
// meanwhile) for checking screens without a display.
//
//   lirno-screenshot OUT.png [--program-folder DIR] [--size WxH] [--wait MS]
//                    [--click NAME ...] [--type NAME=TEXT ...] -- [lirno arguments]
//
// --click triggers the named menu item or button of the main window once the
// window is up (a grid's name: a double click on its current row;
// "frmImage.btnNext": a button of another window); --type types TEXT into
// the named field as the user would (in the given order, --wait apart).
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QLineEdit>
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <string>
#include <vector>

#include "app/composition.h"
#include "platform/paths.h"
#include "shell/command_line.h"
#include "shell/ui/main_window.h"
#include "shell/ui/workbench.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  if (argc < 2) {
    std::fputs("usage: lirno-screenshot OUT.png [options] -- [lirno arguments]\n", stderr);
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  std::string folder = lirno::executableFolder();
  int width = 1024, height = 605, wait = 800;
  std::vector<std::string> clicks;
  int i = 2;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      ++i;
      break;
    }
    if (a == "--program-folder" && i + 1 < argc) {
      folder = argv[++i];
      if (folder.back() != '/') folder += '/';
    } else if (a == "--size" && i + 1 < argc) {
      std::sscanf(argv[++i], "%dx%d", &width, &height);
    } else if (a == "--wait" && i + 1 < argc) {
      wait = std::atoi(argv[++i]);
    } else if (a == "--click" && i + 1 < argc) {
      clicks.push_back(argv[++i]);
    } else if (a == "--type" && i + 1 < argc) {
      clicks.push_back(std::string("=") + argv[++i]);
    }
  }
  std::vector<std::string> rest;
  for (; i < argc; ++i) rest.push_back(argv[i]);

  lirno::Workbench wb(folder, lirno::parseCommandArguments(rest, true));
  lirno::composeWorkbench(wb);
  lirno::TfrmMain* w = wb.start();
  w->setWindowState(Qt::WindowNoState);
  w->resize(width, height);

  int step = 0;
  for (const std::string& name : clicks) {
    QTimer::singleShot(wait * ++step, w, [w, name] {
      if (name.front() == '=') {
        const std::size_t eq = name.find('=', 1);
        auto* field = w->findChild<QLineEdit*>(QString::fromStdString(name.substr(1, eq - 1)));
        if (field && eq != std::string::npos) {
          field->clear();
          field->insert(QString::fromStdString(name.substr(eq + 1)));  // as typed: textEdited
        } else {
          std::fprintf(stderr, "no field for --type %s\n", name.c_str() + 1);
        }
      } else if (QAction* a = w->action(name)) {
        emit a->triggered(false);
      } else if (QToolButton* b = w->button(name)) {
        b->click();
      } else if (const std::size_t dot = name.find('.'); dot != std::string::npos) {
        // "frmImage.btnZoomOut": a button of another window of the program.
        for (QWidget* top : QApplication::topLevelWidgets()) {
          if (top->objectName() != QString::fromStdString(name.substr(0, dot))) continue;
          if (auto* b = top->findChild<QAbstractButton*>(QString::fromStdString(name.substr(dot + 1)))) b->click();
        }
      } else if (auto* view = w->findChild<QAbstractItemView*>(QString::fromStdString(name))) {
        // A grid: a double click on its current row (the first if none).
        QModelIndex at = view->currentIndex();
        if (!at.isValid() && view->model()) at = view->model()->index(0, 0);
        if (at.isValid()) emit view->doubleClicked(at);
      } else {
        std::fprintf(stderr, "no command %s\n", name.c_str());
      }
    });
  }
  QTimer::singleShot(wait * (step + 1), w, [&] {
    if (!w->grab().save(out)) std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
    int n = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (top != w && top->isVisible() && top->isWindow()) {
        top->grab().save(QString(out).replace(QStringLiteral(".png"),
                                              QStringLiteral("-%1.png").arg(++n)));
      }
    }
    QApplication::exit(0);
  });
  return QApplication::exec();
}
