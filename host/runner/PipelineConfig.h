#pragma once
// The pipeline configuration: the filters of the chain, in order, with the plug-in library and the
// class identifier of each, and what the last one writes.
//
//   <Pipeline>
//     <Filter name="prepfilter" library="libprepfilter.so" clsid="{E16B816C-...}"/>
//     <Filter name="ripfilter" library="libripfilter.so" clsid="{4048888E-...}" output="device"/>
//   </Pipeline>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/Guid.h"

// What a filter writes: parts for the next filter or the package writer, or the device data.
enum class FilterOutput { kXps, kDevice };

struct FilterEntry {
    std::string name;     // "layoutfilter": the name --stop-after and messages use
    std::string library;  // a file name in the plug-in directory, "liblayoutfilter.so"
    CLSID clsid;
    FilterOutput output = FilterOutput::kXps;
};

struct PipelineConfig {
    std::vector<FilterEntry> filters;
};

// Parses configuration text. False with a one-line *error (with the line) for markup that is not
// well-formed, an unknown element or attribute, a missing or malformed name, library or class
// identifier, a library path with a directory in it, a name given twice, no filter at all, or a
// device-data filter that is not the last.
bool ParsePipelineConfig(std::string_view text, PipelineConfig* config, std::string* error);
bool ReadPipelineConfig(const std::string& path, PipelineConfig* config, std::string* error);
// The five filters of the driver, as in examples/pipeline.xml.
PipelineConfig DefaultPipelineConfig();

// The filters up to and including the one named last; false with *error when none has that name.
bool TruncatePipeline(PipelineConfig* config, std::string_view last, std::string* error);
