#include "platform/gui/picture_export.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <string_view>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"

namespace ore::gui {

void writePng(const QImage& image, const std::string& path) {
  // Encoded first, then replaced whole as the bitmap is.
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image))
    throw Error("Ошибка записи в файл " + path + ": " + writer.errorString().toStdString());
  writeFileSafely(path, std::string_view(png.constData(), static_cast<size_t>(png.size())));
}

}  // namespace ore::gui
