#pragma once
// TfrmImage, the image viewer: the folio pictures of a main window's list,
// one at a time, with the four move commands, zoom from 0.1 to 2.0 and the
// picture dragged with the mouse. One instance for the whole process,
// shared by the main windows; not modal.
#include <QDialog>
#include <QImage>

#include <string>

#include "documents/ui/picture_loader.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace lirno {

class cPictureList;
class PictureCanvas;

class TfrmImage : public QDialog {
  Q_OBJECT

 public:
  static constexpr double kMinZoom = 0.1;
  static constexpr double kMaxZoom = 2.0;

  explicit TfrmImage(QWidget* parent = nullptr);
  ~TfrmImage() override;

  // Opening from a window's picture grid: its list (kept, not owned), the
  // grid's entry, the folder that holds the image files (ends with "/").
  void present(const cPictureList* list, int index, const std::string& documentName,
               const std::string& folder);

  // The list this viewer shows was rebuilt or emptied: the commands follow
  // it (nothing to show when it is empty).
  void listChanged(const cPictureList* list);
  // The window that owns `list` is going.
  void forgetList(const cPictureList* list);

  // "Suivre le texte": while checked and the viewer is open, the position
  // display of a window shows here the first picture of the caret's folio.
  bool followsText() const;
  void follow(const cPictureList* list, int index, const std::string& documentName,
              const std::string& folder);

  // Commands.
  void firstPicture();
  void previousPicture();
  void nextPicture();
  void lastPicture();
  void zoomIn();
  void zoomOut();
  // Any factor within the limits, redrawn (the zoom commands step by 0.1).
  void setZoom(double zoom);

  // State.
  const cPictureList* pictureList() const { return list_; }
  int currentIndex() const { return index_; }
  double zoom() const { return zoom_; }
  const std::string& folder() const { return folder_; }
  const std::string& documentName() const { return documentName_; }
  // Size of the displayed bitmap: the picture's size times the zoom,
  // truncated.
  QSize displayedSize() const;
  const LoadedPicture& loadedPicture() const { return picture_; }
  bool dragging() const { return dragging_; }

  // Sets the French captions and hints; the language file's control
  // lines replace them each time the viewer is shown.
  void setCaptions();

  QScrollArea* sclImage = nullptr;
  PictureCanvas* imgPicture = nullptr;
  QWidget* pnlInfo = nullptr;
  QToolButton* btnFirst = nullptr;
  QToolButton* btnPrev = nullptr;
  QToolButton* btnNext = nullptr;
  QToolButton* btnLast = nullptr;
  QLabel* lblFolio = nullptr;
  QLabel* lblDescr = nullptr;
  QLabel* lblImage = nullptr;
  QLineEdit* edFolio = nullptr;
  QLineEdit* edDescr = nullptr;
  QLineEdit* edImage = nullptr;
  QToolButton* btnZoomIn = nullptr;
  QToolButton* btnZoomOut = nullptr;
  QCheckBox* chkFollow = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateButtons();
  void showCurrentPicture();
  void redraw();
  void goTo(int index);

  const cPictureList* list_ = nullptr;
  int index_ = 0;
  std::string documentName_;
  std::string folder_;
  double zoom_ = 1.0;
  LoadedPicture picture_;
  bool dragging_ = false;
  QPoint last_;
  bool drawing_ = false;
  bool placed_ = false;
};

// imgPicture: draws the loaded picture at the viewer's zoom, only where it
// is exposed, smoothly scaled from the bitmap of the nearest reduction.
class PictureCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit PictureCanvas(QWidget* parent = nullptr);
  void setPicture(const QImage* bitmap, double bitmapScale, double zoom);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage* bitmap_ = nullptr;
  double factor_ = 1;  // widget pixels per bitmap pixel
};

}  // namespace lirno
