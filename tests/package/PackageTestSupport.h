#pragma once
// Helpers of the package tests: scratch folders, small ZIPs made with libzip, part contents,
// external commands. The corpus, the independent reading of written packages and the check that
// every test ends with nothing left alive come from tests/support.
#include <string>
#include <utility>
#include <vector>

#include "platform/com/ComPtr.h"
#include "platform/pipeline/XpsDocumentFlow.h"
#include "tests/support/TestPackages.h"

// A folder removed with its contents at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

struct ZipItem {
    std::string name;
    std::string content;
};
// Writes a ZIP of the items in order, deflated.
void WriteZip(const std::string& path, const std::vector<ZipItem>& items);
// The items of a minimal valid XPS package of one page; page markup and extra items as given.
std::vector<ZipItem> MinimalPackage(const std::string& pageMarkup, const std::string& pageRels = {});
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// The content of any part (IPartBase).
std::string PartContent(IUnknown* part);

// One part as a provider yields it: its kind ("package", "sequence", "document", "page") and name.
struct YieldedPart {
    std::string kind;
    std::string uri;
    ComPtr<IUnknown> part;
};
// Pulls every part of provider; *result is the failure that ended it, or S_OK.
std::vector<YieldedPart> DrainProvider(IXpsDocumentProvider* provider, HRESULT* result);
// Reads the package at input and writes it straight to output; fails the test on any error.
void CopyPackage(const std::string& input, const std::string& output);

// Runs a shell command; gives its exit status and standard output + error.
std::pair<int, std::string> RunCommand(const std::string& command);
// The PNG files of a mutool render at 36 dpi, in page order; empty when mutool fails.
std::vector<std::string> RenderWithMutool(const std::string& package, const std::string& folder);
