#pragma once
// After every test: no COM object of the test binary is alive, and no BSTR or XML document made
// during the test is left. A leak fails the test that made it.
#include <cstdint>

#include <gtest/gtest.h>

class CLiveObjectListener : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;

private:
    std::int64_t stringsAtStart = 0;
    long documentsAtStart = 0;
};
