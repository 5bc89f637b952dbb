#include "ImageWriter.h"

#include <QBuffer>
#include <algorithm>
#include <array>
#include <bit>
#include <atomic>
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
#include <zlib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The picture's rows packed one bit a pixel (set where the pixel is not
// the first pixel's colour), the most significant bit first, each row
// preceded by PNG's filter byte 0; false when it holds more than two colours.
struct TwoColours {
    QRgb first = 0;
    QRgb second = 0;
    std::string rows;
};

// Each byte with its bits in reverse order.
constexpr std::array<unsigned char, 256> kReversedBits = [] {
    std::array<unsigned char, 256> table{};
    for (unsigned v = 0; v < 256; ++v) {
        unsigned r = 0;
        for (int i = 0; i < 8; ++i)
            r |= ((v >> i) & 1u) << (7 - i);
        table[v] = static_cast<unsigned char>(r);
    }
    return table;
}();

bool packTwoColours(const QImage& rgb, TwoColours& out) {
    const int width = rgb.width();
    const int height = rgb.height();
    const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
    out.first = reinterpret_cast<const QRgb*>(rgb.constScanLine(0))[0] & 0xFFFFFFu;
    out.second = out.first;
    bool found = false;
    for (int y = 0; y < height && !found; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            if ((in[x] & 0xFFFFFFu) != out.first) {
                out.second = in[x] & 0xFFFFFFu;
                found = true;
                break;
            }
    }
    out.rows.assign((rowBytes + 1) * static_cast<std::size_t>(height), '\0');
    const QRgb first = out.first | 0xFF000000u;  // RGB32 pixels carry alpha FF
    const QRgb second = out.second | 0xFF000000u;
    unsigned stray = 0;
    const std::size_t lineBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int y = 0; y < height; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* row = reinterpret_cast<unsigned char*>(out.rows.data()) + (rowBytes + 1) * static_cast<std::size_t>(y) + 1;
        // The bars make most rows copies of the row above.
        if (y > 0 && std::memcmp(in, rgb.constScanLine(y - 1), lineBytes) == 0) {
            std::memcpy(row, row - (rowBytes + 1), rowBytes);
            continue;
        }
        int x = 0;
#if defined(__SSE2__)
        // Whole bytes four pixels a compare: a mask bit for each pixel of
        // the first colour, and one for each of neither colour.
        {
            const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
            const __m128i firstV = _mm_set1_epi32(static_cast<int>(first));
            const __m128i secondV = _mm_set1_epi32(static_cast<int>(second));
            __m128i known = _mm_set1_epi32(-1);
            for (; x + 8 <= width; x += 8) {
                const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)), alpha);
                const __m128i b = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x + 4)), alpha);
                const __m128i firstA = _mm_cmpeq_epi32(a, firstV);
                const __m128i firstB = _mm_cmpeq_epi32(b, firstV);
                known = _mm_and_si128(known, _mm_or_si128(firstA, _mm_cmpeq_epi32(a, secondV)));
                known = _mm_and_si128(known, _mm_or_si128(firstB, _mm_cmpeq_epi32(b, secondV)));
                const unsigned same = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(firstA))) |
                                      (static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(firstB))) << 4);
                // Mask bit k is pixel k; in the byte pixel 0 is the top bit.
                row[x / 8] = kReversedBits[~same & 0xFFu];
            }
            stray |= _mm_movemask_ps(_mm_castsi128_ps(known)) != 0xF;
        }
#endif
        // Whole bytes (when not done above), in a loop of fixed length the
        // compiler unrolls.
        for (; x + 8 <= width; x += 8) {
            unsigned byte = 0;
            for (int k = 0; k < 8; ++k) {
                const QRgb p = in[x + k] | 0xFF000000u;
                const unsigned other = p != first;
                byte = (byte << 1) | other;
                stray |= other & (p != second);
            }
            row[x / 8] = static_cast<unsigned char>(byte);
        }
        if (x < width) {
            unsigned byte = 0;
            for (int k = 0; x + k < width; ++k) {
                const QRgb p = in[x + k] | 0xFF000000u;
                const unsigned other = p != first;
                byte |= other << (7 - k);
                stray |= other & (p != second);
            }
            row[x / 8] = static_cast<unsigned char>(byte);
        }
    }
    return stray == 0;
}

// zlib's compressor, kept per thread: setting one up costs more than
// packing a small picture.
class Deflater {
public:
    ~Deflater() {
        if (m_level != kNone)
            deflateEnd(&m_stream);
    }
    std::string pack(const std::string& bytes, int level) {
        if (m_level != level) {
            if (m_level != kNone)
                deflateEnd(&m_stream);
            m_stream = z_stream{};
            m_level = kNone;
            // A picture's packed rows are a few kilobytes, mostly repeats
            // of the row above: the smallest hash table (memory level 1)
            // finds them as well as the default one, and clearing it for
            // each picture costs 512 bytes instead of 64 KB.
            if (deflateInit2(&m_stream, level, Z_DEFLATED, 15, 1, Z_DEFAULT_STRATEGY) != Z_OK)
                throw std::runtime_error("PNG: no memory for the compressor");
            m_level = level;
        } else if (deflateReset(&m_stream) != Z_OK) {
            throw std::runtime_error("PNG: the compressor failed");
        }
        std::string out(deflateBound(&m_stream, static_cast<uLong>(bytes.size())), '\0');
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        m_stream.avail_in = static_cast<uInt>(bytes.size());
        m_stream.next_out = reinterpret_cast<Bytef*>(out.data());
        m_stream.avail_out = static_cast<uInt>(out.size());
        if (deflate(&m_stream, Z_FINISH) != Z_STREAM_END)
            throw std::runtime_error("PNG: the pixels could not be compressed");
        out.resize(m_stream.total_out);
        return out;
    }

private:
    static constexpr int kNone = -100;
    z_stream m_stream{};
    int m_level = kNone;
};

std::string deflateBytes(const std::string& bytes, int level) {
    thread_local Deflater deflater;
    return deflater.pack(bytes, level);
}

void putBE32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

// The fastest level for a 1-bit picture: a zlib stream of one block with
// the fixed Huffman codes (RFC 1950, 1951), matched against just two
// places, the byte before and the byte a row above.  Bars make most rows
// repeats of the row above and the rest runs of one byte, so this finds
// nearly what a full search would, in one pass with no tables to set up.
class BitWriter {
public:
    explicit BitWriter(std::string& out) : m_out(out) {}
    // Writes the `count` low bits of `bits`, least significant first.
    void put(std::uint32_t bits, int count) {
        m_buffer |= static_cast<std::uint64_t>(bits) << m_count;
        m_count += count;
        while (m_count >= 8) {
            m_out.push_back(static_cast<char>(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    void flush() {
        if (m_count > 0)
            m_out.push_back(static_cast<char>(m_buffer & 0xFF));
        m_buffer = 0;
        m_count = 0;
    }

private:
    std::string& m_out;
    std::uint64_t m_buffer = 0;
    int m_count = 0;
};

// A Huffman code goes most significant bit first: its bits reversed for
// BitWriter::put.
constexpr std::uint32_t reversed(std::uint32_t code, int length) {
    std::uint32_t out = 0;
    for (int i = 0; i < length; ++i)
        out |= ((code >> i) & 1u) << (length - 1 - i);
    return out;
}

struct FixedCode {
    std::uint16_t bits;
    std::uint8_t length;
};

// The fixed code of each literal/length symbol (0 to 287).
constexpr std::array<FixedCode, 288> kFixedCodes = [] {
    std::array<FixedCode, 288> codes{};
    for (unsigned symbol = 0; symbol < 288; ++symbol) {
        if (symbol < 144)
            codes[symbol] = {static_cast<std::uint16_t>(reversed(0x30 + symbol, 8)), 8};
        else if (symbol < 256)
            codes[symbol] = {static_cast<std::uint16_t>(reversed(0x190 + (symbol - 144), 9)), 9};
        else if (symbol < 280)
            codes[symbol] = {static_cast<std::uint16_t>(reversed(symbol - 256, 7)), 7};
        else
            codes[symbol] = {static_cast<std::uint16_t>(reversed(0xC0 + (symbol - 280), 8)), 8};
    }
    return codes;
}();

void putFixedSymbol(BitWriter& bits, unsigned symbol) {
    bits.put(kFixedCodes[symbol].bits, kFixedCodes[symbol].length);
}

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,    65,    97,    129,
                                             193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kMaxDistance = 32768;

// A match of 3 to 258 bytes at distance 1 to 32768.
void putMatch(BitWriter& bits, std::size_t length, std::size_t distance) {
    int l = 28;
    while (kLengthBase[l] > length)
        --l;
    putFixedSymbol(bits, 257 + static_cast<unsigned>(l));
    bits.put(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance)
        --d;
    bits.put(reversed(static_cast<std::uint32_t>(d), 5), 5);
    bits.put(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

std::size_t matchLength(const unsigned char* data, std::size_t at, std::size_t size, std::size_t distance) {
    const std::size_t limit = std::min(kMaxMatch, size - at);
    std::size_t n = 0;
    // Eight bytes a step; the first differing byte is the lowest set one
    // of the difference on a little-endian machine.
    if constexpr (std::endian::native == std::endian::little) {
        while (n + 8 <= limit) {
            std::uint64_t a, b;
            std::memcpy(&a, data + at + n, 8);
            std::memcpy(&b, data + at + n - distance, 8);
            if (a != b)
                return n + static_cast<std::size_t>(std::countr_zero(a ^ b)) / 8;
            n += 8;
        }
    }
    while (n < limit && data[at + n] == data[at + n - distance])
        ++n;
    return n;
}

std::string deflateRows(const std::string& bytes, std::size_t rowStride) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    std::string out;
    out.reserve(64 + size / 8);
    out.push_back('\x78');  // deflate, 32 KB window
    out.push_back('\x01');  // fastest; header check (0x7801 % 31 == 0)
    BitWriter bits(out);
    bits.put(1, 1);  // the final block
    bits.put(1, 2);  // fixed Huffman codes
    const bool rowsReachable = rowStride >= 1 && rowStride <= kMaxDistance;
    std::size_t at = 0;
    while (at < size) {
        std::size_t length = 0;
        std::size_t distance = 0;
        if (rowsReachable && at >= rowStride) {
            length = matchLength(data, at, size, rowStride);
            distance = rowStride;
        }
        if (length < kMaxMatch && at >= 1) {
            const std::size_t run = matchLength(data, at, size, 1);
            if (run > length) {
                length = run;
                distance = 1;
            }
        }
        if (length >= kMinMatch) {
            putMatch(bits, length, distance);
            at += length;
        } else {
            putFixedSymbol(bits, data[at]);
            ++at;
        }
    }
    putFixedSymbol(bits, 256);  // end of block
    bits.flush();
    putBE32(out, static_cast<std::uint32_t>(adler32(1, data, static_cast<uInt>(size))));
    return out;
}


void putChunk(std::string& out, const char* type, const std::string& data) {
    putBE32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
    putBE32(out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

// A 1-bit indexed PNG (ISO/IEC 15948): IHDR, PLTE, pHYs, one IDAT, IEND.
std::string twoColourPng(const QImage& image, const TwoColours& pixels, int compression) {
    std::string header;
    putBE32(header, static_cast<std::uint32_t>(image.width()));
    putBE32(header, static_cast<std::uint32_t>(image.height()));
    header += std::string("\x01\x03\x00\x00\x00", 5);  // depth 1, palette, deflate, filter 0, no interlace
    std::string palette;
    for (QRgb c : {pixels.first, pixels.second}) {
        palette.push_back(static_cast<char>(qRed(c)));
        palette.push_back(static_cast<char>(qGreen(c)));
        palette.push_back(static_cast<char>(qBlue(c)));
    }
    std::string density;
    putBE32(density, static_cast<std::uint32_t>(std::max(0, image.dotsPerMeterX())));
    putBE32(density, static_cast<std::uint32_t>(std::max(0, image.dotsPerMeterY())));
    density.push_back('\x01');  // per metre
    const std::size_t rowStride = (static_cast<std::size_t>(image.width()) + 7) / 8 + 1;
    const std::string packed =
        compression == 1 ? deflateRows(pixels.rows, rowStride)
                         : deflateBytes(pixels.rows, compression < 0 ? Z_DEFAULT_COMPRESSION : std::min(compression, 9));

    std::string out("\x89PNG\r\n\x1a\n", 8);
    putChunk(out, "IHDR", header);
    putChunk(out, "PLTE", palette);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        putChunk(out, "pHYs", density);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

// ---- files ------------------------------------------------------------

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
    const QImage rgb = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    TwoColours pixels;
    if (packTwoColours(rgb, pixels))
        return twoColourPng(rgb, pixels, compression);
    const QImage& source = image;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(compression);
    if (!writer.write(source))
        throw std::runtime_error("PNG: " + writer.errorString().toStdString());
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A new file under a name that does not exist yet: written as an unnamed
// file in the folder and given its name only when complete.  One directory
// entry is made instead of a temporary one renamed.  Returns false, having
// made nothing, when the name exists or the file system cannot do it; the
// caller then takes the general way.
bool createComplete(const std::string& path, std::string_view bytes, Durability durability) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool done = writeAll(fd, bytes) && (durability == Durability::Unflushed || ::fsync(fd) == 0);
    if (done) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        done = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
    }
    ::close(fd);  // an unnamed file that was not linked vanishes here
    return done;
}

}  // namespace

void replaceFile(const std::string& requested, std::string_view bytes, Durability durability) {
    namespace fs = std::filesystem;
    if (createComplete(requested, bytes, durability))
        return;
    std::string path = requested;
    struct stat old {};
    bool exists = ::lstat(path.c_str(), &old) == 0;
    if (exists && S_ISLNK(old.st_mode)) {
        std::error_code ec;
        const fs::path target = fs::weakly_canonical(path, ec);
        if (ec)
            fail(requested, ec.value());
        path = target.string();
        exists = ::stat(path.c_str(), &old) == 0;
    }
    // Renaming would replace even a read-only file; refuse as a plain
    // write would.
    if (exists && !S_ISREG(old.st_mode))
        fail(requested, EISDIR);
    if (exists && ::access(path.c_str(), W_OK) != 0)
        fail(requested, errno);

    // The temporary name is unique within the process (a counter) and
    // between processes (the process id); O_EXCL never takes over a file.
    static std::atomic<unsigned long> counter{0};
    const fs::path target(path);
    const std::string stem =
        (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + ".")).string();
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = stem + std::to_string(counter++);
        // A new file gets 0666 less the umask, as any new file does.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        fail(requested, errno);
    if (exists && ::fchmod(fd, old.st_mode & 07777) != 0)
        abandonTemp(fd, temp, requested, errno);
    if (!writeAll(fd, bytes))
        abandonTemp(fd, temp, requested, errno);
    if (durability == Durability::Flushed && ::fsync(fd) != 0)
        abandonTemp(fd, temp, requested, errno);
    if (::close(fd) != 0)
        abandonTemp(-1, temp, requested, errno);
    if (::rename(temp.c_str(), path.c_str()) != 0)
        abandonTemp(-1, temp, requested, errno);
    if (durability == Durability::Flushed) {
        // Make the rename itself durable; the new file is in place either way.
        const fs::path folder = target.parent_path();
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
