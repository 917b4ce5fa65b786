#include "documents/ui/corpus_work.h"

#include <QApplication>
#include <QProgressDialog>

#include <algorithm>
#include <climits>

#include "documents/ui/panes_controller.h"
#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

int& showDelay() {
  static int ms = 300;
  return ms;
}

CorpusWork::Observer& observer() {
  static CorpusWork::Observer o;
  return o;
}

// The window is brought up to date at most this often: each update lets
// the events through, which costs more than a small document's scan.
constexpr qint64 kUpdateEveryMs = 100;

QString T(const char* text) { return fromUtf8(translate(text)); }

}  // namespace

CorpusWork::CorpusWork(PanesController& panes, QWidget* window) : panes_(panes), window_(window) {
  started_.start();
}

CorpusWork::~CorpusWork() = default;

void CorpusWork::setShowDelay(int milliseconds) { showDelay() = milliseconds; }
void CorpusWork::setObserver(Observer o) { observer() = std::move(o); }

const Document& CorpusWork::current() { return panes_.currentDocument(); }

void CorpusWork::closeAll() { panes_.closeAllDocuments(); }

const Document* CorpusWork::load(const std::string& path) {
  if (countingLoads_ && !advance(loads_++, loadsTotal_, path)) return nullptr;
  if (cancelled_) return nullptr;
  if (panes_.loadIntoCurrentPane(path, false, false)) return &panes_.currentDocument();
  missing_.push_back(path);
  reasons_.push_back(panes_.lastLoadFailure());
  return nullptr;
}

void CorpusWork::countLoads(std::size_t total) {
  countingLoads_ = true;
  loadsTotal_ = total;
  loads_ = 0;
}

bool CorpusWork::advance(std::size_t k, std::size_t total, std::string_view path) {
  if (cancelled_) return false;
  // The work starts with its first document, not with the dialogs before it.
  if (!begun_) {
    started_.restart();
    begun_ = true;
  }
  const qint64 now = started_.elapsed();
  const int delay = showDelay();
  if (!progress_ && delay >= 0 && now >= delay) show(total);
  if (progress_ && (shownAt_ < 0 || now - shownAt_ >= kUpdateEveryMs || k + 1 == total)) {
    shownAt_ = now;
    progress_->setMaximum(static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
    progress_->setLabelText(T("Document %1 sur %2 :").arg(k + 1).arg(total) + QLatin1Char('\n') +
                            fromUtf8(fileNameOf(path)));
    progress_->setValue(static_cast<int>(std::min<std::size_t>(k, INT_MAX)));
    // The one place the events get through: "Annuler" is seen here.
    QCoreApplication::processEvents();
  }
  if (observer()) observer()(*this, k);
  return !cancelled_;
}

void CorpusWork::show(std::size_t total) {
  progress_ = std::make_unique<QProgressDialog>(window_.data());
  progress_->setObjectName(QStringLiteral("frmProgress"));
  progress_->setWindowTitle(QStringLiteral("Lirno"));
  progress_->setCancelButtonText(T("Annuler"));
  progress_->setWindowModality(Qt::ApplicationModal);
  progress_->setMinimumDuration(0);
  progress_->setAutoReset(false);
  progress_->setAutoClose(false);
  progress_->setMinimumWidth(360);
  progress_->setRange(0, static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
  QObject::connect(progress_.get(), &QProgressDialog::canceled, progress_.get(),
                   [this] { cancelled_ = true; });
  // The hourglass is for the main window; the progress window keeps an
  // arrow so that "Annuler" looks pressable.
  progress_->setCursor(Qt::ArrowCursor);
  progress_->show();
}

void CorpusWork::cancel() { cancelled_ = true; }

QProgressDialog* CorpusWork::progressWindow() const { return progress_.get(); }

void CorpusWork::reportMissing() {
  progress_.reset();
  std::vector<std::string> missing = std::move(missing_);
  std::vector<DocumentLoad> reasons = std::move(reasons_);
  missing_.clear();
  reasons_.clear();
  if (missing.empty()) return;
  if (missing.size() == 1) {
    // The loader's own message: missing, too large, another format...
    showMessage(reasons.front().message, reasons.front().detail, "Lirno", MessageKind::Warning, window_.data());
    return;
  }
  std::string list = std::to_string(missing.size());
  for (std::size_t i = 0; i < missing.size(); ++i) {
    list.append("\n").append(missing[i]);
    // A file that is there but could not be read says why, in short.
    if (reasons[i].message == "Fichier non trouvé :\n") continue;
    std::string why = translate(reasons[i].message);
    while (!why.empty() && (why.back() == '\n' || why.back() == ':' || why.back() == ' ')) why.pop_back();
    if (!why.empty()) list.append(" (").append(why).append(")");
  }
  showMessage("Fichiers non trouvés : ", list, "Lirno", MessageKind::Warning, window_.data());
}

}  // namespace lirno
