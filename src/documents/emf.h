#pragma once
// A player for enhanced metafiles (EMF, 32-bit records), for drawings shown
// in the image viewer. It plays the records such a drawing uses and hands
// device-space shapes to the same Canvas as the Windows metafile player:
//
//   header, end; window and viewport origins and extents, mapping modes,
//   world transforms (set, modify); save and restore of the state;
//   pens (plain and extended), solid, hatched and null brushes, stock
//   objects, select and delete; background mode and colour, fill mode;
//   move to, line to, rectangles, rounded rectangles (as rectangles),
//   ellipses; polygons, polylines, poly-polygons, poly-polylines and
//   Bezier curves in 16- and 32-bit points; paths (begin, end, close
//   figure, fill, stroke, stroke and fill); fonts, text colour and
//   alignment, ExtTextOutW; StretchDIBits of uncompressed bitmaps.
//
// Other records are passed over. Every read is bounds-checked; a file
// whose header or record chain is malformed is rejected at load().
#include <cstdint>
#include <vector>

#include "documents/metafile.h"

namespace lirno::emf {

class EnhancedMetafile {
 public:
  // Checks and keeps a copy of the file. False, leaving the object empty,
  // when it is not a well-formed enhanced metafile.
  bool load(const std::uint8_t* data, std::size_t size);
  bool valid() const { return valid_; }

  // The picture's frame at 96 pixels per inch.
  wmf::SizeF naturalSize() const { return natural_; }

  // Plays the records so that the picture's frame fills `target`.
  void play(wmf::Canvas& canvas, const wmf::RectF& target) const;

 private:
  friend class EmfPlayer;
  std::vector<std::uint8_t> bytes_;
  wmf::RectF frame_;  // the frame in reference-device pixels
  wmf::SizeF natural_;
  double pixelsPerMm_[2] = {96 / 25.4, 96 / 25.4};  // of the reference device
  bool valid_ = false;
};

}  // namespace lirno::emf
