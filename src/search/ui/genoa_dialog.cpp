#include "search/ui/genoa_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "lexicon/string_list_file.h"
#include "platform/ui/message.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/form_widgets.h"
#include "platform/ui/qt_text.h"
#include "search/ui/add_string_dialog.h"

namespace lirno {
namespace {

// The French captions; the language file's control lines replace them
// when the dialog is shown.
QString french(const char* text) { return QString::fromUtf8(text); }

constexpr int kKindRole = Qt::UserRole + 1;

// Typed strings red, added ones blue, variants black; selected, on navy,
// yellow, aqua and white.
class GenoaDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    static const QColor kInk[] = {QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 0, 0)};
    static const QColor kSelectedInk[] = {QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 255, 255)};
    const int kind = std::clamp(index.data(kKindRole).toInt(), 0, 2);
    const bool selected = option.state & QStyle::State_Selected;
    p->save();
    p->fillRect(option.rect, selected ? QColor(0, 0, 128) : QColor(255, 255, 255));
    p->setPen(selected ? kSelectedInk[kind] : kInk[kind]);
    p->setFont(option.font);
    p->drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                index.data(Qt::DisplayRole).toString());
    p->restore();
  }
};

QPushButton* button(const char* name) {
  auto* b = new QPushButton;
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

std::string runSaveDialog(QWidget* parent, const std::string& folder) {
  QFileDialog dialog(parent, QString(), fromUtf8(folder), qtFileFilter(TfrmGenoa::kFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("the"));
  // "&Rajouter" chooses a file that exists: no question about replacing it.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return toUtf8(dialog.selectedFiles().front());
}

}  // namespace

TfrmGenoa::TfrmGenoa(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGenoa"));
  buildLayout();
  setCaptions();
}

void TfrmGenoa::buildLayout() {
  setFont(formFont());

  ui.lstWord = new QListWidget;
  ui.lstWord->setObjectName(QStringLiteral("lstWord"));
  ui.lstWord->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ui.lstWord->setItemDelegate(new GenoaDelegate(ui.lstWord));
  ui.lblOccurences = new QLabel;
  ui.lblOccurences->setObjectName(QStringLiteral("lblOccurences"));
  ui.lblCount = new QLabel;
  ui.lblCount->setObjectName(QStringLiteral("lblCount"));
  ui.btnDel = button("btnDel");
  ui.btnSort = button("btnSort");
  ui.btnAdd = button("btnAdd");
  ui.btnSave = button("btnSave");
  ui.btnAppend = button("btnAppend");
  ui.OKBtn = button("OKBtn");
  ui.OKBtn->setDefault(true);
  ui.CancelBtn = button("CancelBtn");

  auto* root = new QHBoxLayout(this);
  root->addWidget(ui.lstWord, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(ui.lblOccurences);
  side->addWidget(ui.lblCount);
  side->addSpacing(8);
  for (QPushButton* b : {ui.btnDel, ui.btnSort, ui.btnAdd}) side->addWidget(b);
  side->addStretch(1);
  for (QPushButton* b : {ui.btnSave, ui.btnAppend, ui.OKBtn, ui.CancelBtn}) side->addWidget(b);
  root->addLayout(side);
  setFixedSize(360, 420);

  connect(ui.btnDel, &QPushButton::clicked, this, [this] { btnDelClick(); });
  connect(ui.btnSort, &QPushButton::clicked, this, [this] { btnSortClick(); });
  connect(ui.btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
  connect(ui.btnSave, &QPushButton::clicked, this, [this] { saveClick(false); });
  connect(ui.btnAppend, &QPushButton::clicked, this, [this] { saveClick(true); });
  connect(ui.OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui.CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmGenoa::setCaptions() {
  setWindowTitle(french("Genor"));
  ui.lblOccurences->setText(french("Occurences :"));
  ui.btnDel->setText(french("&Supprimer"));
  ui.btnSort->setText(french("&Tri inverse"));
  ui.btnAdd->setText(french("&Ajouter"));
  ui.btnSave->setText(french("Sau&ver"));
  ui.btnAppend->setText(french("&Rajouter"));
  ui.OKBtn->setText(french("OK"));
  ui.CancelBtn->setText(french("Annuler"));
}

TfrmGenoa::Kind TfrmGenoa::kindOf(const SearchString& s) {
  if (!s.parent) return kTyped;
  return s.parent == &s ? kAdded : kVariant;
}

void TfrmGenoa::prepare(cArrowList& strings, PatternMaker patternOf, std::string programFolder) {
  strings_ = &strings;
  patternOf_ = std::move(patternOf);
  programFolder_ = std::move(programFolder);
  descending_ = false;
  sortList();
  refill();
}

bool TfrmGenoa::run() {
  setCaptions();
  ui.lstWord->setFocus();
  const int result = runner_ ? runner_(*this) : exec();
  ui.lstWord->clear();
  strings_ = nullptr;
  return result == QDialog::Accepted;
}

void TfrmGenoa::sortList() {
  if (!strings_) return;
  // Byte by byte, as unsigned characters; equal patterns keep their order.
  std::stable_sort(strings_->begin(), strings_->end(), [this](const auto& a, const auto& b) {
    const int c = a->pattern.compare(b->pattern);
    return descending_ ? c > 0 : c < 0;
  });
}

void TfrmGenoa::refill() {
  ui.lstWord->clear();
  if (strings_) {
    for (const auto& s : *strings_) {
      auto* item = new QListWidgetItem(fromAnsi(s->pattern));
      item->setData(kKindRole, static_cast<int>(kindOf(*s)));
      ui.lstWord->addItem(item);
    }
  }
  ui.lblCount->setText(QString::number(ui.lstWord->count()));
}

void TfrmGenoa::btnDelClick() {
  if (!strings_) return;
  for (int i = ui.lstWord->count() - 1; i >= 0; --i) {
    if (!ui.lstWord->item(i)->isSelected() || i >= static_cast<int>(strings_->size())) continue;
    if (!(*strings_)[static_cast<std::size_t>(i)]->parent) continue;  // typed strings stay
    strings_->erase(strings_->begin() + i);
    delete ui.lstWord->takeItem(i);
  }
  ui.lblCount->setText(QString::number(ui.lstWord->count()));
}

void TfrmGenoa::btnSortClick() {
  descending_ = !descending_;
  sortList();
  refill();
}

void TfrmGenoa::btnAddClick() {
  if (!strings_ || !addDialog_) return;
  addDialog_->clear();
  if (addDialog_->run() != QDialog::Accepted) return;
  const std::string text = addDialog_->text();
  if (text.empty()) return;
  auto s = std::make_unique<SearchString>();
  s->text = text;
  s->pattern = patternOf_ ? patternOf_(text) : text;
  s->place = addDialog_->place();
  s->exclude = false;
  std::int32_t highest = -1;
  for (const auto& other : *strings_) highest = std::max(highest, other->order);
  s->order = highest + 1;
  s->parent = s.get();
  strings_->push_back(std::move(s));
  sortList();
  refill();
}

void TfrmGenoa::saveClick(bool append) {
  const std::string path = chooser_ ? chooser_(this, programFolder_) : runSaveDialog(this, programFolder_);
  if (path.empty()) return;
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(ui.lstWord->count()));
  for (int i = 0; i < ui.lstWord->count(); ++i) lines.push_back(toAnsi(ui.lstWord->item(i)->text()));
  errno = 0;
  if (!writeStringListFile(path, lines, append)) {
    const int error = errno;
    std::string detail = path;
    if (error != 0) detail.append("\n").append(std::strerror(error));
    showMessage("Impossible d'enregistrer le fichier :\n", detail, "Lirno", MessageKind::Warning, this);
  }
}

}  // namespace lirno
