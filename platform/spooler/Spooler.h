#pragma once
// The spooler view: what the print system knows about jobs and printers. The host fills it
// (job id, document name, submission time, user, driver directory); the filters read it and
// watch a job for cancellation.
#include <cstdint>
#include <string>

#include "platform/com/Hresult.h"

inline constexpr std::uint32_t JOB_STATUS_PAUSED = 0x1;
inline constexpr std::uint32_t JOB_STATUS_ERROR = 0x2;
inline constexpr std::uint32_t JOB_STATUS_DELETING = 0x4;
inline constexpr std::uint32_t JOB_STATUS_PRINTING = 0x10;
inline constexpr std::uint32_t JOB_STATUS_DELETED = 0x100;

// The level-1 view of a job.
struct JobInfo {
    std::uint32_t jobId = 0;
    std::string printerName;
    std::string machineName;
    std::string userName;
    std::string document;
    std::string dataType = "XPS";
    std::uint32_t status = 0;
    std::int64_t submittedUnixSeconds = 0;  // submission time, UTC
    std::uint32_t totalPages = 0;
    std::uint32_t pagesPrinted = 0;
};

using HPRINTER = struct SpoolerPrinter*;

// Host side: publish a job, change its status (cancellation sets JOB_STATUS_DELETING), forget it.
void SpoolerAddJob(const JobInfo& job);
void SpoolerSetJobStatus(std::uint32_t jobId, std::uint32_t status);
void SpoolerRemoveJob(std::uint32_t jobId);
// The printers known by name; OpenPrinterW fails for others.
void SpoolerAddPrinter(const std::string& printerName);
void SpoolerSetPrinterDriverDirectory(const std::string& directory);

// Filter side.
// Fails with HRESULT_FROM_WIN32(ERROR_INVALID_PRINTER_NAME) for an unknown printer.
HRESULT OpenPrinterW(const std::string& printerName, HPRINTER* printer);
void ClosePrinter(HPRINTER printer);
// ResultNotFound when the printer has no such job.
HRESULT GetJobW(HPRINTER printer, std::uint32_t jobId, JobInfo* job);
// The directory of the printer driver's files (the converter libraries live below it).
std::string GetPrinterDriverDirectoryW();
