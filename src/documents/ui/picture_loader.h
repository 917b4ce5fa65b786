#pragma once
// The viewer's loaded picture: a folio photograph or drawing read from a
// file (JPEG through libjpeg, Windows bitmaps and icons, Windows metafiles
// and enhanced metafiles through our players), and the bitmap to draw for
// a zoom factor. A JPEG is decoded at the scale it is shown: for zooms of a
// half and below, at 1/2, 1/4 or 1/8 by the library's DCT scaling, from the
// file's bytes kept for the purpose; other pictures are reduced smoothly
// from their full bitmap.
#include <QImage>
#include <QSize>

#include <string>

namespace lirno {

class LoadedPicture {
 public:
  // Reads the picture at `path` (UTF-8). False with `reason` (translated)
  // when it cannot be read or decoded; the object is then unchanged.
  bool load(const std::string& path, std::string& reason);
  // The same over bytes in memory; `name` only chooses among formats that
  // carry no signature.
  bool loadBytes(std::string bytes, const std::string& name, std::string& reason);

  bool empty() const { return full_.isNull(); }
  // The picture's size at zoom 1.
  QSize size() const { return full_.size(); }

  // The bitmap to draw for `zoom` and its scale against size() (1, 1/2,
  // 1/4 or 1/8). A reduced bitmap is made once and kept until the next.
  const QImage& bitmapFor(double zoom, double* scale = nullptr);

  // Bytes held: the bitmaps and the kept file.
  std::size_t memoryBytes() const;

  // The reduction 1/d used for `zoom`: the largest d of 1, 2, 4, 8 with
  // 1/d at least the zoom.
  static int denominatorFor(double zoom);

 private:
  std::string jpeg_;  // the file, for decoding again at another scale
  QImage full_;
  QImage reduced_;
  int reducedDenominator_ = 1;
};

}  // namespace lirno
