// The package on this machine as a user gets it: dpkg installs it without touching printers
// or settings, the installed korventa-setup and korventa-convert turn a local page into a PDF
// on private settings, and dpkg removes it leaving no file it brought. Needs root and a
// running CUPS scheduler; machines that already have the package installed are left alone.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "package/PackageFiles.h"
#include "support/TempDir.h"

namespace korventa::test {
namespace {

constexpr const char* kQueue = "Veltrix_PDF_Pro";

bool packageInstalled() {
    return runCommand("dpkg-query -W -f='${Status}' korventa 2>/dev/null")
               .output.find("install ok installed") != std::string::npos;
}

bool queueExists() {
    return runCommand(std::string("lpstat -p ") + kQueue).status == 0;
}

// dpkg waits for nobody: another apt or dpkg run holding its lock is waited out here.
CommandResult dpkg(const std::string& arguments) {
    CommandResult result;
    for (int attempt = 0; attempt < 60; ++attempt) {
        result = runCommand("dpkg " + arguments);
        if (result.status == 0 || result.output.find("lock") == std::string::npos)
            break;
        std::this_thread::sleep_for(std::chrono::seconds(2));
    }
    return result;
}

// Two test runs on one machine would remove each other's package: one at a time.
class MachineLock {
public:
    MachineLock()
        : fd_(::open("/run/lock/korventa-package-test.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0)
            (void)::flock(fd_, LOCK_EX);
    }
    ~MachineLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

private:
    int fd_;
};

// Removes what the test put on the machine, also when an assertion ends it early.
struct MachineCleanup {
    bool installed = false;
    bool queueAdded = false;
    ~MachineCleanup() {
        if (queueAdded)
            (void)runCommand(std::string("lpadmin -x ") + kQueue);
        if (installed)
            (void)dpkg("-r korventa");
    }
};

class InstalledPackage : public testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "dpkg -i needs root";
        if (runCommand("lpstat -r").output.find("scheduler is running") == std::string::npos)
            GTEST_SKIP() << "the CUPS scheduler is not running (lpstat -r)";
        if (packageInstalled())
            GTEST_SKIP() << "korventa is installed here already; not touched";
        deb_ = builtPackage();
        ASSERT_FALSE(deb_.empty()) << "no package in " KORVENTA_PACKAGE_DIR;
        std::filesystem::create_directories(home_.file("home"));
    }

    // A command with the private home and hives, nothing of the machine's user settings.
    CommandResult asUser(const std::string& command) const {
        const std::string home = home_.file("home");
        return runCommand(
            "env HOME=" + shellQuoted(home) + " XDG_CONFIG_HOME=" + shellQuoted(home + "/.config") +
            " XDG_CACHE_HOME=" + shellQuoted(home + "/.cache") +
            " XDG_DATA_HOME=" + shellQuoted(home + "/.local/share") +
            " TALVENIR_USER_HIVE=" + shellQuoted(home_.file("user.db")) +
            " TALVENIR_MACHINE_HIVE=" + shellQuoted(home_.file("machine.db")) + " " + command);
    }

    std::string deb_;
    TempDir home_;
};

TEST_F(InstalledPackage, ConvertsALocalPageOnPrivateSettingsAndIsRemovedWithoutATrace) {
    MachineLock lock;
    MachineCleanup cleanup;
    // Paths of the package that exist before it is installed (the shared folders) may stay.
    std::vector<std::string> alreadyThere;
    const CommandResult contents = runCommand("dpkg-deb --fsys-tarfile " + shellQuoted(deb_) +
                                              " | tar -t | sed 's|^\\.||; s|/$||'");
    ASSERT_EQ(contents.status, 0) << contents.output;
    for (const std::string& path : linesOf(contents.output)) {
        std::error_code ignored;
        if (std::filesystem::symlink_status(path, ignored).type() !=
            std::filesystem::file_type::not_found)
            alreadyThere.push_back(path);
    }
    cleanup.queueAdded = !queueExists();

    const CommandResult install = dpkg("-i " + shellQuoted(deb_));
    cleanup.installed = install.status == 0;
    ASSERT_EQ(install.status, 0) << install.output;
    EXPECT_EQ(queueExists(), !cleanup.queueAdded) << "installing changed the print queues";

    for (const char* program : {"korventa", "korventa-convert", "korventa-reg", "korventa-setup"}) {
        EXPECT_EQ(asUser(std::string("/usr/bin/") + program + " --version").output,
                  std::string(program) + " " KORVENTA_VERSION "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(home_.file("user.db")));

    const CommandResult setup = asUser("/usr/bin/korventa-setup --user");
    ASSERT_EQ(setup.status, 0) << setup.output;
    EXPECT_NE(setup.output.find("InstallPath: /usr/lib/veltrix/driver"), std::string::npos)
        << setup.output;

    home_.writeFile("page.html",
                    "<title>Rechnung 4711</title><h1>Rechnung 4711</h1>"
                    "<p>Lieferant Hagedorn GmbH, Summe 1.234,56 EUR</p>");
    const CommandResult converted =
        asUser("timeout 180 /usr/bin/korventa-convert --out " + shellQuoted(home_.file("out")) +
               " " + shellQuoted(home_.file("page.html")));
    ASSERT_EQ(converted.status, 0) << converted.output;
    const std::string pdf = home_.file("out/Rechnung 4711.pdf");
    EXPECT_NE(converted.output.find(home_.file("page.html") + ": " + pdf), std::string::npos)
        << converted.output;
    const CommandResult check = runCommand("qpdf --check " + shellQuoted(pdf));
    EXPECT_EQ(check.status, 0) << check.output;
    const CommandResult text = runCommand("pdftotext " + shellQuoted(pdf) + " -");
    EXPECT_NE(text.output.find("Lieferant Hagedorn GmbH, Summe 1.234,56 EUR"), std::string::npos)
        << text.output;

    // The bundled application page as an invoice: the installed checker finds its rules and
    // schemas beside the installed driver.
    const CommandResult invoice =
        asUser("timeout 180 /usr/bin/korventa-convert --invoice --out " +
               shellQuoted(home_.file("out")) + " /usr/lib/veltrix/ZUGFeRD/simple/index.html");
    ASSERT_EQ(invoice.status, 0) << invoice.output;
    const bool rulesCanRun = std::filesystem::exists("/usr/share/java/Saxon-HE.jar") &&
                             runCommand("command -v java").status == 0;
    EXPECT_NE(invoice.output.find(rulesCanRun ? "(invoice checked: valid)" : ".pdf"),
              std::string::npos)
        << invoice.output;
    const std::string page = "/usr/lib/veltrix/ZUGFeRD/simple/index.html: ";
    const std::size_t line = invoice.output.find(page);
    ASSERT_NE(line, std::string::npos) << invoice.output;
    const std::size_t start = line + page.size();
    const std::string invoicePdf =
        invoice.output.substr(start, invoice.output.find(".pdf", start) + 4 - start);
    const CommandResult attachment =
        runCommand("qpdf --list-attachments " + shellQuoted(invoicePdf));
    EXPECT_NE(attachment.output.find("factur-x.xml"), std::string::npos) << attachment.output;

    const CommandResult listed = runCommand("dpkg -L korventa");
    ASSERT_EQ(listed.status, 0) << listed.output;
    const CommandResult removal = dpkg("-r korventa");
    ASSERT_EQ(removal.status, 0) << removal.output;
    cleanup.installed = false;
    std::size_t checked = 0;
    for (const std::string& path : linesOf(listed.output)) {
        if (path.empty() || path == "/." ||
            std::find(alreadyThere.begin(), alreadyThere.end(), path) != alreadyThere.end())
            continue;
        ++checked;
        std::error_code ignored;
        EXPECT_EQ(std::filesystem::symlink_status(path, ignored).type(),
                  std::filesystem::file_type::not_found)
            << path << " is left after dpkg -r";
    }
    EXPECT_GT(checked, 20u);
}

}  // namespace
}  // namespace korventa::test
