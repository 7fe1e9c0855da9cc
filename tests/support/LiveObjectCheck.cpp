#include "tests/support/LiveObjectCheck.h"

#include "framework/ComBase.h"
#include "platform/com/Bstr.h"
#include "platform/xml/XmlDocument.h"

void CLiveObjectListener::OnTestStart(const testing::TestInfo&)
{
    stringsAtStart = SysLiveStringCount();
    documentsAtStart = CXmlDocument::LiveCount();
}

void CLiveObjectListener::OnTestEnd(const testing::TestInfo& test)
{
    EXPECT_EQ(ModuleLiveObjectCount(), 0) << test.name() << " left COM objects alive";
    EXPECT_EQ(SysLiveStringCount(), stringsAtStart) << test.name() << " leaked BSTRs";
    EXPECT_EQ(CXmlDocument::LiveCount(), documentsAtStart) << test.name() << " left XML documents alive";
}
