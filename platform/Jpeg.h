#pragma once
// JPEG pictures decoded with libjpeg (6b interface). A damaged picture never ends the program:
// it decodes to a null image.
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <string>

namespace platform {

// Decodes JPEG bytes into an RGB image. Damaged, truncated or unsupported data (a CMYK picture,
// one larger than 64 megapixels) gives a null image; so does any corrupt-data warning of the
// decoder, so that a half-decoded picture is never shown.
QImage DecodeJpeg(const unsigned char* data, std::size_t size);
QImage DecodeJpeg(const QByteArray& data);

// Reads and decodes a JPEG file; a missing, unreadable or damaged file gives a null image.
QImage LoadJpeg(const std::string& path);

}  // namespace platform
