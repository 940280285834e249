// A PostScript printer that writes to a file, added by the tests (Wine has no printers of its own),
// and a reader for what Wine's PostScript driver writes.
#pragma once

#include <string>
#include <vector>

namespace nv::test {

extern const char kFilePrinterName[];

// Adds the printer unless it is there and makes it the default; answers its name, or empty with
// the reason in `why`.
std::string EnsureFilePrinter(std::string& why);
// Removes the test's printer again; false when it could not.
bool RemoveFilePrinter();
// The names of the printers installed.
std::vector<std::string> InstalledPrinters();

// The text drawn on each page of a PostScript job, one string per line drawn (Wine's driver shows
// each character by its glyph name; a move starts a new line).
std::vector<std::vector<std::string>> PrintedPages(const std::string& postScript);
// The job's title as the document's header comments carry it.
std::string PrintedTitle(const std::string& postScript);

} // namespace nv::test
