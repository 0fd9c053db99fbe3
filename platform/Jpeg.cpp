#include "platform/Jpeg.h"

#include <QFile>
#include <csetjmp>
#include <cstdint>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace platform {
namespace {

constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

// libjpeg's default error handler calls exit(); ours jumps back to the decoder instead.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (level -1) report corrupt data that the decoder would paper over; trace messages
// (level >= 0) are ignored.
void FailOnWarning(j_common_ptr cinfo, int level) {
    if (level < 0) JumpOnError(cinfo);
}

void StayQuiet(j_common_ptr) {}

// Source manager over a block of memory (the 6b interface has none of its own).
struct MemorySource {
    jpeg_source_mgr pub;
};

void InitSource(j_decompress_ptr) {}

// Called only when the whole block has been consumed: the picture is truncated.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) ERREXIT(cinfo, JERR_INPUT_EOF);
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<std::size_t>(count);
}

void TermSource(j_decompress_ptr) {}

// Everything the decoder touches lives here, outside the frame that calls setjmp, so that the
// jump back leaves no object in an indeterminate state.
struct Decoder {
    jpeg_decompress_struct cinfo{};
    ErrorManager error{};
    MemorySource source{};
    QImage image;
};

// Runs libjpeg from the header to the last scanline; false on any error or warning. The caller
// destroys the decompressor on every path (safe even when its creation failed).
bool Run(Decoder& d, const unsigned char* data, std::size_t size) {
    if (setjmp(d.error.jump)) return false;

    jpeg_create_decompress(&d.cinfo);
    d.source.pub.init_source = InitSource;
    d.source.pub.fill_input_buffer = FillInputBuffer;
    d.source.pub.skip_input_data = SkipInputData;
    d.source.pub.resync_to_restart = jpeg_resync_to_restart;
    d.source.pub.term_source = TermSource;
    d.source.pub.next_input_byte = data;
    d.source.pub.bytes_in_buffer = size;
    d.cinfo.src = &d.source.pub;

    jpeg_read_header(&d.cinfo, TRUE);
    if (d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK) {
        return false;
    }
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(d.cinfo.image_width) * d.cinfo.image_height;
    if (pixels == 0 || pixels > kMaxPixels) return false;

    d.cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.cinfo);
    if (d.cinfo.output_components != 3) return false;

    d.image = QImage(static_cast<int>(d.cinfo.output_width),
                     static_cast<int>(d.cinfo.output_height), QImage::Format_RGB888);
    if (d.image.isNull()) return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.image.scanLine(static_cast<int>(d.cinfo.output_scanline));
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace

QImage DecodeJpeg(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size == 0) return QImage();
    Decoder d;
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = JumpOnError;
    d.error.pub.emit_message = FailOnWarning;
    d.error.pub.output_message = StayQuiet;
    const bool decoded = Run(d, data, size);
    jpeg_destroy_decompress(&d.cinfo);
    return decoded ? d.image : QImage();
}

QImage DecodeJpeg(const QByteArray& data) {
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(data.constData()),
                      static_cast<std::size_t>(data.size()));
}

QImage LoadJpeg(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return QImage();
    return DecodeJpeg(file.readAll());
}

}  // namespace platform
