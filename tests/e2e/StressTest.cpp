// Several converters at once on one user hive, each with a runtime folder of its own (a cron
// job beside a desktop session), run twice: every page becomes a PDF of its own, every line
// names the file made from its page, and no job key or job folder is left.
#include <sys/stat.h>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "driver/DriverNames.h"
#include "e2e/InvoiceChecks.h"
#include "e2e/ProgramSession.h"
#include "platform/registry/RegistryHive.h"

namespace korventa {
namespace {

namespace fs = std::filesystem;

constexpr int kConverters = 4;
constexpr int kPages = 15;
constexpr int kRounds = 2;

class Stress : public test::ProgramSession {
protected:
    static std::string pageName(int converter, int page) {
        return "c" + std::to_string(converter) + "p" + std::to_string(page);
    }
    // The job keys below the converters' instance keys.
    static std::vector<WString> jobKeys() {
        const auto hive = reg::RegistryHive::local(reg::RootKey::CurrentUser);
        const WString root = WString(DriverRegistryRoot) + u"KORVENTAJob";
        std::vector<WString> jobs;
        for (const WString& instance : subKeys(hive, root)) {
            for (const WString& job : subKeys(hive, root + u"\\" + instance))
                jobs.push_back(instance + u"\\" + job);
        }
        return jobs;
    }
    static std::vector<WString> subKeys(const reg::RegistryHive& hive, const WString& path) {
        reg::RegistryKey key;
        std::vector<WString> names;
        if (reg::RegistryKey::open(hive, path, reg::KeyAccess::Read, key) == reg::RegStatus::Ok)
            (void)key.subKeys(names);
        return names;
    }
};

TEST_F(Stress, FourConvertersOnOneHiveTwiceGiveEveryPageItsOwnPdf) {
    std::string queue;
    std::string why;
    if (!addDriverQueue(queue, why))
        GTEST_SKIP() << why;
    for (int converter = 0; converter < kConverters; ++converter) {
        ::mkdir(files_.file("run" + std::to_string(converter)).c_str(), 0700);
        for (int page = 0; page < kPages; ++page) {
            const std::string name = pageName(converter, page);
            files_.writeFile(name + ".html",
                             "<title>" + name + "</title><p>text of " + name + "</p>");
        }
    }
    std::set<std::string> pdfs;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<pid_t> started;
        for (int converter = 0; converter < kConverters; ++converter) {
            const std::string out =
                files_.file("out/r" + std::to_string(round) + "c" + std::to_string(converter));
            std::vector<std::string> arguments{"--printer", queue, "--no-detect", "--out", out};
            for (int page = 0; page < kPages; ++page)
                arguments.push_back(files_.file(pageName(converter, page) + ".html"));
            started.push_back(startProgram(
                "korventa-convert", arguments,
                {"XDG_RUNTIME_DIR=" + files_.file("run" + std::to_string(converter))},
                "r" + std::to_string(round) + "c" + std::to_string(converter) + ".out"));
        }
        for (int converter = 0; converter < kConverters; ++converter) {
            int status = 0;
            ASSERT_NE(started[converter], 0);
            ASSERT_TRUE(finishWithStatus(started[converter], status));
            const std::string log = "r" + std::to_string(round) + "c" + std::to_string(converter);
            const std::string output = files_.readFile(log + ".out");
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
            const std::string out = files_.file("out/" + log);
            for (int page = 0; page < kPages; ++page) {
                const std::string name = pageName(converter, page);
                const std::string pdf = out + "/" + name + ".pdf";
                EXPECT_NE(output.find(files_.file(name + ".html") + ": " + pdf + "\n"),
                          std::string::npos)
                    << output;
                EXPECT_NE(test::pdfText(pdf).find("text of " + name), std::string::npos) << pdf;
                EXPECT_TRUE(test::run("qpdf --check '" + pdf + "'")) << pdf;
                pdfs.insert(pdf);
            }
        }
    }
    EXPECT_EQ(pdfs.size(), static_cast<std::size_t>(kConverters * kPages * kRounds));
    EXPECT_TRUE(jobKeys().empty()) << toUtf8(jobKeys().front());
    std::error_code error;
    EXPECT_TRUE(fs::is_empty(files_.file("cache/talvenir/jobs"), error));
}

}  // namespace
}  // namespace korventa
