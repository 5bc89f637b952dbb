#pragma once
// The picture file writers shared by the main window's Save command and the
// command-line tool: 24-bit Windows bitmap, baseline JPEG through libjpeg,
// and PNG through Qt.
//
// A file is never left half-written: the bytes go to a temporary file in
// the target's folder, which is renamed over the target only when complete.
// An existing target is replaced only by a complete new file; when anything
// fails it is left as it was and no temporary file stays behind.
//
// The resolution recorded in a file is the image's own (QImage dots per
// metre), so a picture made for 300 dpi says so to the program that opens it.

#include <QImage>
#include <stdexcept>
#include <string>
#include <string_view>

// A picture that could not be written.  what() is "Cannot create file PATH",
// the text the main window shows; reason() says why, for a command line.
class ImageWriteError : public std::runtime_error {
public:
    ImageWriteError(const std::string& path, std::string reason);
    const std::string& path() const { return m_path; }
    const std::string& reason() const { return m_reason; }

private:
    std::string m_path;
    std::string m_reason;
};

// Whether the new file is flushed to the disk before it replaces the old one.
// The window saves one file and wants it durable; a batch of thousands of
// files gives that up for speed (a crash may then lose the newest files, but
// never leaves a half-written one under a target's name).
enum class Durability { Flushed, Unflushed };

// The encoders: the whole file's bytes.  A null image cannot be encoded and
// throws std::invalid_argument.
std::string encodeBmp(const QImage& image);
// Baseline, 3 components (YCbCr), libjpeg's standard tables scaled to
// `quality` (1 to 100).
std::string encodeJpeg(const QImage& image, int quality = 90);
// zlib level 0 to 9; -1 is zlib's default.  A picture of at most two colours
// is written as a 1-bit indexed PNG (the same pixels in a fraction of the
// bytes), any other as 8-bit RGB.  Level 1, the fastest, compresses a 1-bit
// picture with the writer's own single pass (repeats of the row above and
// runs of one byte), which suits bars; the other levels use zlib.
std::string encodePng(const QImage& image, int compression = -1);

// Encode and replace `path`; throw ImageWriteError when the file cannot be
// created or written.
void writeBmp(const QImage& image, const std::string& path, Durability durability = Durability::Flushed);
void writeJpeg(const QImage& image, const std::string& path, int quality = 90,
               Durability durability = Durability::Flushed);
void writePng(const QImage& image, const std::string& path, int compression = -1,
              Durability durability = Durability::Flushed);

// Replaces `path` with `bytes` through a temporary file in the same folder.
// A symbolic link is followed; a read-only target or one that is not a
// regular file is refused.  Throws ImageWriteError.
void replaceFile(const std::string& path, std::string_view bytes, Durability durability = Durability::Flushed);
