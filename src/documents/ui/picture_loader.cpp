#include "documents/ui/picture_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "documents/emf.h"
#include "documents/jpeg_decoder.h"
#include "documents/metafile.h"
#include "documents/ui/metafile_painter.h"
#include "platform/file_read.h"
#include "platform/paths.h"
#include "platform/ui/message.h"

namespace lirno {
namespace {

// Drawings are rendered at their natural size, within this many pixels a
// side.
constexpr double kMaxDrawingSide = 8000;

std::uint32_t le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
int le16s(const std::string& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

enum class Kind { Jpeg, Bitmap, Icon, Wmf, Emf, Unknown };

Kind kindOf(const std::string& b, const std::string& name) {
  if (isJpeg(b)) return Kind::Jpeg;
  if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return Kind::Bitmap;
  if (b.size() >= 4 && b.compare(0, 4, std::string("\0\0\1\0", 4)) == 0) return Kind::Icon;
  if (b.size() >= 4 && le32(b, 0) == 0x9AC6CDD7u) return Kind::Wmf;
  if (b.size() >= 44 && le32(b, 0) == 1 && le32(b, 40) == 0x464D4520u) return Kind::Emf;
  const std::string ext = lower(extensionOf(name));
  if (ext == ".wmf") return Kind::Wmf;
  if (ext == ".ico" || ext == ".cur") return Kind::Icon;
  return Kind::Unknown;
}

QImage blank(QSizeF natural) {
  double w = natural.width(), h = natural.height();
  if (!(w >= 1) || !(h >= 1)) return {};
  const double f = std::min({1.0, kMaxDrawingSide / w, kMaxDrawingSide / h});
  QImage img(std::max(1, static_cast<int>(std::ceil(w * f))), std::max(1, static_cast<int>(std::ceil(h * f))),
             QImage::Format_RGB32);
  if (!img.isNull()) img.fill(Qt::white);
  return img;
}

bool renderWmf(const std::string& b, QImage& out) {
  int width = 0, height = 0;
  if (b.size() >= 22 && le32(b, 0) == 0x9AC6CDD7u) {
    // The placeable header's frame, in units of `inch` a inch: HIMETRIC.
    const int inch = static_cast<unsigned char>(b[14]) | static_cast<unsigned char>(b[15]) << 8;
    if (inch > 0) {
      width = static_cast<int>(std::lround(std::abs(le16s(b, 10) - le16s(b, 6)) * 2540.0 / inch));
      height = static_cast<int>(std::lround(std::abs(le16s(b, 12) - le16s(b, 8)) * 2540.0 / inch));
    }
  }
  wmf::Metafile mf;
  if (!mf.load(reinterpret_cast<const std::uint8_t*>(b.data()), b.size(), wmf::kMmAnisotropic, width, height)) {
    return false;
  }
  QImage img = blank(QSizeF(mf.naturalSize().width, mf.naturalSize().height));
  if (img.isNull()) return false;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  drawMetafile(p, mf, QRectF(0, 0, img.width(), img.height()));
  p.end();
  out = std::move(img);
  return true;
}

bool renderEmf(const std::string& b, QImage& out) {
  emf::EnhancedMetafile mf;
  if (!mf.load(reinterpret_cast<const std::uint8_t*>(b.data()), b.size())) return false;
  QImage img = blank(QSizeF(mf.naturalSize().width, mf.naturalSize().height));
  if (img.isNull()) return false;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  {
    QPainterCanvas canvas(p);  // restores the painter's state as it goes
    mf.play(canvas, wmf::RectF{0, 0, static_cast<double>(img.width()), static_cast<double>(img.height())});
  }
  p.end();
  out = std::move(img);
  return true;
}

bool decodeJpegImage(const std::string& bytes, int denominator, QImage& out, std::string& reason) {
  QImage img;
  const JpegTarget target = [&img](int w, int h, std::size_t& stride) -> std::uint32_t* {
    img = QImage(w, h, QImage::Format_RGB32);
    if (img.isNull()) return nullptr;
    stride = static_cast<std::size_t>(img.bytesPerLine());
    return reinterpret_cast<std::uint32_t*>(img.bits());
  };
  std::string error;
  if (!decodeJpeg(bytes, denominator, target, error)) {
    reason = translate("Fichier JPEG illisible : ") + error;
    return false;
  }
  out = std::move(img);
  return true;
}

}  // namespace

int LoadedPicture::denominatorFor(double zoom) {
  for (int d : {8, 4, 2}) {
    if (1.0 / d >= zoom - 1e-9) return d;
  }
  return 1;
}

bool LoadedPicture::load(const std::string& path, std::string& reason) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) {
    reason = translate(fileExists(path) ? "Fichier illisible" : "Fichier non trouvé");
    return false;
  }
  return loadBytes(std::move(bytes), path, reason);
}

bool LoadedPicture::loadBytes(std::string bytes, const std::string& name, std::string& reason) {
  QImage image;
  std::string jpeg;
  switch (kindOf(bytes, name)) {
    case Kind::Jpeg:
      if (!decodeJpegImage(bytes, 1, image, reason)) return false;
      jpeg = std::move(bytes);
      break;
    case Kind::Bitmap:
    case Kind::Icon: {
      QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
      QBuffer buffer(&data);
      QImageReader reader(&buffer, kindOf(bytes, name) == Kind::Bitmap ? "bmp" : "ico");
      // An icon file holds several pictures: the largest is shown.
      QImage best;
      do {
        QImage i = reader.read();
        if (!i.isNull() && (best.isNull() || i.width() * i.height() > best.width() * best.height())) best = i;
      } while (reader.jumpToNextImage());
      if (best.isNull()) {
        reason = translate("Image Windows illisible");
        return false;
      }
      image = best.hasAlphaChannel() ? best.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                     : best.convertToFormat(QImage::Format_RGB32);
      break;
    }
    case Kind::Wmf:
      if (!renderWmf(bytes, image)) {
        reason = translate("Métafichier Windows illisible");
        return false;
      }
      break;
    case Kind::Emf:
      if (!renderEmf(bytes, image)) {
        reason = translate("Métafichier amélioré illisible");
        return false;
      }
      break;
    case Kind::Unknown:
      reason = translate("Format d'image inconnu");
      return false;
  }
  jpeg_ = std::move(jpeg);
  full_ = std::move(image);
  reduced_ = QImage();
  reducedDenominator_ = 1;
  return true;
}

const QImage& LoadedPicture::bitmapFor(double zoom, double* scale) {
  const int d = empty() ? 1 : denominatorFor(zoom);
  if (scale) *scale = 1.0 / d;
  if (d == 1) return full_;
  if (reducedDenominator_ != d || reduced_.isNull()) {
    QImage r;
    std::string ignored;
    if (!jpeg_.empty()) decodeJpegImage(jpeg_, d, r, ignored);
    if (r.isNull()) {
      r = full_.scaled((full_.width() + d - 1) / d, (full_.height() + d - 1) / d, Qt::IgnoreAspectRatio,
                       Qt::SmoothTransformation);
    }
    reduced_ = std::move(r);
    reducedDenominator_ = d;
  }
  if (reduced_.isNull()) {
    if (scale) *scale = 1.0;
    return full_;
  }
  return reduced_;
}

std::size_t LoadedPicture::memoryBytes() const {
  return static_cast<std::size_t>(full_.sizeInBytes()) + static_cast<std::size_t>(reduced_.sizeInBytes()) +
         jpeg_.size();
}

}  // namespace lirno
