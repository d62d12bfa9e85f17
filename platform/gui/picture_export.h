#pragma once
// Pictures saved in the formats Qt writes (the BMP of the diagram is written by the core).

#include <QImage>
#include <string>

namespace ore::gui {

// Writes image as a PNG file under exactly this name. Throws ore::Error when the file cannot be
// created or written; a file that could not be written whole is removed.
void writePng(const QImage& image, const std::string& path);

}  // namespace ore::gui
