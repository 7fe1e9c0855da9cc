// Bad jobs end with a failure that names the part at fault in one line, no crash and no output
// file, not even a temporary one.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "tests/e2e/E2eSupport.h"
#include "tests/e2e/ScratchDirectory.h"
#include "tests/e2e/ZipBuilder.h"

namespace {

const char kPagePath[] = "Documents/1/Pages/1.fpage";

// A package whose page draws an image kept at imageName, with the relationship that names it.
ZipEntries PackageWithImage(const std::string& imageName, const std::string* imageContent)
{
    ZipEntries entries = MinimalXpsPackage();
    SetEntry(&entries, kPagePath,
             R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="816" Height="1056" xml:lang="en-US">)"
             R"(<Path Data="M 96,96 L 480,96 480,480 96,480 Z"><Path.Fill><ImageBrush ImageSource=")" + imageName +
                 R"(" Viewbox="0,0,8,8" ViewboxUnits="Absolute" Viewport="96,96,384,384" ViewportUnits="Absolute"/></Path.Fill></Path></FixedPage>)");
    SetEntry(&entries, "Documents/1/Pages/_rels/1.fpage.rels",
             R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
             R"(<Relationship Id="R1" Type="http://schemas.microsoft.com/xps/2005/06/required-resource" Target=")" +
                 imageName + R"("/></Relationships>)");
    if (imageContent)
        SetEntry(&entries, imageName.substr(1), *imageContent);
    return entries;
}

struct BadJob {
    const char* name;
    // Writes the job into the directory and returns its path; may change the arguments.
    std::function<std::string(const CScratchDirectory&, std::vector<std::string>*)> make;
    const char* partAtFault;  // what the message names: a part, or the job file itself
};

void PrintTo(const BadJob& job, std::ostream* out) { *out << job.name; }

std::string Zip(const CScratchDirectory& scratch, const ZipEntries& entries)
{
    const std::string path = scratch.File("job.xps");
    EXPECT_TRUE(WriteZip(path, entries));
    return path;
}

const BadJob kBadJobs[] = {
    {"NotAZip",
     [](const CScratchDirectory& s, auto*) {
         s.Write("job.xps", "%PDF-1.7 this is not a package\n");
         return s.File("job.xps");
     },
     "job.xps"},
    {"TruncatedZip",
     [](const CScratchDirectory& s, auto*) {
         const std::string whole = ReadFileText(CorpusDir() + "/xps/pdfsharp-xps-Colorful.xps");
         s.Write("job.xps", whole.substr(0, whole.size() / 2));
         return s.File("job.xps");
     },
     "job.xps"},
    {"EntryNameEscapesUpwards",
     [](const CScratchDirectory& s, auto*) {
         ZipEntries entries = MinimalXpsPackage();
         SetEntry(&entries, "../../etc/evil.fpage", "<x/>");
         return Zip(s, entries);
     },
     "../../etc/evil.fpage"},
    {"EntryNameIsAbsolute",
     [](const CScratchDirectory& s, auto*) {
         ZipEntries entries = MinimalXpsPackage();
         SetEntry(&entries, "/tmp/absolute.fpage", "<x/>");
         return Zip(s, entries);
     },
     "/tmp/absolute.fpage"},
    {"ZipBombPart",
     [](const CScratchDirectory& s, auto*) {
         const std::string zeros(16u << 20, '\0');
         return Zip(s, PackageWithImage("/Resources/bomb.png", &zeros));
     },
     "bomb.png"},
    {"NoFixedDocumentSequence",
     [](const CScratchDirectory& s, auto*) {
         ZipEntries entries = MinimalXpsPackage();
         SetEntry(&entries, "_rels/.rels",
                  R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"/>)");
         RemoveEntry(&entries, "FixedDocumentSequence.fdseq");
         return Zip(s, entries);
     },
     "FixedDocumentSequence"},
    {"RelationshipToAMissingPart",
     [](const CScratchDirectory& s, auto*) { return Zip(s, PackageWithImage("/Resources/missing.png", nullptr)); },
     "/Resources/missing.png"},
    {"PageListedButMissing",
     [](const CScratchDirectory& s, auto*) {
         ZipEntries entries = MinimalXpsPackage();
         SetEntry(&entries, "Documents/1/FixedDocument.fdoc",
                  R"(<FixedDocument xmlns="http://schemas.microsoft.com/xps/2005/06"><PageContent Source="/Documents/1/Pages/1.fpage"/><PageContent Source="/Documents/1/Pages/2.fpage"/></FixedDocument>)");
         return Zip(s, entries);
     },
     "/Documents/1/Pages/2.fpage"},
    {"PageMarkupNotWellFormed",
     [](const CScratchDirectory& s, auto*) {
         ZipEntries entries = MinimalXpsPackage();
         SetEntry(&entries, kPagePath,
                  R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="816" Height="1056"><Path Data="M 0,0 L 9,9"></FixedPage>)");
         return Zip(s, entries);
     },
     "/Documents/1/Pages/1.fpage"},
    {"UnknownFilterInThePipeline",
     [](const CScratchDirectory& s, std::vector<std::string>* arguments) {
         s.Write("pipeline.xml", R"(<Pipeline>
  <Filter name="prepfilter" library="libprepfilter.so" clsid="{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"/>
  <Filter name="nosuchfilter" library="libnosuchfilter.so" clsid="{11111111-2222-3333-4444-555555555555}"/>
</Pipeline>)");
         *arguments = {"--pipeline", s.File("pipeline.xml")};
         return Zip(s, MinimalXpsPackage());
     },
     "nosuchfilter"},
    {"FilterOfAnotherClass",
     [](const CScratchDirectory& s, std::vector<std::string>* arguments) {
         s.Write("pipeline.xml", R"(<Pipeline>
  <Filter name="prepfilter" library="libprepfilter.so" clsid="{0338B91C-FB1A-409B-B13C-F0AE34025A82}"/>
</Pipeline>)");
         *arguments = {"--pipeline", s.File("pipeline.xml")};
         return Zip(s, MinimalXpsPackage());
     },
     "prepfilter"},
};

class BadInputTest : public testing::TestWithParam<BadJob> {};

TEST_P(BadInputTest, FailsCleanlyNamingThePart)
{
    CScratchDirectory scratch;
    std::vector<std::string> arguments = {"--stop-after", "finishfilter"};
    const std::string job = GetParam().make(scratch, &arguments);
    const std::set<std::string> inputs = scratch.Names();

    const ProcessResult run = RunPrint(job, scratch.File("out.xps"), arguments);
    EXPECT_EQ(1, run.exitCode) << "no crash, no success: " << run.err;
    EXPECT_EQ(0, run.signal);
    EXPECT_NE(std::string::npos, run.err.find(GetParam().partAtFault)) << run.err;
    EXPECT_FALSE(FailureReason(run, job).empty()) << "a reason follows the job's name: " << run.err;
    EXPECT_EQ(1, std::count(run.err.begin(), run.err.end(), '\n')) << "one line: " << run.err;
    EXPECT_EQ(inputs, scratch.Names()) << "no output file and no temporary file";
}

INSTANTIATE_TEST_SUITE_P(Jobs, BadInputTest, testing::ValuesIn(kBadJobs),
                         [](const testing::TestParamInfo<BadJob>& testCase) { return std::string(testCase.param.name); });

// The same small package, sound, goes through: the failures above are the faults put in.
TEST(BadInputControlTest, TheSoundPackageGoesThrough)
{
    CScratchDirectory scratch;
    const std::string job = Zip(scratch, MinimalXpsPackage());
    const ProcessResult run = RunPrint(job, scratch.File("out.xps"), {"--stop-after", "finishfilter"});
    ASSERT_EQ(0, run.exitCode) << run.err;
    std::vector<std::string> pages;
    EXPECT_TRUE(RenderWithMutool(scratch.File("out.xps"), scratch.Path(), "page", &pages));
    EXPECT_EQ(1u, pages.size());
}

} // namespace
