#pragma once
// What the end-to-end tests share: where the programs and the corpus are, running xpschain, and
// rendering packages with independent readers.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/ProcessRun.h"
#include "tests/support/TestPackages.h"

inline const std::string kXpsChain = XPSCHAIN_BIN;
inline const std::string kXpsGen = XPSGEN_BIN;
inline const std::string kSourceDirectory = XPSCHAIN_SOURCE_DIR;

// xpschain print JOB -o OUT with further arguments.
ProcessResult RunPrint(const std::string& job, const std::string& output, const std::vector<std::string>& more = {});

// Every file of a corpus folder ("broken"), sorted by name; the packages of xps/ are CorpusPackages().
std::vector<std::filesystem::path> CorpusFiles(const std::string& folder);

// Renders every page of a package at 36 dpi into directory as <prefix>-<n> images; the image
// files in page order, or false when the tool refuses the package.
bool RenderWithMutool(const std::string& package, const std::string& directory, const std::string& prefix,
                      std::vector<std::string>* pages);
bool RenderWithXpsToPng(const std::string& package, const std::string& directory, const std::string& prefix,
                        std::vector<std::string>* pages);

// The message xpschain printed for a failed job, without its "xpschain: JOB: " lead.
std::string FailureReason(const ProcessResult& result, const std::string& job);
