// The product-data file of the splash screen and the About box, the About texts, and the
// search for the system information program.
#include "shell/product_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

#include "platform/file_path.h"
#include "platform/install_paths.h"
#include "shell/system_info.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

TEST(ProductInfo, MissingFileGivesTheDefaultsAndTheShippedFileMatchesThem) {
    EXPECT_EQ(loadProductInfo("/nonexistent/product.ini"), defaultProductInfo());
    // A distributor starts from the shipped file: it must say what the built-in data says.
    const auto shipped = std::filesystem::path(KALVO_SOURCE_DIR) / "assets/product.ini";
    ASSERT_TRUE(std::filesystem::exists(shipped)) << shipped;
    EXPECT_EQ(loadProductInfo(shipped.string()), defaultProductInfo());
    // The program's folder may be named beyond ASCII ("C:\Users\Jürgen\Kalvo").
    const test::ScratchDir scratch;
    std::filesystem::create_directory(pathFromUtf8(scratch.file("Jürgen")));
    std::ofstream(pathFromUtf8(scratch.file("Jürgen/product.ini"))) << "Maker=Beispiel AG\n";
    EXPECT_EQ(loadProductInfo(scratch.file("Jürgen/product.ini")).maker, "Beispiel AG");
}

// Built: the files lie beside the program. Installed: below ../share, whatever the working
// directory.
TEST(ProductInfo, DataAndGuideFoundBesideTheProgramOrBelowShare) {
    namespace fs = std::filesystem;
    test::ScratchDir d;
    // Compared as paths: Windows writes the separators its own way.
    const auto at = [](const std::string& utf8) { return pathFromUtf8(utf8).lexically_normal(); };
    const std::string bin = utf8FromPath(d.path() / "bin");
    EXPECT_EQ(at(dataFolderFor(bin)), at(bin));
    EXPECT_EQ(at(guideFileFor(bin)), at(bin + "/docs/user-guide.md"));
    fs::create_directories(d.path() / "share/kalvo-multi");
    fs::create_directories(d.path() / "share/doc/kalvo-multi");
    std::ofstream(d.path() / "share/doc/kalvo-multi/user-guide.md") << "#";
    EXPECT_EQ(at(dataFolderFor(bin)), (d.path() / "share/kalvo-multi").lexically_normal());
    EXPECT_EQ(at(guideFileFor(bin)),
              (d.path() / "share/doc/kalvo-multi/user-guide.md").lexically_normal());
}

TEST(ProductInfo, FileLinesOverTheDefaults) {
    struct Case {
        std::string file;
        std::string maker, street, fax;  // expected; "=" the default
    };
    const ProductInfo d = defaultProductInfo();
    const std::vector<Case> cases = {
        {"[Product]\nMaker=Beispiel AG\n", "Beispiel AG", "=", "="},
        // Keys in any case, blanks and one pair of quotes around values, CR LF line ends.
        {"[product]\r\n  maker =  \" Beispiel AG \" \r\nSTREET=Weg 2\r\n", " Beispiel AG ", "Weg 2",
         "="},
        // Comments, lines without "=", unknown keys and other sections are skipped.
        {"; Maker=A\n# Maker=B\nMaker\nColour=red\n[Other]\nMaker=C\n[Product]\nFax=\n", "=", "=",
         ""},
        // Keys before the first section count; a later section ends them.
        {"Maker=Vorn GmbH\n[Other]\nStreet=Nirgends\n", "Vorn GmbH", "=", "="},
        // A byte order mark is dropped; Windows-1252 text (not UTF-8) is converted.
        {"\xEF\xBB\xBFMaker=Ärger GmbH\n", "Ärger GmbH", "=", "="},
        {"Street=Hauptstra\xDF"
         "e 5\n",
         "=", "Hauptstraße 5", "="},
        {"", "=", "=", "="},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const ProductInfo info = parseProductInfo(c.file);
        EXPECT_EQ(info.maker, c.maker == "=" ? d.maker : c.maker);
        EXPECT_EQ(info.street, c.street == "=" ? d.street : c.street);
        EXPECT_EQ(info.fax, c.fax == "=" ? d.fax : c.fax);
        EXPECT_EQ(info.email, d.email);
    }
}

TEST(ProductInfo, AboutTextsNameTheMakerInBothLanguages) {
    ProductInfo info = defaultProductInfo();
    info.maker = "Beispiel AG";
    info.fax.clear();  // no fax: its line is left out
    EXPECT_EQ(aboutTitle(info, Language::German),
              "Software zur Ansteuerung von Messgeräten der Firma Beispiel AG");
    EXPECT_EQ(aboutTitle(info, Language::English),
              "Software for the control of measuring instruments of the company Beispiel AG");
    EXPECT_EQ(contactLines(info),
              (std::vector<std::string>{"Beispiel AG", "Musterstraße 1", "12345 Musterstadt",
                                        "Tel.: +49 (0) 000 000000-0", "E-Mail: info@example.com"}));
    EXPECT_TRUE(std::regex_match(versionText(), std::regex("Version [0-9]+\\.[0-9]+\\.[0-9]+")))
        << versionText();
}

TEST(SystemInfo, FirstKnownProgramOnThePathIsTaken) {
    const std::vector<std::pair<std::map<std::string, std::string>, std::optional<std::string>>>
        cases = {
            {{}, std::nullopt},
            {{{"hardinfo", "/usr/bin/hardinfo"}, {"kinfocenter", "/usr/bin/kinfocenter"}},
             "/usr/bin/kinfocenter"},
            {{{"msinfo32", "C:/Windows/System32/msinfo32.exe"}, {"hardinfo", "/x"}},
             "C:/Windows/System32/msinfo32.exe"},
            {{{"lshw-gtk", ""}}, std::nullopt},  // an empty answer is no program
        };
    for (const auto& [onPath, expected] : cases) {
        const auto found = findSystemInfoProgram([&](std::string_view name) {
            auto it = onPath.find(std::string(name));
            return it == onPath.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
        EXPECT_EQ(found, expected);
    }
}

}  // namespace
}  // namespace kalvo
