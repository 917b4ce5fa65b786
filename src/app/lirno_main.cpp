// lirno: the workbench.
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <exception>
#include <new>

#include "app/composition.h"
#include <string>
#include <vector>

#include "platform/paths.h"
#include "shell/command_line.h"
#include "shell/ui/workbench.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lirno"));
  // The program ends when the anchor closes, after the last main window.
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    // Each argument is one token, as the shell passed it.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    lirno::Workbench workbench(lirno::executableFolder(), lirno::parseCommandArguments(arguments, true));
    lirno::composeWorkbench(workbench);
    QObject::connect(&workbench, &lirno::Workbench::finished, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    workbench.start();
    return QApplication::exec();
  } catch (const std::bad_alloc&) {
    std::fputs("lirno: out of memory; the work was stopped\n", stderr);
    QMessageBox::critical(nullptr, QStringLiteral("Lirno"),
                          QStringLiteral("Mémoire insuffisante : le travail en cours a été arrêté."));
    return 1;
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Lirno"), QString::fromLocal8Bit(e.what()));
    return 1;
  }
}
