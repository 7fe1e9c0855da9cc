#pragma once
// Reads the reference converter's call log (docs/converter.md): one flat JSON object per line
// with string, number and number-array values. Strings come back in UTF-8, numbers and arrays as
// their JSON text.
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct LoggedCall {
    std::map<std::string, std::string> fields;

    const std::string& Call() const { return Get("call"); }
    const std::string& Get(const std::string& key) const
    {
        static const std::string none = "<absent>";
        const auto it = fields.find(key);
        return it == fields.end() ? none : it->second;
    }
    long Number(const std::string& key) const { return std::stol(Get(key)); }
    // "XPSStartElem Path", "XPSReadAtt Fill=#FF000000", "XPSEndCurElem": a short form for comparisons.
    std::string Brief() const;
};

// Parses every line of log; a malformed line fails the current test and is skipped.
std::vector<LoggedCall> ParseCallLog(std::string_view log);
// The markup calls of the log (XPSStartElem, XPSReadAtt, XPSEndElem, XPSEndCurElem) in their brief form.
std::vector<std::string> MarkupCalls(const std::vector<LoggedCall>& calls);
