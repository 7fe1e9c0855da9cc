// Module names, loading failures with the loader's reasons, and the program's own module.
#include <string>

#include <gtest/gtest.h>

#include "platform/module/Module.h"
#include "platform/module/ModuleVersion.h"

namespace {

struct NameRow {
    const char* moduleName;
    const char* libraryFile;
};

class ModuleFileNameTest : public testing::TestWithParam<NameRow> {};

TEST_P(ModuleFileNameTest, MapsToTheLibraryFile)
{
    EXPECT_EQ(ModuleFileNameFor(GetParam().moduleName), GetParam().libraryFile);
}

INSTANTIATE_TEST_SUITE_P(Names, ModuleFileNameTest,
                         testing::Values(NameRow{"PRNCORE.DLL", "libprncore.so"}, NameRow{"XpsFeed.dll", "libxpsfeed.so"},
                                         NameRow{"prncore", "libprncore.so"}, NameRow{"libz.so", "libz.so"},
                                         NameRow{"libz.so.1", "libz.so.1"}, NameRow{"Enc64.Dll", "libenc64.so"}));

TEST(Module, AMissingLibraryKeepsTheLoadersReason)
{
    EXPECT_EQ(LoadLibraryW("/nonexistent/directory\\PRNCORE.DLL"), nullptr);
    const std::string reason = ModuleLastError();
    EXPECT_NE(reason.find("/nonexistent/directory/libprncore.so"), std::string::npos) << reason;
}

TEST(Module, AMissingSymbolKeepsTheLoadersReason)
{
    HMODULE module = LoadLibraryW(std::string(XPSCHAIN_PLUGIN_DIR) + "/PREPFILTER.DLL");
    ASSERT_NE(module, nullptr) << ModuleLastError();
    EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
    EXPECT_NE(ModuleLastError().find("NoSuchExport"), std::string::npos) << ModuleLastError();
    EXPECT_TRUE(FreeLibrary(module));
    // Every load is given back once: a further release is refused.
    EXPECT_FALSE(FreeLibrary(module));
}

TEST(Module, TwoLoadsOfOneLibraryShareTheHandle)
{
    const std::string path = std::string(XPSCHAIN_PLUGIN_DIR) + "/ORDERFILTER.DLL";
    HMODULE first = LoadLibraryW(path);
    HMODULE second = LoadLibraryW(path);
    ASSERT_NE(first, nullptr) << ModuleLastError();
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    // Still loaded through the second load.
    EXPECT_NE(GetProcAddress(second, "DllGetClassObject"), nullptr);
    EXPECT_TRUE(FreeLibrary(second));
}

TEST(Module, TheProgramHasNoVersionInformation)
{
    ModuleVersionInfo version;
    EXPECT_EQ(GetModuleVersionInfo(nullptr, &version), ResultNotFound);
    EXPECT_FALSE(GetModuleFileNameW(nullptr).empty());
}

} // namespace
