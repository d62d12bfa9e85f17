#pragma once
// Picture files beside the BMP: PNG (lossless, zlib) and a one-page PDF holding the picture.

#include <string>

#include "platform/canvas.h"

namespace ore::graph {

// Writes the picture as a 24-bit PNG, replacing a file of that name only once it is complete.
// Throws ore::Error naming the file and the system's reason when it cannot be written; the old
// file is then as it was.
void writePng(const std::string& path, const Picture& picture);

// Writes a one-page PDF whose page is the picture at 96 dpi (one pixel = 0,75 pt), compressed
// losslessly. Fails as writePng does.
void writePdf(const std::string& path, const Picture& picture);

}  // namespace ore::graph
