#pragma once
// The classes of the runner's test plug-in and how each behaves.
#include "platform/com/Guid.h"

enum class TestFilterBehaviour {
    kPassThrough,       // every part on, then the end
    kFailAtFirstPage,   // asks for a shutdown with E_INVALIDARG at the first page
    kQuitAtFirstPage,   // returns at the first page without a word, as if done
    kNeverClose,        // passes every part on but never closes its sender
};

struct TestFilterClass {
    CLSID classId;
    TestFilterBehaviour behaviour;
};

inline constexpr TestFilterClass kTestFilterClasses[] = {
    {GuidLiteral("{0A000000-0000-4000-8000-000000000001}"), TestFilterBehaviour::kPassThrough},
    {GuidLiteral("{0A000000-0000-4000-8000-000000000002}"), TestFilterBehaviour::kFailAtFirstPage},
    {GuidLiteral("{0A000000-0000-4000-8000-000000000003}"), TestFilterBehaviour::kQuitAtFirstPage},
    {GuidLiteral("{0A000000-0000-4000-8000-000000000004}"), TestFilterBehaviour::kNeverClose},
};
