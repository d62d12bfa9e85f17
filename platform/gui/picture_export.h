#pragma once
// Pictures saved in the formats Qt writes (the BMP of the diagram is written by the core).

#include <QImage>
#include <string>

namespace ore::gui {

// Writes image as a PNG file under exactly this name, replacing it whole or not at all. Throws
// ore::Error when it cannot be encoded or written.
void writePng(const QImage& image, const std::string& path);

}  // namespace ore::gui
