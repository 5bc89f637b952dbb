// Caption localization: a window takes its captions from the language file
// when built and writes them back when destroyed.  The test window has the
// controls of the print preview window, created in its design order.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../support/QtTestApplication.h"
#include "../support/TempDir.h"
#include "TLForm.h"

namespace fs = std::filesystem;

namespace {

// The print preview window's controls, created in the order of its design:
// the top bar, its labels and edits, the zoom and navigation buttons, the
// right-hand block with Close and Print, the status bar and the preview.
class PrintPreviewTestForm : public TLForm {
public:
    explicit PrintPreviewTestForm(QWidget* owner = nullptr) : TLForm(owner, "PrintPreviewForm") {
        setWindowTitle("Print Form");
        auto panel3 = addComponent<QFrame>("Panel3", this);
        Label11 = addComponent<QLabel>("Label11", "Printer:", panel3);
        printer = addComponent<QComboBox>("printer", panel3);
        printer->addItem("Default Printer");
        Label1 = addComponent<QLabel>("Label1", "Print Page From:", panel3);
        fromPage = addComponent<QLineEdit>("fromPage", "1", panel3);
        Label2 = addComponent<QLabel>("Label2", "To", panel3);
        toPage = addComponent<QLineEdit>("toPage", "1", panel3);
        zoomOut = addComponent<QPushButton>("zoomOut", "Zoon out", panel3);
        zoomIn = addComponent<QPushButton>("zoomIn", "Zoon In", panel3);
        uFirst = addComponent<QToolButton>("uFirst", panel3);
        uFirst->setText("&First");
        uPrevious = addComponent<QToolButton>("uPrevious", panel3);
        uPrevious->setText("Pre&v");
        uNext = addComponent<QToolButton>("uNext", panel3);
        uNext->setText("&Next");
        uLast = addComponent<QToolButton>("uLast", panel3);
        uLast->setText("&Last");
        auto panel1 = addComponent<QFrame>("Panel1", panel3);
        Button1 = addComponent<QPushButton>("Button1", "&Close", panel1);
        printButton = addComponent<QPushButton>("printButton", "&Print", panel1);
        StatusBar1 = addComponent<QStatusBar>("StatusBar1", this);
        // Panels of the status bar belong to it, not to the window.
        statusPanel = new QLabel("Total 30 Page", StatusBar1);
        statusPanel->setObjectName("Panel0");
        StatusBar1->addWidget(statusPanel);
        addComponent<QWidget>("GmPreview1", this);
        LoadCaptions();
    }

    QLabel *Label11, *Label1, *Label2, *statusPanel;
    QComboBox* printer;
    QLineEdit *fromPage, *toPage;
    QPushButton *zoomOut, *zoomIn, *Button1, *printButton;
    QToolButton *uFirst, *uPrevious, *uNext, *uLast;
    QStatusBar* StatusBar1;
};

using Keys = std::vector<std::pair<std::string, std::string>>;
struct Section {
    std::string name;
    Keys keys;
    bool operator==(const Section&) const = default;
};

// A plain reading of INI text, to check what was written without the
// library that wrote it: "[name]" starts a section, "key=value" adds a key,
// ";" lines and blank lines are skipped.
std::vector<Section> parseIni(const std::string& text) {
    std::vector<Section> sections;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            sections.push_back({line.substr(1, line.find(']') - 1), {}});
        } else if (!sections.empty()) {
            std::size_t eq = line.find('=');
            sections.back().keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return sections;
}

void PrintTo(const Section& s, std::ostream* os) {
    *os << "[" << s.name << "]";
    for (auto& [key, value] : s.keys) *os << " " << key << "=" << value << ";";
}

// The keys a first run writes for the print preview window, in walk order,
// with the designed captions.
const Keys DesignedKeys = {
    {"Caption", "Print Form"}, {"Label11", "Printer:"}, {"Label1", "Print Page From:"},
    {"Label2", "To"},          {"zoomOut", "Zoon out"}, {"zoomIn", "Zoon In"},
    {"uFirst", "&First"},      {"uPrevious", "Pre&v"},  {"uNext", "&Next"},
    {"uLast", "&Last"},        {"Button1", "&Close"},   {"printButton", "&Print"},
};

class CaptionTest : public ::testing::Test {
protected:
    TempDir dir;
    fs::path languageFile = dir / "HalvexBarcode.INI";

    void SetUp() override { TLForm::setLanguageFilePath(languageFile); }
    void TearDown() override { TLForm::setLanguageFilePath({}); }
};

}  // namespace

TEST_F(CaptionTest, FirstRunKeepsTheDesignAndWritesEveryCaption) {
    {
        PrintPreviewTestForm form;
        EXPECT_EQ(form.windowTitle(), "Print Form");
        EXPECT_EQ(form.uFirst->text(), "&First");
    }
    std::vector<Section> written = parseIni(readFile(languageFile));
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], (Section{"PrintPreviewForm", DesignedKeys}));
}

TEST_F(CaptionTest, TheFileReplacesCaptionsOnlyWhereItHasAKeyOfTheWindowsSection) {
    writeFile(languageFile,
              "; notes for translators\n"
              "[Glossary]\n"
              "First=Erste\n"
              "\n"
              "[PrintPreviewForm]\n"
              "uLast=Letzte\n"
              "fromPage=XYZ\n"
              "StatusBar1=Status\n"
              "Panel0=Gesamt\n"
              "uFirst=\n"
              "Caption=Druckvorschau\n"
              "zoomIn=Vergr\xF6\xDF" "ern\n"
              "\n"
              "[BarCodeForm]\n"
              "uNext=Other\n");
    {
        PrintPreviewTestForm form;
        EXPECT_EQ(form.windowTitle(), "Druckvorschau");
        EXPECT_EQ(form.uLast->text(), "Letzte");
        EXPECT_EQ(form.uFirst->text(), "");                       // present but empty: blanked
        EXPECT_EQ(form.zoomIn->text(), QString::fromUtf8("Vergrößern"));   // Latin-1 bytes
        EXPECT_EQ(form.uNext->text(), "&Next");                   // key of another window
        EXPECT_EQ(form.fromPage->text(), "1");                    // an edit has no caption
        EXPECT_EQ(form.statusPanel->text(), "Total 30 Page");     // owned by the status bar
        form.Button1->setText(QString::fromLatin1("Schlie&\xDF" "en"));   // changed while open: written as changed
    }
    std::vector<Section> written = parseIni(readFile(languageFile));
    const std::vector<Section> expected = {
        {"Glossary", {{"First", "Erste"}}},
        {"PrintPreviewForm",
         {{"uLast", "Letzte"},
          {"fromPage", "XYZ"},
          {"StatusBar1", "Status"},
          {"Panel0", "Gesamt"},
          {"uFirst", ""},
          {"Caption", "Druckvorschau"},
          {"zoomIn", "Vergr\xF6\xDF" "ern"},
          // New keys follow in the order of the walk.
          {"Label11", "Printer:"},
          {"Label1", "Print Page From:"},
          {"Label2", "To"},
          {"zoomOut", "Zoon out"},
          {"uPrevious", "Pre&v"},
          {"uNext", "&Next"},
          {"Button1", "Schlie&\xDF" "en"},
          {"printButton", "&Print"}}},
        {"BarCodeForm", {{"uNext", "Other"}}},
    };
    EXPECT_EQ(written, expected);
    EXPECT_NE(readFile(languageFile).find("; notes for translators"), std::string::npos);

    // And the blanked caption is still blank the next time.
    PrintPreviewTestForm again;
    EXPECT_EQ(again.uFirst->text(), "");
    EXPECT_EQ(again.Button1->text(), QString::fromLatin1("Schlie&\xDF" "en"));
}

TEST_F(CaptionTest, CaptionsWithLineBreaksAndEdgeBlanksComeBackWhole) {
    const QString multiLine = "Print Page\nFrom:";
    const QString blanks = "  To ";
    {
        PrintPreviewTestForm form;
        form.Label1->setText(multiLine);
        form.Label2->setText(blanks);
    }
    PrintPreviewTestForm again;
    EXPECT_EQ(again.Label1->text(), multiLine);
    EXPECT_EQ(again.Label2->text(), blanks);
    EXPECT_EQ(again.Label11->text(), "Printer:");   // the next key is not swallowed
}

TEST_F(CaptionTest, OnlyLabelsAndButtonsOfTheWindowQualify) {
    class Kinds : public TLForm {
    public:
        Kinds() : TLForm(nullptr, "Kinds") {
            class LinkLabel : public QLabel {
            public:
                using QLabel::QLabel;
            };
            addComponent<QLabel>("label", "l", this);
            addComponent<LinkLabel>("link", "<a href=\"x\">x</a>", this);
            addComponent<QPushButton>("push", "p", this);
            addComponent<QToolButton>("glyph", this);
            addComponent<QCheckBox>("check", "c", this);
            addComponent<QLineEdit>("edit", "e", this);
            addComponent<QComboBox>("combo", this);
            addComponent<QSpinBox>("spin", this);
            addComponent<QFrame>("panel", this);
            addComponent<QStatusBar>("status", this);
            addComponent<QObject>("nonVisual");
            addComponent<QLabel>("", "unnamed", this);
        }
    };
    QPointer<QObject> nonVisual;
    {
        Kinds form;
        nonVisual = form.Components(10);
        ASSERT_EQ(nonVisual->objectName(), "nonVisual");
        EXPECT_EQ(nonVisual->parent(), &form);   // owned by the window
    }
    EXPECT_TRUE(nonVisual.isNull());
    std::vector<Section> written = parseIni(readFile(languageFile));
    ASSERT_EQ(written.size(), 1u);
    std::vector<std::string> keys;
    for (auto& [key, value] : written[0].keys) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Caption", "label", "link", "push", "glyph", "check"}));
}

TEST_F(CaptionTest, AnUnwritableFileNeverStopsTheWindowAndLosesNothing) {
    const std::string hand = "[Mine]\nkeep=this\n";
    fs::create_directory(dir / "ro");
    const fs::path inReadOnly = dir / "ro" / "HalvexBarcode.INI";
    writeFile(inReadOnly, hand);
    fs::permissions(dir / "ro", fs::perms(0555));
    writeFile(dir / "plain", "x");

    struct Case {
        fs::path file;
        bool applies;
        const char* note;
    };
    const Case cases[] = {
        {inReadOnly, !writeBitsAreIgnored(dir / "ro"), "read-only folder (not binding for root)"},
        {dir / "plain" / "HalvexBarcode.INI", true, "no folder can be made there"},
    };
    for (const Case& c : cases) {
        if (!c.applies) continue;
        SCOPED_TRACE(c.note);
        TLForm::setLanguageFilePath(c.file);
        auto form = std::make_unique<PrintPreviewTestForm>();
        QPointer<QPushButton> child = form->printButton;
        EXPECT_FALSE(form->SaveCaptions());
        form.reset();
        EXPECT_TRUE(child.isNull());   // destroyed with its window
    }
    EXPECT_EQ(readFile(inReadOnly), hand);
}

TEST_F(CaptionTest, AFileThatCannotBeReadIsNotWrittenOver) {
    // Bigger than any language file: taken as damage, left for the user.
    std::string huge = "[PrintPreviewForm]\nuFirst=Big\n" + std::string(5 * 1024 * 1024, ';');
    writeFile(languageFile, huge);
    {
        PrintPreviewTestForm form;
        EXPECT_EQ(form.uFirst->text(), "&First");
        EXPECT_FALSE(form.SaveCaptions());
    }
    EXPECT_EQ(readFile(languageFile), huge);
}

TEST_F(CaptionTest, TheFileIsNamedAfterTheProgram) {
    TLForm::setLanguageFilePath({});
    fs::path program = QCoreApplication::applicationFilePath().toStdString();
    fs::path expected = program.parent_path() / (program.stem().string() + ".INI");
    EXPECT_EQ(TLForm::languageFilePath(), expected);
}
