#pragma once
// The folio pictures of a main window: the picture list built from the
// main document's information file, the picture grid with the caret's
// folio in bold, and the image viewer opened on a grid row.
#include <string>

#include "documents/picture_list.h"
#include "shell/ui/main_window.h"

namespace lirno {

class PanesController;
class PictureModel;
class TfrmImage;

class PicturesController : public WindowController {
  Q_OBJECT

 public:
  explicit PicturesController(TfrmMain& frame);
  ~PicturesController() override;

  void formCreated() override;

  const cPictureList& pictureList() const { return list_; }

  // Build picture list from an information file (UTF-8 path; empty: none).
  void buildFromInformation(const std::string& path);
  // Free picture list.
  void freePictureList();
  // The position display's folio ("12v"): marks and the grid's row.
  void lookUpFolio(const QString& folio);
  // Double click on the grid: the viewer on the current row.
  void openViewer();

  // Where the viewer loads this window's pictures: program folder +
  // "Images/" + (the list's image folder, else the document's name) + "/".
  std::string imageFolder() const;
  std::string documentName() const;

  TfrmImage* viewer() const;
  PictureModel* model() const { return model_; }

 private:
  void reloadGrid();
  PanesController& panes() const;

  cPictureList list_;
  PictureModel* model_ = nullptr;
};

}  // namespace lirno
