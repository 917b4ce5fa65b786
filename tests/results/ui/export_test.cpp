// Save results from a main window: the export dialog's enabling and kept
// states, the report written through it compared byte for byte with
// lirno-batch's for the same request, over a document and over the sample
// corpus, and a file that cannot be written.
#include "results/ui/result_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/ui/qt_text.h"
#include "results/ui/export_controller.h"
#include "support/batch_runner.h"
#include "support/faults.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

const char kText[] = "le chat et le rat. le chien et le rat.\nun rat, un chat.\n";

class ExportTest : public testing::WorkbenchTest {
 protected:
  TfrmResult& dialog() { return *qobject_cast<TfrmResult*>(workbench().dialogs().frmResult); }

  // Save results with the dialog set up by `setUp` and closed with OK (or
  // Annuler when `ok` is false).
  bool save(TfrmMain& w, const std::function<void(TfrmResult&)>& setUp, bool ok = true) {
    dialog().setRunner([&](TfrmResult& d) {
      ++runs;
      setUp(d);
      (ok ? d.ui.OKBtn : d.ui.CancelBtn)->click();
      return d.result();
    });
    return w.controller<ExportController>()->saveResults();
  }
  static void setOptions(TfrmResult& d, int extracts, bool detailed) {
    d.ui.extractKinds->button(extracts)->setChecked(true);
    d.ui.extractModes->button(detailed ? 1 : 0)->setChecked(true);
  }

  int runs = 0;
  const std::string bin_ = LIRNO_PROGRAM_FOLDER;
};

TEST_F(ExportTest, DialogEnablingFollowsTheNameTheListAndTheExtractKind) {
  start();
  TfrmResult& d = dialog();
  d.ui.edFile->clear();
  d.updateEnabling();
  EXPECT_FALSE(d.ui.OKBtn->isEnabled());
  d.ui.edFile->setText(QStringLiteral("   "));
  EXPECT_FALSE(d.ui.OKBtn->isEnabled());
  d.ui.edFile->setText(QStringLiteral(" out.txt "));
  EXPECT_TRUE(d.ui.OKBtn->isEnabled());
  EXPECT_EQ(d.fileName(), "out.txt");

  EXPECT_TRUE(d.ui.chkTargRef->isEnabled());
  d.ui.chkTarget->setChecked(false);
  EXPECT_FALSE(d.ui.chkTargRef->isEnabled());
  d.ui.chkTarget->setChecked(true);

  d.setExtractKind(0);
  EXPECT_FALSE(d.ui.chkExtRef->isEnabled());
  EXPECT_FALSE(d.ui.chkExtBalise->isEnabled());
  d.setExtractKind(2);
  EXPECT_TRUE(d.ui.chkExtRef->isEnabled());
  EXPECT_TRUE(d.ui.chkExtBalise->isEnabled());
  const ReportOptions o = d.options();
  EXPECT_EQ(o.extracts, 2);
  EXPECT_TRUE(o.information && o.list && o.references && o.extractReferences && o.spans);
  EXPECT_FALSE(o.append || o.detailed);

  // "..." puts the chosen file in the field.
  std::string folderAsked;
  d.setFileChooser([&](QWidget*, const std::string& folder, const std::string&) {
    folderAsked = folder;
    return std::string("/tmp/chosen.txt");
  });
  d.ui.edFile->clear();
  d.setInitialFolder(program_.path());
  d.ui.btnFile->click();
  EXPECT_EQ(folderAsked, program_.path());
  EXPECT_EQ(d.fileName(), "/tmp/chosen.txt");
  EXPECT_TRUE(d.ui.OKBtn->isEnabled());
}

TEST_F(ExportTest, ExtractKindComesFromTheContextOtherStatesAreKept) {
  TfrmMain& w = start();
  open(w, writeDocument("animaux.txt", kText));
  search(w, [](TfrmFind& d) {
    d.ui.btnClear->click();
    d.ui.pnlContext.setIndex(kContextSentence);
    d.ui.edWord->setText(QStringLiteral("chat"));
  });
  int seenKind = -1;
  const std::string out = program_.file("out.txt");
  EXPECT_FALSE(save(
      w,
      [&](TfrmResult& d) {
        seenKind = d.extractKind();
        d.ui.edFile->setText(fromUtf8(out));
        d.ui.chkApend->setChecked(true);
        d.ui.chkExtBalise->setChecked(false);
      },
      false));
  EXPECT_EQ(seenKind, kContextSentence);
  EXPECT_FALSE(program_.exists("out.txt"));  // Annuler writes nothing

  search(w, [](TfrmFind& d) {
    d.ui.pnlContext.setIndex(kContextWord);
    d.ui.edWord->setText(QStringLiteral("chat"));
  });
  bool kept = false;
  EXPECT_TRUE(save(w, [&](TfrmResult& d) {
    seenKind = d.extractKind();
    kept = d.fileName() == out && d.ui.chkApend->isChecked() && !d.ui.chkExtBalise->isChecked();
  }));
  EXPECT_EQ(seenKind, 0);  // "Mot" gives "Aucun"
  EXPECT_TRUE(kept);
  EXPECT_TRUE(program_.exists("out.txt"));
}

TEST_F(ExportTest, ReportOfADocumentSearchIsTheBatchReport) {
  const std::string doc = writeDocument("animaux.txt", kText);
  TfrmMain& w = start("-F " + doc + " -S chat -S2 rat -M1 -X2");
  ASSERT_EQ(results(w).targets().size(), 2u);
  const std::vector<std::string> request = {"-R", program_.file("nac.rul"), "-F", doc, "-S", "chat",
                                            "-S2", "rat", "-M1", "-X2"};
  for (const bool detailed : {false, true}) {
    const std::string out = program_.file(detailed ? "detailed.txt" : "grouped.txt");
    ASSERT_TRUE(save(w, [&](TfrmResult& d) {
      d.ui.edFile->setText(fromUtf8(out));
      d.ui.chkApend->setChecked(false);
      setOptions(d, 2, detailed);
    }));
    std::vector<std::string> args = request;
    args.insert(args.end(), {"--extracts", "2"});
    if (detailed) args.push_back("--detailed");
    const testing::BatchRun batch = testing::runBatch(bin_, args);
    ASSERT_EQ(batch.exitCode, 0);
    EXPECT_EQ(program_.read(detailed ? "detailed.txt" : "grouped.txt"), batch.out) << detailed;
  }
  EXPECT_FALSE(panes(w).currentDocument().path.empty());  // the document's own extracts: it stays
}

TEST_F(ExportTest, ReportOfTheSampleCorpusIsTheBatchReport) {
  std::filesystem::copy_file(bin_ + "nac.rul", program_.file("nac.rul"),
                             std::filesystem::copy_options::overwrite_existing);
  TfrmMain& w = start("-C " + bin_ + "sample.cor -S odo -X3");
  const std::size_t found = results(w).targets().size();
  ASSERT_GT(found, 2u);
  for (const bool detailed : {false, true}) {
    const std::string out = program_.file("corpus.txt");
    ASSERT_TRUE(save(w, [&](TfrmResult& d) {
      d.ui.edFile->setText(fromUtf8(out));
      d.ui.chkApend->setChecked(false);
      setOptions(d, 3, detailed);
    }));
    std::vector<std::string> args = {"-C", bin_ + "sample.cor", "-S", "odo", "-X3", "--extracts", "3"};
    if (detailed) args.push_back("--detailed");
    const testing::BatchRun batch = testing::runBatch(bin_, args);
    ASSERT_EQ(batch.exitCode, 0);
    EXPECT_NE(batch.out.find("ms_aubert.rtf"), std::string::npos);
    EXPECT_EQ(program_.read("corpus.txt"), batch.out) << detailed;
  }
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(results(w).targets().size(), found);  // reading the documents left the results alone
  EXPECT_TRUE(panes(w).currentDocument().path.empty());
}

TEST_F(ExportTest, AFileThatCannotBeWrittenIsReported) {
  TfrmMain& w = start();
  open(w, writeDocument("animaux.txt", kText));
  searchWord(w, "chat");
  const std::string out = program_.file("absent/out.txt");
  EXPECT_FALSE(save(w, [&](TfrmResult& d) { d.ui.edFile->setText(fromUtf8(out)); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Impossible d'enregistrer le fichier :\n" + out + "\n", 0), 0u) << messages[0];
}

TEST_F(ExportTest, AFailedExportLeavesThePreviousFileIntactAndAppendingAppends) {
  TfrmMain& w = start();
  open(w, writeDocument("animaux.txt", kText));
  searchWord(w, "chat");
  program_.write("out.txt", "previous report\r\n");
  const std::string out = program_.file("out.txt");
  {
    testing::ScopedFaults faults;
    faults.diskFullAfter(20);
    EXPECT_FALSE(save(w, [&](TfrmResult& d) {
      d.ui.edFile->setText(fromUtf8(out));
      d.ui.chkApend->setChecked(false);
      d.setExtractKind(2);
    }));
  }
  EXPECT_EQ(program_.read("out.txt"), "previous report\r\n");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Impossible d'enregistrer le fichier :\n" + out + "\n" + std::strerror(ENOSPC));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(program_.path())) ++files;
  EXPECT_EQ(files, 4u);  // Lirno.ini, nac.rul, animaux.txt, out.txt: no temporary file left

  ASSERT_TRUE(save(w, [&](TfrmResult& d) { d.ui.chkApend->setChecked(true); }));
  const std::string report = program_.read("out.txt");
  EXPECT_EQ(report.rfind("previous report\r\nDOCUMENT: animaux.txt\r\n", 0), 0u);
}

TEST_F(ExportTest, SaveIsOfferedWithResultsOnly) {
  TfrmMain& w = start();
  EXPECT_FALSE(enabled(w, "mnuSaveTarget"));
  open(w, writeDocument("animaux.txt", kText));
  searchWord(w, "chat");
  EXPECT_TRUE(enabled(w, "btnSaveTarget"));
  dialog().setRunner([&](TfrmResult& d) {
    ++runs;
    d.reject();
    return d.result();
  });
  w.action("mnuSaveTarget")->trigger();
  w.button("btnSaveTarget")->click();
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace lirno
