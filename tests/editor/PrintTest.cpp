// Printing through a PostScript file printer that the test adds: Wine has no printers of its own.
#include "editor/NvRichEd.h"
#include "tests/support/TestHost.h"

#include <commdlg.h>
#include <winspool.h>

#include <gtest/gtest.h>

namespace nv {
namespace {

const char kPrinterName[] = "Notova Test PostScript";

// Adds the printer once per process; answers its name, or empty with the reason in `why`.
std::string EnsureFilePrinter(std::string& why) {
    static std::string name, failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        // The PostScript driver's generic PPD ships as a resource of winspool.drv.
        HMODULE spool = ::LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        HRSRC resource = spool ? ::FindResourceA(spool, MAKEINTRESOURCEA(1), "PPDFILE") : nullptr;
        HGLOBAL loaded = resource ? ::LoadResource(spool, resource) : nullptr;
        const void* ppd = loaded ? ::LockResource(loaded) : nullptr;
        if (!ppd) {
            failure = "winspool.drv has no PPDFILE resource";
        } else {
            // Written straight into the driver folder: that is where the driver looks for it.
            char dir[MAX_PATH] = {};
            DWORD size = 0;
            ::GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &size);
            const std::string ppdPath = std::string(dir) + "\\notova-generic.ppd";
            test::WriteFileBytes(ppdPath, std::string(static_cast<const char*>(ppd), ::SizeofResource(spool, resource)));
            DRIVER_INFO_3A driver{};
            driver.cVersion = 3;
            driver.pName = const_cast<char*>(kPrinterName);
            driver.pDriverPath = const_cast<char*>("wineps.drv");
            driver.pDataFile = const_cast<char*>(ppdPath.c_str());
            driver.pConfigFile = const_cast<char*>("wineps.drv");
            if (!::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
                ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
                failure = "AddPrinterDriverExA failed: " + std::to_string(::GetLastError());
            } else {
                PRINTER_INFO_2A info{};
                info.pPrinterName = const_cast<char*>(kPrinterName);
                info.pPortName = const_cast<char*>("FILE:");
                info.pDriverName = const_cast<char*>(kPrinterName);
                info.pPrintProcessor = const_cast<char*>("WinPrint");
                info.pDatatype = const_cast<char*>("RAW");
                HANDLE printer = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
                if (printer) ::ClosePrinter(printer);
                if (printer || ::GetLastError() == ERROR_PRINTER_ALREADY_EXISTS) {
                    ::SetDefaultPrinterA(kPrinterName);
                    name = kPrinterName;
                } else {
                    failure = "AddPrinterA failed: " + std::to_string(::GetLastError());
                }
            }
        }
        if (spool) ::FreeLibrary(spool);
    }
    why = failure;
    return name;
}

int Count(const std::string& haystack, const std::string& needle) {
    int n = 0;
    for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++n;
    return n;
}

class PrintText : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        const std::string printerName = EnsureFilePrinter(why);
        if (printerName.empty()) GTEST_SKIP() << "no file printer could be added: " << why;
        // The default printer's DC, as the print dialog hands it to the program.
        PRINTDLGA dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        ASSERT_TRUE(::PrintDlgA(&dialog)) << "PrintDlg error " << ::CommDlgExtendedError();
        printer.reset(dialog.hDC);
        if (dialog.hDevMode) ::GlobalFree(dialog.hDevMode);
        if (dialog.hDevNames) ::GlobalFree(dialog.hDevNames);
        ASSERT_TRUE(printer) << "the default printer's DC";
        field.CreateWnd(host.Handle(), host.Client(), 100);
    }

    std::string Print(const std::string& title, int* pages = nullptr) {
        const std::string out = dir.File("out.ps");
        const int n = field.PrintText(title, PrintTarget{printer.get(), out});
        if (pages) *pages = n;
        return test::ReadFileBytes(out);
    }

    test::TestHost host;
    TNvRichEdit field;
    MemoryDC printer;
    test::TempDir dir;
};

TEST_F(PrintText, EmptyTextPrintsOneEmptyPageWithTheTitle) {
    ::SetMapMode(printer.get(), MM_LOENGLISH);
    int pages = 0;
    const std::string ps = Print("C:\\docs\\notes.txt", &pages);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
    EXPECT_EQ(Count(ps, "%%Page:"), 1);
    EXPECT_NE(ps.find("notes.txt"), std::string::npos) << "the job carries its title";
    EXPECT_EQ(::GetMapMode(printer.get()), MM_LOENGLISH) << "the mapping mode is restored";
}

std::string LongText() {
    std::string text;
    for (int i = 0; i < 400; ++i) text += "Line " + std::to_string(i) + " of a text long enough for pages\r\n";
    return text;
}

TEST_F(PrintText, EndsWhenTheControlReportsNoProgress) {
    // Wine's control answers 0 for every page; the loop must still end, with whole pages.
    field.SetWholeText(LongText());
    int pages = 0;
    const std::string ps = Print("", &pages);
    EXPECT_GE(pages, 1);
    EXPECT_EQ(Count(ps, "%%Page:"), pages);
    EXPECT_NE(ps.find("%%EOF"), std::string::npos) << "the job was ended";
}

TEST_F(PrintText, LongTextSpansSeveralPages) {
    field.SetWholeText(LongText());
    int pages = 0;
    Print("", &pages);
    if (pages == 1) GTEST_SKIP() << "Wine's EM_FORMATRANGE draws nothing and reports no progress, so page breaks cannot be checked";
    EXPECT_GT(pages, 3);
}

} // namespace
} // namespace nv
