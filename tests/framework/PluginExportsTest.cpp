// Each filter plug-in loaded as a host loads it: its exports, its one class, its unload query,
// its version information and its trace registration.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "framework/ModuleEntry.h"
#include "platform/module/Module.h"
#include "platform/com/Stream.h"
#include "platform/module/ModuleVersion.h"
#include "platform/pipeline/PipelineFilter.h"
#include "platform/trace/Trace.h"

namespace {

struct PluginRow {
    const char* moduleName;  // as a pipeline configuration names it
    const char* deliverable;
    const char* role;
    GUID classId;
    GUID traceGuid;
    bool required;           // the RIP filter is required once its target is part of the build
};

#ifdef XPSCHAIN_RIP_FILTER_BUILT
constexpr bool kRipRequired = true;
#else
constexpr bool kRipRequired = false;
#endif

const PluginRow kPlugins[] = {
    {"PREPFILTER.DLL", "prepfilter", "preparation", GuidLiteral("{E16B816C-D1FB-43C8-9B0F-0D68ACAC1A40}"),
     GuidLiteral("{E068A897-BE77-4097-B29E-5AD3615EA48A}"), true},
    {"ORDERFILTER.DLL", "orderfilter", "order", GuidLiteral("{0338B91C-FB1A-409B-B13C-F0AE34025A82}"),
     GuidLiteral("{977A71CB-A363-413E-A5C2-E68D4BB3CD62}"), true},
    {"LAYOUTFILTER.DLL", "layoutfilter", "layout", GuidLiteral("{565E8DF1-288C-4EAE-BAAC-6DAE5096C63D}"),
     GuidLiteral("{B4F49D45-28DE-40AC-B557-E642AC539303}"), true},
    {"FINISHFILTER.DLL", "finishfilter", "finisher", GuidLiteral("{ACF994F0-C691-4546-8141-A7F794D3CE3E}"),
     GuidLiteral("{4C7B822B-2F4B-4EA6-95D8-E9584C57D467}"), true},
    {"RIPFILTER.DLL", "ripfilter", "RIP", GuidLiteral("{4048888E-2F5E-491B-9AF4-5963D0011F0F}"),
     GuidLiteral("{70EADFF1-3577-4A36-B037-297EB87A51C0}"), kRipRequired},
};

using GetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);
using CanUnloadNowFunction = HRESULT (*)();

class PluginExportsTest : public testing::TestWithParam<PluginRow> {
protected:
    void SetUp() override
    {
        const PluginRow& row = GetParam();
        const std::string path = std::string(XPSCHAIN_PLUGIN_DIR) + "/" + row.moduleName;
        if (!row.required && !std::filesystem::exists(std::string(XPSCHAIN_PLUGIN_DIR) + "/" + ModuleFileNameFor(row.moduleName))) {
            GTEST_SKIP() << row.deliverable << " is not built";
        }
        module = LoadLibraryW(path);
        ASSERT_NE(module, nullptr) << ModuleLastError();
        getClassObject = reinterpret_cast<GetClassObjectFunction>(GetProcAddress(module, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<CanUnloadNowFunction>(GetProcAddress(module, "DllCanUnloadNow"));
        ASSERT_NE(getClassObject, nullptr) << ModuleLastError();
        ASSERT_NE(canUnloadNow, nullptr) << ModuleLastError();
    }
    void TearDown() override
    {
        if (module) {
            EXPECT_TRUE(FreeLibrary(module)) << ModuleLastError();
        }
    }

    HMODULE module = nullptr;
    GetClassObjectFunction getClassObject = nullptr;
    CanUnloadNowFunction canUnloadNow = nullptr;
};

TEST_P(PluginExportsTest, AnotherClassIdIsNotAvailableAndGivesNoObject)
{
    void* object = reinterpret_cast<void*>(this);
    EXPECT_EQ(getClassObject(GuidLiteral("{00000000-1111-2222-3333-444444444444}"), IPrintPipelineFilter::kIid, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(GetParam().classId, IPrintPipelineFilter::kIid, nullptr), E_POINTER);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_P(PluginExportsTest, AnUnansweredInterfaceLeavesNoObjectAlive)
{
    for (const IID& iid : {IXpsDocumentProvider::kIid, IPrintPipelineManagerControl::kIid, IStream::kIid}) {
        void* object = reinterpret_cast<void*>(this);
        EXPECT_EQ(getClassObject(GetParam().classId, iid, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
}

TEST_P(PluginExportsTest, UnloadIsRefusedWhileAFilterLives)
{
    for (const IID& iid : {IPrintPipelineFilter::kIid, IUnknown::kIid}) {
        void* object = nullptr;
        ASSERT_EQ(getClassObject(GetParam().classId, iid, &object), S_OK);
        ASSERT_NE(object, nullptr);
        auto* filter = static_cast<IUnknown*>(object);
        EXPECT_EQ(canUnloadNow(), S_FALSE);
        EXPECT_EQ(filter->AddRef(), 2u);
        EXPECT_EQ(filter->Release(), 1u);
        EXPECT_EQ(canUnloadNow(), S_FALSE);
        EXPECT_EQ(filter->Release(), 0u);
        EXPECT_EQ(canUnloadNow(), S_OK);
    }
}

TEST_P(PluginExportsTest, OnlyTheModuleEntryIsExported)
{
    EXPECT_NE(GetProcAddress(module, "DllMain"), nullptr);
    EXPECT_NE(GetProcAddress(module, kVersionInfoExport), nullptr);
    // The framework inside each plug-in stays its own: none of it is visible to the host or the
    // other plug-ins.
    for (const char* hidden : {"_Z21ModuleLiveObjectCountv", "_Z12TraceEnabledj", "_ZN11CFilterBase17ShutdownOperationEv"})
        EXPECT_EQ(GetProcAddress(module, hidden), nullptr) << hidden;
}

TEST_P(PluginExportsTest, VersionInformationNamesTheRoleAndPlatform)
{
    ModuleVersionInfo version;
    ASSERT_EQ(GetModuleVersionInfo(module, &version), S_OK);
    EXPECT_EQ(std::string(version.fileDescription),
              std::string("xpschain ") + GetParam().role + " filter (" + XPSCHAIN_PLATFORM_NAME + ")");
    EXPECT_STREQ(version.fileVersion, "1.2.0.0");
    EXPECT_STREQ(version.internalName, GetParam().deliverable);
}

TEST_P(PluginExportsTest, ModuleHandleAndFileAreTheLoadedLibrary)
{
    EXPECT_EQ(ModuleHandleFromAddress(reinterpret_cast<const void*>(getClassObject)), module);
    EXPECT_EQ(std::filesystem::path(GetModuleFileNameW(module)).filename(), ModuleFileNameFor(GetParam().moduleName));
}

TEST_P(PluginExportsTest, TraceControllerReachesTheDeliverable)
{
    // The detach message is sent only while the controller has the module flag enabled.
    ASSERT_EQ(EnableTraceProvider(GetParam().traceGuid, kTraceLevelVerbose, 0x4), 0u);
    testing::internal::CaptureStderr();
    ASSERT_TRUE(FreeLibrary(module));
    module = nullptr;
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find(std::string(GetParam().deliverable) + " detached"), std::string::npos) << messages;
    // Unloaded, the deliverable is no longer registered.
    EXPECT_EQ(EnableTraceProvider(GetParam().traceGuid, kTraceLevelVerbose, 0x4), ERROR_NOT_FOUND);
}

std::string RowName(const testing::TestParamInfo<PluginRow>& info) { return info.param.deliverable; }

INSTANTIATE_TEST_SUITE_P(Deliverables, PluginExportsTest, testing::ValuesIn(kPlugins), RowName);

} // namespace
