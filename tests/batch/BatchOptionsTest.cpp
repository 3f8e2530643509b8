// The batch converter's command line: what it takes, what it refuses and how its inputs are
// planned.
#include "batch/BatchOptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "batch/BatchPlan.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

BatchOptions parsed(const std::vector<std::string>& arguments) {
    BatchOptions options;
    std::string error;
    EXPECT_TRUE(parseBatchOptions(arguments, options, error)) << error;
    return options;
}

std::string refusal(const std::vector<std::string>& arguments) {
    BatchOptions options;
    std::string error;
    EXPECT_FALSE(parseBatchOptions(arguments, options, error));
    return error;
}

TEST(BatchOptions, TakesFlagsValuesInBothFormsAndInputs) {
    const BatchOptions options =
        parsed({"--invoice", "--email", "--printer", "Office PDF", "--out=/tmp/out", "--no-detect",
                "--hide", "--timeout", "5", "--class=.cmd", "--allow-invalid", "a.html", "--",
                "--odd-name.html"});
    EXPECT_TRUE(options.invoice);
    EXPECT_TRUE(options.allowInvalid);
    EXPECT_TRUE(options.email);
    EXPECT_EQ(options.printer, "Office PDF");
    EXPECT_EQ(options.outputFolder, "/tmp/out");
    EXPECT_EQ(options.detectCommands, 0);
    EXPECT_EQ(options.hideCommands, 1);
    EXPECT_EQ(options.timeoutSeconds, 5);
    EXPECT_EQ(options.commandClass, ".cmd");
    EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.html", "--odd-name.html"}));
}

TEST(BatchOptions, KeepsTheSavedSwitchesUnlessAsked) {
    const BatchOptions options = parsed({"a.html"});
    EXPECT_EQ(options.detectCommands, -1);
    EXPECT_EQ(options.hideCommands, -1);
    EXPECT_EQ(options.timeoutSeconds, BatchOptions::kDefaultTimeoutSeconds);
}

TEST(BatchOptions, RefusesWhatItCannotFollowWithAReason) {
    EXPECT_EQ(refusal({}), "no input: name one or more pages or addresses");
    EXPECT_EQ(refusal({"--bogus", "a.html"}), "unknown option --bogus");
    EXPECT_EQ(refusal({"a.html", "--printer"}), "--printer needs a value");
    EXPECT_EQ(refusal({"--out=", "a.html"}), "--out needs a value");
    EXPECT_NE(refusal({"--timeout", "0", "a.html"}).find("--timeout"), std::string::npos);
    EXPECT_NE(refusal({"--timeout", "5s", "a.html"}).find("--timeout"), std::string::npos);
    EXPECT_NE(refusal({"--data", "d", "a.html", "b.html"}).find("exactly one page"),
              std::string::npos);
}

TEST(BatchOptions, HelpAndVersionNeedNoInput) {
    EXPECT_TRUE(parsed({"--help"}).help);
    EXPECT_TRUE(parsed({"--version"}).version);
}

TEST(BatchPlan, PagesAreMadeAbsoluteAndAddressesKept) {
    BatchOptions options = parsed({"sub/../a.html", "https://example.com/x", "file:///tmp/b.html"});
    const std::vector<BatchItem> items = planBatch(options);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].label, "sub/../a.html");
    EXPECT_EQ(items[0].page, (std::filesystem::current_path() / "a.html").string());
    EXPECT_EQ(items[1].page, "https://example.com/x");
    EXPECT_EQ(items[2].page, "file:///tmp/b.html");
    EXPECT_FALSE(isAddress("C:\\docs\\a.html"));
    EXPECT_FALSE(isAddress("/tmp/a:b.html"));
}

TEST(BatchPlan, DataFolderGivesItsJsonFilesInNameOrderAfterSingleFiles) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("data"));
    for (const char* name : {"data/b.json", "data/a.json", "data/notes.txt", "single.json"})
        dir.writeFile(name, "{}");
    BatchOptions options =
        parsed({"--data", dir.file("single.json"), "--data", dir.file("data"), "--data",
                dir.file("missing.json"), "/srv/invoice.html"});
    const std::vector<BatchItem> items = planBatch(options);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].dataFile, dir.file("single.json"));
    EXPECT_EQ(items[1].dataFile, dir.file("data/a.json"));
    EXPECT_EQ(items[2].dataFile, dir.file("data/b.json"));
    EXPECT_EQ(items[3].dataFile, dir.file("missing.json"));
    for (const BatchItem& item : items) {
        EXPECT_EQ(item.page, "/srv/invoice.html");
        EXPECT_EQ(item.label, item.dataFile);
    }
}

TEST(BatchOptions, ShardIsANumberBelowACountAndIsRefusedOtherwise) {
    const BatchOptions options = parsed({"--shard", "2/5", "a.html"});
    EXPECT_EQ(options.shardIndex, 2);
    EXPECT_EQ(options.shardCount, 5);
    EXPECT_EQ(parsed({"--shard=0/1", "a.html"}).shardCount, 1);
    for (const char* bad : {"5/5", "-1/3", "1/0", "1", "/3", "1/", "a/3", "1/3x", "1//3", " 1/3"})
        EXPECT_NE(refusal({"--shard", bad, "a.html"}).find("--shard takes K/N"), std::string::npos)
            << bad;
}

// N runs of one command line that differ only in K, as a scheduler's array of tasks starts
// them, convert every data file of the folder exactly once between them.
TEST(BatchPlan, ShardsOfOneFolderCoverEveryDataFileExactlyOnce) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("data"));
    std::vector<std::string> all;
    for (int i = 0; i < 23; ++i) {
        const std::string name = "data/" + std::to_string(1000 + i * 7 % 23) + ".json";
        dir.writeFile(name, "{}");
        all.push_back(dir.file(name));
    }
    std::sort(all.begin(), all.end());
    for (int count = 1; count <= 6; ++count) {
        std::vector<std::string> covered;
        for (int index = 0; index < count; ++index) {
            const std::string shard = std::to_string(index) + "/" + std::to_string(count);
            for (const BatchItem& item :
                 planBatch(parsed({"--invoice", "--shard", shard, "--data", dir.file("data"),
                                   "/srv/invoice.html"}))) {
                covered.push_back(item.dataFile);
            }
        }
        std::sort(covered.begin(), covered.end());
        EXPECT_EQ(covered, all) << count << " shards";
    }
    const std::vector<BatchItem> pages = planBatch(parsed({"--shard=1/2", "a", "b", "c", "d"}));
    ASSERT_EQ(pages.size(), 2U);
    EXPECT_EQ(pages[0].label, "b");
    EXPECT_EQ(pages[1].label, "d");
}

TEST(BatchPlan, DataFolderWithoutDataFilesIsAnItemThatFails) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("empty"));
    dir.writeFile("empty/notes.txt", "{}");
    BatchOptions options =
        parsed({"--data", dir.file("empty"), "--data", dir.file("a.json"), "/srv/invoice.html"});
    const std::vector<BatchItem> items = planBatch(options);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].label, dir.file("empty"));
    EXPECT_EQ(items[0].failure, "the data folder holds no .json file");
    EXPECT_EQ(items[1].failure, "");
}

}  // namespace
}  // namespace korventa
