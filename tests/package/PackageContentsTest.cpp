// The package's contents checked with Debian's own tools, as a user's system would use them:
// lintian on the .deb, man on the installed manual pages, desktop-file-validate and
// appstreamcli on the desktop metadata, bash-completion's loader on the completions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "package/PackageFiles.h"
#include "support/TempDir.h"

namespace korventa::test {
namespace {

constexpr const char* kPrograms[] = {"korventa", "korventa-convert", "korventa-reg",
                                     "korventa-setup"};

class PackageContents : public testing::Test {
protected:
    void SetUp() override {
        deb_ = builtPackage();
        ASSERT_FALSE(deb_.empty())
            << "no korventa_" KORVENTA_VERSION "_*.deb in " KORVENTA_PACKAGE_DIR;
        const CommandResult unpacked =
            runCommand("dpkg-deb -x " + shellQuoted(deb_) + " " + shellQuoted(root_.path()));
        ASSERT_EQ(unpacked.status, 0) << unpacked.output;
    }

    std::string installed(const std::string& path) const { return root_.path() + path; }

    // What bash-completion offers for the words of `line`, the last being the one completed,
    // with the completion file loaded as bash-completion would load it for that program.
    std::set<std::string> completions(const std::string& program, const std::string& line,
                                      const std::string& folder) const {
        const std::string script =
            "source /usr/share/bash-completion/bash_completion; "
            "source " +
            shellQuoted(installed("/usr/share/bash-completion/completions/" + program)) + "; cd " +
            shellQuoted(folder) + "; COMP_LINE=" + shellQuoted(line) +
            "; COMP_POINT=${#COMP_LINE}; read -ra COMP_WORDS <<< \"$COMP_LINE\"; "
            "[[ $COMP_LINE == *' ' ]] && COMP_WORDS+=(''); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); "
            "f=$(complete -p " +
            program +
            " | sed 's/.*-F \\([^ ]*\\) .*/\\1/'); "
            "$f " +
            program +
            " \"${COMP_WORDS[COMP_CWORD]}\" \"${COMP_WORDS[COMP_CWORD-1]}\"; "
            "printf '%s\\n' \"${COMPREPLY[@]}\"";
        const CommandResult result = runCommand("bash -c " + shellQuoted(script));
        EXPECT_EQ(result.status, 0) << result.output;
        std::set<std::string> offered;
        for (const std::string& word : linesOf(result.output))
            if (!word.empty())
                offered.insert(word);
        return offered;
    }

    std::string deb_;
    TempDir root_;
};

// Width and height from a PNG's header.
std::pair<unsigned, unsigned> pngSize(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    const auto word = [&](int at) {
        return (unsigned{header[at]} << 24) | (unsigned{header[at + 1]} << 16) |
               (unsigned{header[at + 2]} << 8) | unsigned{header[at + 3]};
    };
    if (!file || std::string(reinterpret_cast<char*>(header) + 1, 3) != "PNG")
        return {0, 0};
    return {word(16), word(20)};
}

TEST_F(PackageContents, LintianFindsNoErrorAndTheReadmeExplainsEveryWarning) {
    const CommandResult lintian = runCommand("lintian --no-tag-display-limit " + shellQuoted(deb_));
    std::cout << lintian.output;
    std::ifstream readmeFile(KORVENTA_README);
    const std::string readme((std::istreambuf_iterator<char>(readmeFile)),
                             std::istreambuf_iterator<char>());
    for (const std::string& line : linesOf(lintian.output)) {
        EXPECT_NE(line.rfind("E: ", 0), 0u) << line;
        std::smatch tag;
        if (std::regex_search(line, tag, std::regex("^W: korventa[^:]*: ([a-z0-9-]+)"))) {
            EXPECT_NE(readme.find("`" + tag[1].str() + "`"), std::string::npos)
                << "README's packaging section does not explain " << tag[1];
        }
    }
}

TEST_F(PackageContents, ControlCarriesTheVersionComputedDependsAndNoMaintainerScripts) {
    const CommandResult fields =
        runCommand("dpkg-deb -f " + shellQuoted(deb_) + " Package Version Depends Recommends");
    ASSERT_EQ(fields.status, 0) << fields.output;
    EXPECT_NE(fields.output.find("Package: korventa\n"), std::string::npos) << fields.output;
    EXPECT_NE(fields.output.find("Version: " KORVENTA_VERSION "\n"), std::string::npos)
        << fields.output;
    // Found by dpkg-shlibdeps in the programs, not listed by hand.
    for (const char* library :
         {"libc6 (", "libqt6webenginecore6 (", "libcups2 (", "libqpdf29 (", "libsqlite3-0 ("})
        EXPECT_NE(fields.output.find(library), std::string::npos) << fields.output;
    for (const char* optional :
         {"cups-daemon", "libsaxonhe-java", "default-jre-headless", "xdg-utils", "xdg-user-dirs"})
        EXPECT_NE(fields.output.find(optional), std::string::npos) << fields.output;

    const CommandResult control =
        runCommand("dpkg-deb --ctrl-tarfile " + shellQuoted(deb_) + " | tar -t");
    ASSERT_EQ(control.status, 0) << control.output;
    for (const char* script : {"preinst", "postinst", "prerm", "postrm", "config"})
        EXPECT_EQ(control.output.find(script), std::string::npos) << control.output;
}

TEST_F(PackageContents, EveryProgramHasAManualPageThatFormatsWithoutWarnings) {
    for (const char* program : kPrograms) {
        SCOPED_TRACE(program);
        EXPECT_TRUE(std::filesystem::exists(installed("/usr/bin/") + program) ||
                    std::filesystem::is_symlink(installed("/usr/bin/") + program));
        const std::string page = installed("/usr/share/man/man1/") + program + ".1.gz";
        ASSERT_TRUE(std::filesystem::exists(page));
        // As lintian formats pages: warnings go to the standard error, kept apart here.
        const CommandResult formatted = runCommand(
            "LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z " +
            shellQuoted(page) + " 2>&1 >/dev/null");
        EXPECT_EQ(formatted.status, 0);
        EXPECT_EQ(formatted.output, "");
        const CommandResult text = runCommand("MANWIDTH=80 man -l " + shellQuoted(page));
        for (const char* section : {"SYNOPSIS", "EXIT STATUS", "FILES", "EXAMPLE"})
            EXPECT_NE(text.output.find(section), std::string::npos) << section;
    }
}

TEST_F(PackageContents, DesktopEntryMetainfoAndIconsAreWhereDesktopsLook) {
    const std::string desktop = installed("/usr/share/applications/korventa.desktop");
    const CommandResult entry = runCommand("desktop-file-validate " + shellQuoted(desktop));
    EXPECT_EQ(entry.status, 0) << entry.output;
    EXPECT_EQ(entry.output, "");

    const std::string metainfo =
        installed("/usr/share/metainfo/com.talvenir.korventa.metainfo.xml");
    const CommandResult component =
        runCommand("appstreamcli validate --no-net " + shellQuoted(metainfo));
    EXPECT_EQ(component.status, 0) << component.output;

    const std::string icons = installed("/usr/share/icons/hicolor/");
    EXPECT_TRUE(std::filesystem::exists(icons + "scalable/apps/korventa.svg"));
    for (const unsigned size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(pngSize(icons + folder + "/apps/korventa.png"), std::make_pair(size, size))
            << folder;
    }
}

TEST_F(PackageContents, CompletionOffersOptionsFoldersRegistryRootsAndTypes) {
    TempDir work;
    std::filesystem::create_directory(work.file("invoices"));
    work.writeFile("page.html", "<p>x</p>");
    work.writeFile("data.json", "{}");
    work.writeFile("saved.reg", "");
    const auto convert = [&](const std::string& line) {
        return completions("korventa-convert", line, work.path());
    };
    const auto reg = [&](const std::string& line) {
        return completions("korventa-reg", line, work.path());
    };
    using Words = std::set<std::string>;
    EXPECT_EQ(convert("korventa-convert --ti"), Words({"--timeout"}));
    EXPECT_EQ(convert("korventa-convert --no-"),
              Words({"--no-collate", "--no-detect", "--no-hide"}));
    EXPECT_EQ(convert("korventa-convert --out "), Words({"invoices"}));
    EXPECT_EQ(convert("korventa-convert --data "), Words({"data.json", "invoices"}));
    EXPECT_EQ(convert("korventa-convert --invoice "), Words({"invoices", "page.html"}));
    EXPECT_EQ(reg("korventa-reg "),
              Words({"query", "add", "delete", "import", "export", "/?", "--version"}));
    EXPECT_EQ(reg("korventa-reg query HKC"), Words({"HKCU"}));
    EXPECT_EQ(reg("korventa-reg add HKCU\\\\K /t REG_Q"), Words({"REG_QWORD"}));
    EXPECT_EQ(reg("korventa-reg delete HKCU\\\\K /v"), Words({"/v", "/ve", "/va"}));
    EXPECT_EQ(reg("korventa-reg import "), Words({"invoices", "saved.reg"}));
    EXPECT_EQ(reg("korventa-reg export HKCU\\\\K "), Words({"invoices", "saved.reg"}));
}

TEST_F(PackageContents, EveryOptionTheHelpListsIsCompletedAndInTheManualPage) {
    const CommandResult help =
        runCommand(shellQuoted(installed("/usr/lib/korventa/korventa-convert")) + " --help");
    ASSERT_EQ(help.status, 0) << help.output;
    const std::string manual =
        runCommand("MANWIDTH=200 man -l " +
                   shellQuoted(installed("/usr/share/man/man1/korventa-convert.1.gz")))
            .output;
    TempDir work;
    const std::set<std::string> offered =
        completions("korventa-convert", "korventa-convert --", work.path());
    const std::regex option("--[a-z][a-z-]*");
    std::size_t options = 0;
    for (auto it = std::sregex_iterator(help.output.begin(), help.output.end(), option);
         it != std::sregex_iterator(); ++it, ++options) {
        EXPECT_TRUE(offered.count(it->str())) << it->str() << " is not completed";
        EXPECT_NE(manual.find(it->str()), std::string::npos) << it->str() << " is not in the page";
    }
    EXPECT_GT(options, 10u);
}

}  // namespace
}  // namespace korventa::test
