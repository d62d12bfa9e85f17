#pragma once
// Windows bitmap files of 24 bits per pixel: the saved diagram and the letter pictures.

#include <string>

#include "platform/canvas.h"

namespace ore::graph {

// Writes the picture as an uncompressed 24-bit BMP under exactly this name, replacing a regular
// file of that name only once the picture is complete (platform/files/safe_file_writer.h; a
// device, a FIFO or a descriptor is written in place). Throws ore::Error naming the file and the
// reason when it cannot be created or written (a folder of that name is refused); an existing
// file is then left as it was.
void writeBmp(const std::string& path, const Picture& picture);

// Reads an uncompressed 24- or 32-bit BMP (bottom-up or top-down). Throws ore::Error for a file
// that cannot be opened or is not such a bitmap.
Picture readBmp(const std::string& path);

}  // namespace ore::graph
