// The language file on its own: damaged or unusual text is read sensibly
// and never written back changed.

#include <gtest/gtest.h>

#include "../support/TempDir.h"
#include "LanguageFile.h"

namespace {

using Contents = LanguageFile::Contents;

Contents contentsOf(const std::string& text) {
    LanguageFile file;
    file.loadText(text);
    return file.contents();
}

}  // namespace

// Readable failures; found by argument-dependent lookup.
void PrintTo(const LanguageFile::Section& s, std::ostream* os) {
    *os << "[" << s.name << "]";
    for (auto& [key, value] : s.keys) *os << " " << key << "=" << value << ";";
}

TEST(LanguageFile, ReadsHandWrittenVariants) {
    struct Case {
        const char* note;
        std::string text;
        Contents expected;
    };
    const Case cases[] = {
        {"a section line left open keeps the keys under it",
         "[Glossary\nFirst=Erste\n[PrintPreviewForm]\nuFirst=Erst\n",
         {{"Glossary", {{"First", "Erste"}}}, {"PrintPreviewForm", {{"uFirst", "Erst"}}}}},
        {"the same with CR line ends",
         "[Glossary\rFirst=Erste\r[PrintPreviewForm]\ruFirst=Erst\r",
         {{"Glossary", {{"First", "Erste"}}}, {"PrintPreviewForm", {{"uFirst", "Erst"}}}}},
        {"an empty section name with nothing under it",
         "[]\n[PrintPreviewForm]\nuFirst=Erst\n",
         {{"PrintPreviewForm", {{"uFirst", "Erst"}}}}},
        {"CR LF line ends",
         "[PrintPreviewForm]\r\nuFirst=Erst\r\nuLast=Letzte\r\n",
         {{"PrintPreviewForm", {{"uFirst", "Erst"}, {"uLast", "Letzte"}}}}},
        {"a UTF-8 signature from an editor",
         "\xEF\xBB\xBF[PrintPreviewForm]\nuFirst=Erst\n",
         {{"PrintPreviewForm", {{"uFirst", "Erst"}}}}},
        {"blanks around names and values, comments, lines without '='",
         "; comment\n[ PrintPreviewForm ]\n  uFirst =  Erst  \nnonsense\n# more\n",
         {{"PrintPreviewForm", {{"uFirst", "Erst"}}}}},
        {"a multi-line value",
         "[A]\nk=<<<END\none\n two\nEND\nz=1\n",
         {{"A", {{"k", "one\n two"}, {"z", "1"}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        LanguageFile file;
        file.loadText(c.text);
        EXPECT_EQ(file.contents(), c.expected);
        // Written and read again, nothing has moved.
        EXPECT_EQ(contentsOf(file.text()), c.expected);
    }
}

TEST(LanguageFile, LooksUpSectionsAndKeysWithoutRegardToCase) {
    LanguageFile file;
    file.loadText("[printpreviewform]\nUFIRST=Erst\n");
    EXPECT_EQ(file.value("PrintPreviewForm", "uFirst"), "Erst");
    EXPECT_EQ(file.value("PrintPreviewForm", "uLast"), std::nullopt);
    EXPECT_EQ(file.value("AboutForm", "uFirst"), std::nullopt);
}

TEST(LanguageFile, AFileThatWouldNotReadBackIsNotWritten) {
    // A multi-line value holding the line that ends multi-line values when
    // they are written: it cannot be written back as it is.
    const std::string text = "[A]\nk=<<<TAG\nline\nEND_OF_TEXT\nmore\nTAG\n";
    TempDir dir;
    writeFile(dir / "x.INI", text);
    LanguageFile file;
    ASSERT_EQ(file.load(dir / "x.INI"), LanguageFile::LoadStatus::Loaded);
    EXPECT_EQ(file.value("A", "k"), "line\nEND_OF_TEXT\nmore");
    file.setValue("PrintPreviewForm", "uFirst", "&First");
    EXPECT_FALSE(file.save(dir / "x.INI"));
    EXPECT_EQ(readFile(dir / "x.INI"), text);
}
