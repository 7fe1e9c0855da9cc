#include "tests/rip/CallLog.h"

#include <gtest/gtest.h>

#include "platform/com/Bstr.h"

namespace {

class LineParser {
public:
    explicit LineParser(std::string_view line) : s_(line) {}

    bool Parse(LoggedCall* call)
    {
        if (!Take('{'))
            return false;
        while (true) {
            std::string key, value;
            if (!String(&key) || !Take(':') || !Value(&value))
                return false;
            call->fields[key] = value;
            if (Take('}'))
                return i_ == s_.size();
            if (!Take(','))
                return false;
        }
    }

private:
    bool Take(char c)
    {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    bool String(std::string* out)
    {
        if (!Take('"'))
            return false;
        // \u escapes are UTF-16 code units: a run of them, surrogate pairs included, converts at once.
        std::u16string units;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (c == '\\' && i_ < s_.size() && s_[i_] == 'u') {
                if (i_ + 5 > s_.size())
                    return false;
                units += static_cast<char16_t>(std::stoul(std::string(s_.substr(i_ + 1, 4)), nullptr, 16));
                i_ += 5;
                continue;
            }
            *out += Utf16ToUtf8(units);
            units.clear();
            if (c == '\\') {
                if (i_ >= s_.size())
                    return false;
                c = s_[i_++];
            }
            *out += c;
        }
        *out += Utf16ToUtf8(units);
        return Take('"');
    }

    bool Value(std::string* out)
    {
        if (i_ < s_.size() && s_[i_] == '"')
            return String(out);
        const std::size_t start = i_;
        if (Take('[')) {
            while (i_ < s_.size() && s_[i_] != ']')
                ++i_;
            if (!Take(']'))
                return false;
        } else {
            while (i_ < s_.size() && s_[i_] != ',' && s_[i_] != '}')
                ++i_;
        }
        *out = std::string(s_.substr(start, i_ - start));
        return i_ > start;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

} // namespace

std::string LoggedCall::Brief() const
{
    const std::string& call = Call();
    if (call == "XPSStartElem" || call == "XPSEndElem")
        return call + " " + Get("name");
    if (call == "XPSReadAtt")
        return call + " " + Get("name") + "=" + Get("value");
    return call;
}

std::vector<LoggedCall> ParseCallLog(std::string_view log)
{
    std::vector<LoggedCall> calls;
    while (!log.empty()) {
        const std::size_t end = log.find('\n');
        const std::string_view line = log.substr(0, end);
        log = end == std::string_view::npos ? std::string_view() : log.substr(end + 1);
        LoggedCall call;
        if (LineParser(line).Parse(&call))
            calls.push_back(std::move(call));
        else
            ADD_FAILURE() << "malformed call log line: " << line;
    }
    return calls;
}

std::vector<std::string> MarkupCalls(const std::vector<LoggedCall>& calls)
{
    std::vector<std::string> out;
    for (const LoggedCall& call : calls) {
        const std::string& name = call.Call();
        if (name == "XPSStartElem" || name == "XPSReadAtt" || name == "XPSEndElem" || name == "XPSEndCurElem")
            out.push_back(call.Brief());
    }
    return out;
}
