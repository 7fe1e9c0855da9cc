#pragma once
// The job information the driver's user interface stores in the job ticket's private properties
// JobInfoData, JobSettingData and JobSecretFunctionData.
#include <cstdint>
#include <string>

#include "framework/TicketDocument.h"

struct JobInfoRecord {
    std::string userName;             // DefaultUserName
    std::string computerName;         // ComputerName
    std::int32_t codePage = 1252;     // CodePage
    std::uint32_t separateTrayMode = 0;  // SeparateTrayMode "Off" 0, "On" 1
    std::string divideCondition;      // DivideCondition
    std::int16_t bandingPortraitFlag = 0;
    std::int16_t bandingPortraitSize = 0;
    std::int16_t bandingLandscapeFlag = 0;
    std::int16_t bandingLandscapeSize = 0;
    bool halftoneReduction = false;   // HalftoneReduction "On" / "Off"
    bool draftMode = false;           // DraftMode "On" / "Off"

    friend bool operator==(const JobInfoRecord&, const JobInfoRecord&) = default;
};

// Fills record from the job ticket; absent data keeps the record's values and is no failure.
// Every container is read; the first failure is returned.
HRESULT ReadJobInfo(const CTicketDocument& document, JobInfoRecord* record);
