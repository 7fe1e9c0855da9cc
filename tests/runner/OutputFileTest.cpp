// The output appears under its name only once the job went through.
#include <dirent.h>
#include <fstream>
#include <set>
#include <unistd.h>

#include <gtest/gtest.h>

#include "host/runner/OutputFile.h"

namespace {

class OutputFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/xpschain-output-XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern));
        directory = pattern;
    }
    void TearDown() override
    {
        for (const std::string& name : Names())
            unlink((directory + "/" + name).c_str());
        rmdir(directory.c_str());
    }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        DIR* dir = opendir(directory.c_str());
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.insert(name);
        }
        closedir(dir);
        return names;
    }

    std::string directory;
};

TEST_F(OutputFileTest, CommitPutsTheBytesUnderTheFinalName)
{
    COutputFile output;
    std::string error;
    ASSERT_TRUE(output.Create(directory + "/out.prn", &error)) << error;
    EXPECT_EQ(directory + "/", output.TemporaryPath().substr(0, directory.size() + 1)) << "beside the output";
    EXPECT_EQ(std::set<std::string>{output.TemporaryPath().substr(directory.size() + 1)}, Names());
    EXPECT_EQ('.', output.TemporaryPath()[directory.size() + 1]) << "hidden while it is written";
    ASSERT_EQ(5, write(output.Descriptor(), "bytes", 5));
    ASSERT_TRUE(output.Commit(&error)) << error;
    EXPECT_EQ(std::set<std::string>{"out.prn"}, Names());
    std::ifstream file(directory + "/out.prn");
    std::string content;
    file >> content;
    EXPECT_EQ("bytes", content);
}

TEST_F(OutputFileTest, AFileNotCommittedLeavesNothing)
{
    {
        COutputFile discarded;
        std::string error;
        ASSERT_TRUE(discarded.Create(directory + "/a.xps", &error));
        discarded.Discard();
        EXPECT_TRUE(Names().empty());
        COutputFile dropped;
        ASSERT_TRUE(dropped.Create(directory + "/b.xps", &error));
        // A writer that replaced the file by its name is cleaned up the same way.
        std::ofstream(dropped.TemporaryPath()) << "replaced";
    }
    EXPECT_TRUE(Names().empty());
}

TEST_F(OutputFileTest, AnUnwritableDirectoryIsReported)
{
    COutputFile output;
    std::string error;
    EXPECT_FALSE(output.Create(directory + "/missing/out.xps", &error));
    EXPECT_NE(std::string::npos, error.find("/missing/out.xps")) << error;
    EXPECT_FALSE(output.Create(directory + "/", &error));
}

} // namespace
