#pragma once
// The printer of a job and the user's ticket for it.
#include <string>

// A printer named on the command line: a printer description file is registered and gives its
// declared name; any other text must name a known printer; empty is the built-in printer.
// False with a one-line *error.
bool ResolvePrinter(const std::string& nameOrFile, std::string* printerName, std::string* error);

// The per-user ticket of a job: the printer's default ticket, with the user's ticket file (when
// given) merged over it and validated, so that the filters always start from a complete ticket.
// False with a one-line *error naming the file.
bool ResolveUserTicket(const std::string& printerName, const std::string& ticketPath, std::string* ticketXml,
                       std::string* error);
