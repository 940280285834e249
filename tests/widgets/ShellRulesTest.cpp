#include "widgets/ShellRules.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(LinkLabels, PrefixAndCaptionUpTo79Characters) {
    EXPECT_EQ(LabelLink(hmMAIL, "notova@korvel.example"),
              std::optional<std::string>("mailto:notova@korvel.example"));
    EXPECT_EQ(LabelLink(hmHTTP, "www.korvel.example"),
              std::optional<std::string>("http:\\\\www.korvel.example"));
    EXPECT_EQ(LabelLink(hmFTP, "ftp.korvel.example"), std::optional<std::string>("ftp:\\\\ftp.korvel.example"));
    EXPECT_EQ(LabelLink(hmCUSTOM, "anything"), std::nullopt) << "a custom label opens nothing";

    const std::string fits(79 - 7, 'a'), tooLong(79 - 7 + 1, 'a');
    EXPECT_EQ(LabelLink(hmMAIL, fits)->size(), 79u);
    EXPECT_EQ(LabelLink(hmMAIL, tooLong), std::nullopt) << "refused, not cut to another address";
}

TEST(DocumentLinks, OnlyWebAndMailAddressesReachTheShell) {
    const struct {
        const char* link;
        const char* opens; // nullptr: refused
    } cases[] = {
        {"http://korvel.example/a?b=c", "http://korvel.example/a?b=c"},
        {"HTTPS://korvel.example", "HTTPS://korvel.example"},
        {"ftp://files.korvel.example/x", "ftp://files.korvel.example/x"},
        {"mailto:someone@korvel.example", "mailto:someone@korvel.example"},
        {"www.korvel.example", "http://www.korvel.example"}, // a bare host, never a program's name
        {"ftp.korvel.example", "ftp://ftp.korvel.example"},
        {"file:///C:/windows/system32/calc.exe", nullptr},
        {"file://server/share/run.bat", nullptr},
        {"notes://server/db", nullptr},
        {"ms-settings:", nullptr},
        {"javascript:alert(1)", nullptr},
        {"C:\\windows\\notepad.exe", nullptr},
        {"http:", nullptr},
        {"www.", nullptr},
        {"", nullptr},
        {"http://a\"b", nullptr},
        {"http://a\r\nb", nullptr},
    };
    for (const auto& c : cases) {
        const auto opened = ShellLinkFor(c.link);
        if (c.opens) {
            EXPECT_EQ(opened, std::optional<std::string>(c.opens)) << c.link;
        } else {
            EXPECT_EQ(opened, std::nullopt) << c.link;
        }
    }
}

TEST(ShellPaths, WildcardsAreStarAndQuestionMark) {
    EXPECT_TRUE(HasWildcards("*.txt"));
    EXPECT_TRUE(HasWildcards("note?.txt"));
    EXPECT_FALSE(HasWildcards("notes.txt"));
    EXPECT_FALSE(HasWildcards(""));
}

} // namespace
} // namespace nv
