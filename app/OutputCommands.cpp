// The main window's output commands: print, copy to the clipboard, save to
// a file.  Save and Print take the picture of the last successful preview;
// Copy composes it anew first.  A start whose first preview was refused has
// no picture at all, and the commands say so rather than hand on nothing.

#include "BarCodeForm.h"

#include <exception>

#include "ImageWriter.h"
#include "PrintPreviewForm.h"

namespace {

// The output commands' own texts.
constexpr const char* CannotOpenClipboard = "Cannot open clipboard";
constexpr const char* NoPictureToSave = "There is no picture to save yet. Press Preview first.";
constexpr const char* NoPictureToCopy = "There is no picture to copy yet. Correct the value and try again.";
constexpr const char* NoPictureToPrint = "There is no picture to print yet. Press Preview first.";

constexpr int JpegQuality = 90;
// Where the picture's top-left corner goes on the printed page.
constexpr double PrintLeftMM = 100.0;
constexpr double PrintTopMM = 100.0;

enum class FileKind { Bitmap, Jpeg, None };

// The format is decided by the last four characters of the name alone,
// in any case, whichever filter the dialog had selected.
FileKind fileKindOf(const std::string& name) {
    if (name.size() < 4) return FileKind::None;
    std::string ending = name.substr(name.size() - 4);
    for (char& c : ending)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (ending == ".BMP") return FileKind::Bitmap;
    if (ending == ".JPG") return FileKind::Jpeg;
    return FileKind::None;
}

}  // namespace

void TBarCodeForm::printButtonClick() {
    if (Picture().isNull()) {
        desktop_.showMessage(NoPictureToPrint);
        return;
    }
    TPrintPreviewForm preview(desktop_, this);
    preview.GmPreview1->GetCanvas()->Draw(PrintLeftMM, PrintTopMM, Picture(), 1.0, gmMillimeters);
    desktop_.execModal(preview);
}

void TBarCodeForm::copyButtonClick() {
    // The clipboard gets the last good picture even when this preview is
    // refused.
    previewButtonClick();
    if (Picture().isNull()) {
        desktop_.showMessage(NoPictureToCopy);
        return;
    }
    if (!desktop_.copyImageToClipboard(Picture())) desktop_.showError(CannotOpenClipboard);
}

void TBarCodeForm::saveButtonClick() {
    // Asking for a name first would only lead to an empty or broken file.
    if (Picture().isNull()) {
        desktop_.showMessage(NoPictureToSave);
        return;
    }
    const std::optional<std::string> name = desktop_.chooseSaveFile(SaveDialog1);
    if (!name) return;
    try {
        switch (fileKindOf(*name)) {
        case FileKind::Bitmap: writeBmp(Picture(), *name); break;
        case FileKind::Jpeg: writeJpeg(Picture(), *name, JpegQuality); break;
        case FileKind::None: break;
        }
    } catch (const std::exception& error) {
        // ImageWriteError reads "Cannot create file NAME"; the old file, if
        // any, is left as it was.
        desktop_.showError(error.what());
    }
}
