#include "ImageWriter.h"

#include <QBuffer>
#include <algorithm>
#include <QImageWriter>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// libjpeg's header wants FILE and size_t declared first.
#include <jpeglib.h>

namespace {

void requireImage(const QImage& image) {
    if (image.isNull())
        throw std::invalid_argument("there is no picture to write");
}

void putLE16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void putLE32(std::string& out, std::uint32_t v) {
    putLE16(out, v & 0xFFFF);
    putLE16(out, v >> 16);
}

int dotsPerInch(int dotsPerMetre) {
    return static_cast<int>(std::nearbyint(dotsPerMetre * 0.0254));
}

// ---- JPEG -------------------------------------------------------------

// libjpeg reports a fatal error by calling error_exit, which must not
// return; we jump back to the encoder with the library's message.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void jpegOutputMessage(j_common_ptr) {}  // warnings are not printed

// Everything the jump may cross is plain C data, so no destructor is skipped.
bool compressJpeg(const QImage& rgb, int quality, unsigned char** buffer, unsigned long* size, char* message) {
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegErrorExit;
    errors.manager.output_message = jpegOutputMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::strncpy(message, errors.message, JMSG_LENGTH_MAX);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    // Baseline: 8-bit tables only, sequential (jpeg_set_defaults makes no
    // progressive scans).
    jpeg_set_quality(&info, quality, TRUE);
    info.density_unit = 1;  // dots per inch
    info.X_density = static_cast<UINT16>(std::clamp(dotsPerInch(rgb.dotsPerMeterX()), 1, 65535));
    info.Y_density = static_cast<UINT16>(std::clamp(dotsPerInch(rgb.dotsPerMeterY()), 1, 65535));
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

// ---- PNG --------------------------------------------------------------

// The picture as a 1-bit image when it holds at most two colours.
QImage twoColourImage(const QImage& image) {
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width();
    const QRgb first = rgb.constScanLine(0) ? reinterpret_cast<const QRgb*>(rgb.constScanLine(0))[0] : 0;
    QRgb second = first;
    bool hasSecond = false;
    QImage mono(width, rgb.height(), QImage::Format_Mono);
    if (mono.isNull())
        return {};
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = mono.scanLine(y);
        std::memset(out, 0, static_cast<std::size_t>(mono.bytesPerLine()));
        for (int x = 0; x < width; ++x) {
            const QRgb p = in[x];
            if (p == first)
                continue;
            if (!hasSecond) {
                second = p;
                hasSecond = true;
            } else if (p != second) {
                return {};
            }
            out[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
        }
    }
    mono.setColorTable({first | 0xFF000000u, second | 0xFF000000u});
    mono.setDotsPerMeterX(image.dotsPerMeterX());
    mono.setDotsPerMeterY(image.dotsPerMeterY());
    return mono;
}

// ---- files ------------------------------------------------------------

mode_t newFileMode() {
    // Read once: umask can only be read by setting it, which is not safe
    // while other threads create files.
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

[[noreturn]] void fail(const std::string& path, int error) {
    throw ImageWriteError(path, std::strerror(error));
}

// Gives up a temporary file: closed, removed, and the error thrown.
[[noreturn]] void abandonTemp(int fd, const std::string& temp, const std::string& path, int error) {
    if (fd >= 0)
        ::close(fd);
    ::unlink(temp.c_str());
    fail(path, error);
}

}  // namespace

ImageWriteError::ImageWriteError(const std::string& path, std::string reason)
    : std::runtime_error("Cannot create file " + path), m_path(path), m_reason(std::move(reason)) {}

std::string encodeBmp(const QImage& image) {
    requireImage(image);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const std::uint32_t width = static_cast<std::uint32_t>(rgb.width());
    const std::uint32_t height = static_cast<std::uint32_t>(rgb.height());
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;  // rows end on 4-byte boundaries
    const std::uint32_t pixelBytes = rowBytes * height;
    constexpr std::uint32_t headerBytes = 14 + 40;

    std::string out;
    out.reserve(headerBytes + pixelBytes);
    // BITMAPFILEHEADER
    out += "BM";
    putLE32(out, headerBytes + pixelBytes);
    putLE32(out, 0);
    putLE32(out, headerBytes);
    // BITMAPINFOHEADER: bottom-up rows, 24 bits, no compression
    putLE32(out, 40);
    putLE32(out, width);
    putLE32(out, height);
    putLE16(out, 1);
    putLE16(out, 24);
    putLE32(out, 0);
    putLE32(out, pixelBytes);
    putLE32(out, static_cast<std::uint32_t>(std::max(0, rgb.dotsPerMeterX())));
    putLE32(out, static_cast<std::uint32_t>(std::max(0, rgb.dotsPerMeterY())));
    putLE32(out, 0);
    putLE32(out, 0);
    for (int y = static_cast<int>(height) - 1; y >= 0; --y) {
        const uchar* in = rgb.constScanLine(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(in[3 * x + 2]));  // blue, green, red
            out.push_back(static_cast<char>(in[3 * x + 1]));
            out.push_back(static_cast<char>(in[3 * x]));
        }
        out.append(rowBytes - width * 3, '\0');
    }
    return out;
}

std::string encodeJpeg(const QImage& image, int quality) {
    requireImage(image);
    if (quality < 1 || quality > 100)
        throw std::invalid_argument("JPEG quality must be 1 to 100");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool ok = compressJpeg(rgb, quality, &buffer, &size, message);
    std::string out;
    if (ok)
        out.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    if (!ok)
        throw std::runtime_error(std::string("JPEG: ") + message);
    return out;
}

std::string encodePng(const QImage& image, int compression) {
    requireImage(image);
    QImage mono = twoColourImage(image);
    const QImage& source = mono.isNull() ? image : mono;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(compression);
    if (!writer.write(source))
        throw std::runtime_error("PNG: " + writer.errorString().toStdString());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void replaceFile(const std::string& requested, std::string_view bytes, Durability durability) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string path = requested;
    if (fs::is_symlink(path, ec)) {
        const fs::path target = fs::weakly_canonical(path, ec);
        if (ec)
            fail(requested, ec.value());
        path = target.string();
    }
    // Renaming would replace even a read-only file; refuse as a plain
    // write would.
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        fail(requested, EISDIR);
    if (exists && ::access(path.c_str(), W_OK) != 0)
        fail(requested, errno);

    const fs::path target(path);
    const fs::path folder = target.parent_path();
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        fail(requested, errno);
    auto abandon = [&](int error) { abandonTemp(fd, temp, requested, error); };
    if (::fchmod(fd, exists ? (old.st_mode & 07777) : newFileMode()) != 0)
        abandon(errno);
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            abandonTemp(fd, temp, requested, errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (durability == Durability::Flushed && ::fsync(fd) != 0)
        abandon(errno);
    if (::close(fd) != 0)
        abandonTemp(-1, temp, requested, errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        abandonTemp(-1, temp, requested, errno);
    if (durability == Durability::Flushed) {
        // Make the rename itself durable; the new file is in place either way.
        const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
}

void writeBmp(const QImage& image, const std::string& path, Durability durability) {
    replaceFile(path, encodeBmp(image), durability);
}

void writeJpeg(const QImage& image, const std::string& path, int quality, Durability durability) {
    replaceFile(path, encodeJpeg(image, quality), durability);
}

void writePng(const QImage& image, const std::string& path, int compression, Durability durability) {
    replaceFile(path, encodePng(image, compression), durability);
}
