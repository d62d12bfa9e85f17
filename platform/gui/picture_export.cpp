#include "platform/gui/picture_export.h"

#include <QFile>
#include <QImageWriter>

#include "data/errors.h"

namespace ore::gui {

void writePng(const QImage& image, const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw Error("Не удается создать файл " + path + ": " + file.errorString().toStdString());
  QImageWriter writer(&file, "png");
  if (!writer.write(image)) {
    const std::string why = writer.errorString().toStdString();
    file.close();
    file.remove();
    throw Error("Ошибка записи в файл " + path + ": " + why);
  }
}

}  // namespace ore::gui
