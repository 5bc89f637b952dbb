// Hostile inputs through the real main window, headless with a scripted
// desktop: each row names what the user sees and checks, byte for byte,
// what is on disk afterwards.  Every row runs in its own empty current
// folder with its own language file.

#include <gtest/gtest.h>

#include <QPushButton>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BarCodeForm.h"
#include "FakeDesktop.h"
#include "FormTestSupport.h"
#include "QtTestApplication.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* SettingsFile = "HalvexBarcode.cfg";
const std::string HeightRangeMessage = "The 'Barcode Height' must be a whole number of millimetres from 1 to 11578.";

std::string readAll(const fs::path& path) { return readFile(path); }

using formtest::designLogFont;
using formtest::recordBytes;
using formtest::settingsFile;

// What a first run leaves when nothing is typed.
const std::string DesignFile = settingsFile(0, 20, "12345678", true);

class HostileTest : public formtest::WindowTest {
protected:

    // Opens the window, lets `act` type into it, closes it as the user
    // does; About must appear exactly once.
    template <typename Act>
    void session(FakeDesktop& local, Act act) {
        {
            TBarCodeForm form(local);
            form.show();
            act(form);
            form.close();
        }
        EXPECT_EQ(local.modalWindows, std::vector<QString>{"AboutForm"});
    }
    void session(FakeDesktop& local) {
        session(local, [](TBarCodeForm&) {});
    }
};

// --- Heights -----------------------------------------------------------------

TEST_F(HostileTest, HeightsAreAnsweredAndTheLastGoodHeightIsKept) {
    struct Row {
        const char* typed;
        std::string message;     // from the preview, through showMessage
        std::string error;       // from the preview and from the close, through showError
        std::int32_t storedMM;   // HeightMM in the file after the close
        const char* why;
    } rows[] = {
        {"", "", "'' is not a valid integer value", 20, "no number at all: the last valid height stays"},
        {"abc", "", "'abc' is not a valid integer value", 20, "letters: the integer conversion fails"},
        {"0", HeightRangeMessage, "", 0, "an integer, so kept as typed, but no bars can be drawn"},
        {"-1", HeightRangeMessage, "", -1, "negative bars"},
        {"2147483647", HeightRangeMessage, "", 2147483647, "the largest 32-bit integer; 2.83 times it overflows"},
        {"99999999999", "", "'99999999999' is not a valid integer value", 20, "past the 32-bit range"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FakeDesktop local;
        TempDir folder;
        fs::current_path(folder.path());
        QImage before;
        session(local, [&](TBarCodeForm& form) {
            before = form.Picture();
            form.setHeightText(row.typed);
            form.previewButtonClick();
            EXPECT_EQ(form.Picture(), before);
            EXPECT_EQ(form.Barcode().Height(), 56);   // 20 mm times 2.83, truncated
        });
        EXPECT_EQ(local.messages, row.message.empty() ? std::vector<std::string>{}
                                                      : std::vector<std::string>{row.message});
        const std::vector<std::string> twice{row.error, row.error};   // the preview's, then the close's
        EXPECT_EQ(local.errors, row.error.empty() ? std::vector<std::string>{} : twice);
        EXPECT_EQ(readAll(folder / SettingsFile), settingsFile(0, row.storedMM, "12345678", true));
        fs::current_path(dir.path());
    }
}

// --- Values ------------------------------------------------------------------

std::string controlCharacters() {
    std::string s = "A";
    for (int c = 1; c < 32; ++c) s += char(c);
    return s + char(127) + "Z";
}

std::string highBytes() {
    std::string s;
    for (int c = 128; c < 256; ++c) s += char(c);
    return s;
}

TEST_F(HostileTest, ValuesAreAnsweredAndTheirFirst80BytesAreKept) {
    struct Row {
        int typeIndex;
        std::string typed;
        std::vector<std::string> messages;
        std::vector<std::string> errors;
        const char* why;
    } rows[] = {
        {0, std::string(10000, 'A'), {}, {}, "Code 128B: 10,000 symbols still make a picture"},
        {2, std::string(10000, 'A'), {}, {}, "Code 39: the same"},
        {0, controlCharacters(), {}, {}, "control characters: drawn without complaint"},
        {2, controlCharacters(), {}, {}, "the same for Code 39"},
        {0, highBytes(), {}, {}, "bytes 128 to 255: drawn without complaint"},
        {5, highBytes(), {"The 'Barcode Value' must be numeric for EAN13 format."}, {}, "EAN13 takes digits only; the value is emptied"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        FakeDesktop local;
        TempDir folder;
        fs::current_path(folder.path());
        session(local, [&](TBarCodeForm& form) {
            const QImage before = form.Picture();
            form.setTypeIndex(row.typeIndex);
            form.setValueText(row.typed);
            form.previewButtonClick();
            if (row.messages.empty()) EXPECT_NE(form.Picture(), before);   // a new picture
            else EXPECT_EQ(form.Picture(), before);
        });
        EXPECT_EQ(local.messages, row.messages);
        EXPECT_EQ(local.errors, row.errors);
        const std::string stored = row.messages.empty() ? row.typed.substr(0, 80) : "";
        EXPECT_EQ(readAll(folder / SettingsFile), settingsFile(std::int16_t(row.typeIndex), 20, stored, true));
        fs::current_path(dir.path());
    }
}

// --- The settings file ----------------------------------------------------

// A whole file whose content comes back unchanged through a start and a close:
// Code 93 (upper-case value), 33 mm, value hidden, two lines, reserved bytes set.
std::string fullFile() {
    std::string f = settingsFile(3, 33, "HOSTILE", false, "LINE ONE", "LINE TWO");
    f[2] = char(0xA5);
    f[150] = char(0x5A);
    return f;
}

TEST_F(HostileTest, ATruncatedSettingsFileKeepsWhatItHad) {
    const std::string full = fullFile();
    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE("file cut to " + std::to_string(length) + " bytes");
        const std::string cut = full.substr(0, length);
        writeFile(dir / SettingsFile, cut);
        FakeDesktop local;
        session(local);
        // A cut inside the height leaves it 0 or a part of 33: the start's
        // preview asks for a height from 1 up.
        const bool heightWhole = length >= 5;
        EXPECT_EQ(local.messages, heightWhole ? std::vector<std::string>{}
                                              : std::vector<std::string>{HeightRangeMessage});
        EXPECT_TRUE(local.errors.empty());
        const std::string after = readAll(dir / SettingsFile);
        ASSERT_EQ(after.size(), full.size());
        EXPECT_EQ(after.substr(0, std::min<std::size_t>(length, 360)), cut.substr(0, std::min<std::size_t>(length, 360)));
        if (length == full.size()) {
            EXPECT_EQ(after, full);
        }
    }
}

TEST_F(HostileTest, OddSettingsFilesAreReadWithoutHarm) {
    struct Row {
        const char* why;
        std::function<void(const fs::path&)> make;     // puts the odd thing at the settings path
        std::vector<std::string> messages;             // at the start
        std::function<void(const fs::path&)> after;    // checks the path after the close
    } rows[] = {
        {"1 MB: the first 540 bytes count, the rest goes at the next save",
         [](const fs::path& p) { writeFile(p, fullFile() + std::string(1 << 20, 'x')); }, {},
         [](const fs::path& p) { EXPECT_EQ(readAll(p), fullFile()); }},
        {"a folder in the file's place is neither read nor replaced",
         [](const fs::path& p) { fs::create_directory(p); }, {},
         [](const fs::path& p) { EXPECT_TRUE(fs::is_directory(p)); }},
        {"a pipe is neither read nor replaced (as root no permission bit stops a read; a FIFO with no writer would block)",
         [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, {},
         [](const fs::path& p) { EXPECT_TRUE(fs::is_fifo(p)); }},   // not a file to replace
        {"TypeIndex 9, one past the list",
         [](const fs::path& p) { writeFile(p, settingsFile(9, 20, "12345678", true)); }, {},
         [](const fs::path& p) { EXPECT_EQ(readAll(p), settingsFile(-1, 20, "12345678", true)); }},
        {"TypeIndex -2",
         [](const fs::path& p) { writeFile(p, settingsFile(-2, 20, "12345678", true)); }, {},
         [](const fs::path& p) { EXPECT_EQ(readAll(p), settingsFile(-1, 20, "12345678", true)); }},
        {"TypeIndex 32767",
         [](const fs::path& p) { writeFile(p, settingsFile(32767, 20, "12345678", true)); }, {},
         [](const fs::path& p) { EXPECT_EQ(readAll(p), settingsFile(-1, 20, "12345678", true)); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        TempDir folder;
        fs::current_path(folder.path());
        row.make(folder / SettingsFile);
        FakeDesktop local;
        session(local);
        EXPECT_EQ(local.messages, row.messages);
        EXPECT_TRUE(local.errors.empty());
        row.after(folder / SettingsFile);
        fs::current_path(dir.path());
    }
}

// --- The language file ----------------------------------------------------

TEST_F(HostileTest, OddLanguageFilesAreReadAndKept) {
    const std::string longCaption(100000, 'W');
    struct Row {
        const char* why;
        std::string file;
        QString exitCaption;       // what the Exit button shows
        std::string keptAfter;     // a piece of the file that must still be there after the close
    } rows[] = {
        {"a caption of 100,000 characters", "[BarCodeForm]\nexitButton=" + longCaption + "\n",
         QString::fromStdString(longCaption), "exitButton=" + longCaption + "\n"},
        {"a key twice: the last one counts", "[BarCodeForm]\nexitButton=First\nexitButton=Second\n",
         "Second", "exitButton=Second"},
        {"binary junk, NULs and all", std::string("\x00\xff\xfe[\x01\x02=\x80\n\x00junk=\xc3\x28\n", 17), "&Exit",
         "[BarCodeForm]"},   // junk before any section is not kept
        {"no newline at the end", "[BarCodeForm]\nexitButton=Quit", "Quit", "exitButton=Quit"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        writeFile(languageFile, row.file);
        FakeDesktop local;
        session(local, [&](TBarCodeForm& form) { EXPECT_EQ(form.exitButton->text(), row.exitCaption); });
        EXPECT_TRUE(local.messages.empty());
        EXPECT_TRUE(local.errors.empty());
        const std::string after = readAll(languageFile);
        EXPECT_NE(after.find(row.keptAfter), std::string::npos);
        EXPECT_NE(after.find("[AboutForm]"), std::string::npos);
    }
}

// --- Files that cannot be written at the close --------------------------------

// The row runs as the unprivileged user when the tests run as root, since
// root writes into a folder whatever its permission bits say: the test
// program starts itself again under setpriv for this one test.
bool runAsNobody(const char* testName) {
    if (::geteuid() != 0 || std::getenv("HALVEX_AS_NOBODY")) return false;
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    // From a folder the unprivileged user may enter: this row's folder is root's.
    const std::string command = "cd / && HALVEX_AS_NOBODY=1 setpriv --reuid=65534 --regid=65534 --clear-groups '" + self +
                                "' --gtest_filter=HostileTest." + testName + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
    return true;
}

TEST_F(HostileTest, AReadOnlyCurrentFolderAtCloseLosesNothingAndStillShowsAbout) {
    if (runAsNobody("AReadOnlyCurrentFolderAtCloseLosesNothingAndStillShowsAbout")) return;
    const std::string old = settingsFile(2, 9, "KEEP", true);
    writeFile(dir / SettingsFile, old);
    TBarCodeForm form(desktop);
    form.show();
    form.setValueText("LOST");
    fs::permissions(dir.path(), fs::perms(0555));
    form.close();
    fs::permissions(dir.path(), fs::perms(0755));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_EQ(desktop.modalWindows, std::vector<QString>{"AboutForm"});
    EXPECT_EQ(readAll(dir / SettingsFile), old);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string>{SettingsFile});   // no language file, no leftovers
}

TEST_F(HostileTest, AFullDiskAtCloseLeavesTheOldFilesWhole) {
    // A file size limit makes every write past it fail as a full disk
    // does (EFBIG instead of ENOSPC), for root as for anyone.
    const std::string old = settingsFile(2, 9, "KEEP", true);
    writeFile(dir / SettingsFile, old);
    const std::string oldLanguage = "[BarCodeForm]\nexitButton=Quit\n";
    writeFile(languageFile, oldLanguage);
    auto form = std::make_unique<TBarCodeForm>(desktop);
    form->show();
    form->setValueText("LOST");
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = before;
    tiny.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    form->close();
    form.reset();   // the window writes its captions as it goes
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(readAll(languageFile), oldLanguage);
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_TRUE(desktop.errors.empty());
    EXPECT_EQ(desktop.modalWindows, std::vector<QString>{"AboutForm"});
    EXPECT_EQ(readAll(dir / SettingsFile), old);
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"HalvexBarcode.INI", SettingsFile}));   // no half-written leftovers
}

}  // namespace
