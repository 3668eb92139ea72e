#include "app/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr JDIMENSION MaxSide = 8192;

// libjpeg's default error handler ends the process; this one jumps back to the decoder.
struct ErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf resume;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->resume, 1);
}

// Warnings of damaged data are not printed: a damaged picture is shown as far as it goes.
void stayQuiet(j_common_ptr) {
}

// Decodes into *image; false on an error. Only libjpeg's C frames lie between setjmp and a
// longjmp, and nothing in this frame that needs destroying changes after setjmp.
bool decode(const QByteArray& bytes, QImage* image) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = jumpBack;
    errors.standard.output_message = stayQuiet;
    if (setjmp(errors.resume) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width > MaxSide || info.output_height > MaxSide ||
        info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB888);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return {};
    QImage image;
    if (!decode(bytes, &image))
        return {};
    return image;
}
