#pragma once
// Test jobs made in code: pages of text in an embedded TrueType font, vector paths and a small
// image, with print tickets at the levels asked for. Pages are made one at a time and sent on,
// so a job of any length takes the memory of one page.
#include <string>

#include "platform/pipeline/XpsDocumentFlow.h"

struct JobGenSettings {
    int documents = 1;
    int pagesPerDocument = 1;
    int linesPerPage = 40;
    bool paths = true;
    bool image = true;
    bool obfuscateFont = false;  // embed the font as an obfuscated (ODTTF) part
    bool openXps = false;        // the OpenXPS namespace instead of XPS 1.0
    double pageWidth = 816;      // 1/96 inch: US Letter
    double pageHeight = 1056;
    // Print tickets at each level; empty for none. DefaultTicket gives a small valid one.
    std::string jobTicket;
    std::string documentTicket;
    std::string pageTicket;
    // A TrueType file to embed; empty looks for DejaVu Sans.
    std::string fontPath;
};

enum class TicketLevel { Job, Document, Page };
// A small print ticket of the level, in the public Print Schema keywords.
std::string DefaultTicket(TicketLevel level);

// Sends the whole job to consumer, ending with CloseSender. *error (optional) says what failed.
HRESULT SendGeneratedJob(IXpsDocumentConsumer* consumer, const JobGenSettings& settings, std::string* error);
// Writes the job as an XPS package at path.
HRESULT GenerateXpsJob(const std::string& path, const JobGenSettings& settings, std::string* error);
