#pragma once
// The glyph box `pbxGlyph`: the picture of the glyph under the caret, drawn
// by our metafile player at its natural size, shrunk to fit the box.
#include <QWidget>

#include "documents/metafile.h"

namespace lirno {

struct GlyphPicture;

class GlyphBox : public QWidget {
  Q_OBJECT

 public:
  explicit GlyphBox(QWidget* parent = nullptr);

  // Shows `picture` (a copy is kept; nullptr empties the box) and repaints.
  void setPicture(const GlyphPicture* picture);
  bool hasPicture() const { return metafile_.valid(); }
  const wmf::Metafile& metafile() const { return metafile_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  wmf::Metafile metafile_;
};

}  // namespace lirno
