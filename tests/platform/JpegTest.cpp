#include <gtest/gtest.h>
#include <jpeglib.h>

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/Jpeg.h"

namespace {

// Encodes a picture with libjpeg's own compressor (Qt's JPEG plugin may be absent), at a high
// quality and without chroma subsampling so that flat colours come back close to what was drawn.
QByteArray EncodeJpeg(const QImage& picture, bool grayscale = false) {
    const QImage source = grayscale ? picture.convertToFormat(QImage::Format_Grayscale8)
                                    : picture.convertToFormat(QImage::Format_RGB888);
    char* buffer = nullptr;
    std::size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, stream);
    cinfo.image_width = static_cast<JDIMENSION>(source.width());
    cinfo.image_height = static_cast<JDIMENSION>(source.height());
    cinfo.input_components = grayscale ? 1 : 3;
    cinfo.in_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    cinfo.comp_info[0].h_samp_factor = 1;
    cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(source.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(stream);
    QByteArray bytes(buffer, static_cast<qsizetype>(size));
    std::free(buffer);
    return bytes;
}

// Left half one colour, right half another.
QImage TwoColourPicture(int width, int height, QColor left, QColor right) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixelColor(x, y, x < width / 2 ? left : right);
    }
    return picture;
}

void ExpectColourNear(const QImage& image, int x, int y, QColor expected) {
    const QColor got = image.pixelColor(x, y);
    constexpr int kTolerance = 6;  // JPEG is lossy; flat areas at quality 95 stay within a few
    EXPECT_NEAR(got.red(), expected.red(), kTolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.green(), expected.green(), kTolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.blue(), expected.blue(), kTolerance) << "at " << x << "," << y;
}

}  // namespace

TEST(Jpeg, DecodesSizeAndColours) {
    struct Case {
        const char* name;
        int width;
        int height;
        QColor left;
        QColor right;
        bool grayscale;
    };
    const Case cases[] = {
        {"colour, whole blocks", 48, 32, QColor(200, 30, 40), QColor(20, 60, 200), false},
        {"colour, partial blocks", 37, 9, QColor(250, 250, 250), QColor(0, 128, 0), false},
        {"grayscale comes back as grey RGB", 32, 16, QColor(40, 40, 40), QColor(190, 190, 190),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage decoded = platform::DecodeJpeg(
            EncodeJpeg(TwoColourPicture(c.width, c.height, c.left, c.right), c.grayscale));
        ASSERT_FALSE(decoded.isNull());
        EXPECT_EQ(decoded.width(), c.width);
        EXPECT_EQ(decoded.height(), c.height);
        // Probes away from the colour edge, where JPEG ringing stays.
        ExpectColourNear(decoded, 1, c.height / 2, c.left);
        ExpectColourNear(decoded, c.width - 2, c.height / 2, c.right);
    }
}

TEST(Jpeg, DamagedDataGivesANullImage) {
    const QByteArray good = EncodeJpeg(TwoColourPicture(40, 24, Qt::red, Qt::blue));
    ASSERT_GT(good.size(), 200);
    QByteArray badSize = good;
    // The frame header (SOF0) holds the height at offset 5 after its marker: a zero height is
    // refused by the decoder.
    const qsizetype sof = badSize.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    badSize[sof + 5] = 0;
    badSize[sof + 6] = 0;

    struct Case {
        const char* name;
        QByteArray data;
    };
    const Case cases[] = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("GIF89a this is not a picture")},
        {"start marker only", good.left(2)},
        {"headers without scan data", good.left(sof + 20)},
        {"cut in the middle of the scan", good.left(good.size() / 2 + 40)},
        {"last bytes missing", good.left(good.size() - 2)},
        {"zero height in the frame header", badSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(platform::DecodeJpeg(c.data).isNull());
    }
}

// Whatever byte is spoiled, decoding ends normally: either a picture of the right size or none.
TEST(Jpeg, NoSpoiledByteEndsTheProgram) {
    const QByteArray good = EncodeJpeg(TwoColourPicture(24, 16, Qt::yellow, Qt::darkCyan));
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (const char spoiled : {'\x00', '\xFF', '\x5A'}) {
            QByteArray data = good;
            if (data[at] == spoiled) continue;
            data[at] = spoiled;
            const QImage decoded = platform::DecodeJpeg(data);
            if (!decoded.isNull()) {
                EXPECT_EQ(decoded.size(), QSize(24, 16)) << "byte " << at;
            }
        }
    }
}

TEST(Jpeg, LoadsFilesAndToleratesMissingOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("picture.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(EncodeJpeg(TwoColourPicture(20, 10, Qt::black, Qt::white)));
    file.close();

    const QImage loaded = platform::LoadJpeg(path.toStdString());
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.size(), QSize(20, 10));
    EXPECT_TRUE(platform::LoadJpeg(dir.filePath("missing.jpg").toStdString()).isNull());
    EXPECT_TRUE(platform::LoadJpeg(dir.path().toStdString()).isNull());  // a folder
}

TEST(Jpeg, TheShippedAboutPictureDecodes) {
    const QImage picture = platform::LoadJpeg(std::string(PROGRAM_DATA_DIR) + "/About.jpg");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(128, 128));
}
