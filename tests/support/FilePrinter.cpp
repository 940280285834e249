#include "tests/support/FilePrinter.h"

#include "tests/support/TestHost.h"

#include <windows.h>
#include <winspool.h>

#include <map>
#include <sstream>

namespace nv::test {

const char kFilePrinterName[] = "Notova Test PostScript";

namespace {

bool PrinterExists() {
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(kFilePrinterName), &printer, nullptr)) return false;
    ::ClosePrinter(printer);
    return true;
}

std::string AddPrinter() {
    // The PostScript driver's generic PPD ships as a resource of winspool.drv.
    HMODULE spool = ::LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = spool ? ::FindResourceA(spool, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
    HGLOBAL loaded = resource ? ::LoadResource(spool, resource) : nullptr;
    const void* ppd = loaded ? ::LockResource(loaded) : nullptr;
    std::string failure;
    if (!ppd) {
        failure = "winspool.drv has no PPDFILE resource";
    } else {
        // Written straight into the driver folder: that is where the driver looks for it.
        char dir[MAX_PATH] = {};
        DWORD size = 0;
        ::GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &size);
        const std::string ppdPath = std::string(dir) + "\\notova-generic.ppd";
        WriteFileBytes(ppdPath, std::string(static_cast<const char*>(ppd), ::SizeofResource(spool, resource)));
        DRIVER_INFO_3A driver{};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>(kFilePrinterName);
        driver.pDriverPath = const_cast<char*>("wineps.drv");
        driver.pDataFile = const_cast<char*>(ppdPath.c_str());
        driver.pConfigFile = const_cast<char*>("wineps.drv");
        if (!::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
            ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
            failure = "AddPrinterDriverExA failed: " + std::to_string(::GetLastError());
        } else {
            PRINTER_INFO_2A info{};
            info.pPrinterName = const_cast<char*>(kFilePrinterName);
            info.pPortName = const_cast<char*>("FILE:");
            info.pDriverName = const_cast<char*>(kFilePrinterName);
            info.pPrintProcessor = const_cast<char*>("WinPrint");
            info.pDatatype = const_cast<char*>("RAW");
            HANDLE printer = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
            if (printer) ::ClosePrinter(printer);
            if (!printer && ::GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
                failure = "AddPrinterA failed: " + std::to_string(::GetLastError());
            }
        }
    }
    if (spool) ::FreeLibrary(spool);
    return failure;
}

// Wine's driver names the glyphs of the characters it shows.
char GlyphCharacter(const std::string& name) {
    static const std::map<std::string, char> named = {
        {"space", ' '}, {"zero", '0'}, {"one", '1'},   {"two", '2'},    {"three", '3'},  {"four", '4'},
        {"five", '5'},  {"six", '6'},  {"seven", '7'}, {"eight", '8'},  {"nine", '9'},   {"period", '.'},
        {"comma", ','}, {"hyphen", '-'}, {"colon", ':'}, {"slash", '/'}, {"underscore", '_'}};
    if (name.size() == 1) return name[0];
    const auto found = named.find(name);
    return found == named.end() ? '?' : found->second;
}

} // namespace

std::string EnsureFilePrinter(std::string& why) {
    why.clear();
    if (!PrinterExists()) why = AddPrinter();
    if (!why.empty()) return {};
    ::SetDefaultPrinterA(kFilePrinterName);
    return kFilePrinterName;
}

bool RemoveFilePrinter() {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!::OpenPrinterA(const_cast<char*>(kFilePrinterName), &printer, &access)) return !PrinterExists();
    const bool deleted = ::DeletePrinter(printer) != FALSE;
    ::ClosePrinter(printer);
    return deleted && !PrinterExists();
}

std::vector<std::string> InstalledPrinters() {
    DWORD needed = 0, count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    std::vector<std::string> names;
    if (!::EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buffer.data(), needed,
                         &needed, &count)) {
        return names;
    }
    const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) names.emplace_back(info[i].pPrinterName ? info[i].pPrinterName : "");
    return names;
}

std::vector<std::vector<std::string>> PrintedPages(const std::string& postScript) {
    std::vector<std::vector<std::string>> pages;
    std::istringstream lines(postScript);
    std::string line;
    bool startLine = true;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("%%Page:", 0) == 0) {
            pages.emplace_back();
            startLine = true;
        } else if (pages.empty()) {
            continue;
        } else if (line.size() > 8 && line.compare(line.size() - 7, 7, " moveto") == 0) {
            startLine = true;
        } else if (line.size() > 11 && line[0] == '/' && line.compare(line.size() - 10, 10, " glyphshow") == 0) {
            if (startLine) pages.back().emplace_back();
            startLine = false;
            pages.back().back() += GlyphCharacter(line.substr(1, line.size() - 11));
        }
    }
    return pages;
}

std::string PrintedTitle(const std::string& postScript) {
    const std::string key = "%%Title:";
    const size_t at = postScript.find(key);
    if (at == std::string::npos) return "(none)";
    const size_t end = postScript.find_first_of("\r\n", at);
    std::string title = postScript.substr(at + key.size(), end - at - key.size());
    if (!title.empty() && title.front() == ' ') title.erase(0, 1);
    return title;
}

} // namespace nv::test
