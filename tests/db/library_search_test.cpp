// The folders of PATH that a client library is looked for in.
#include "db/library_search.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

struct PathCase {
    const char* name;
    QString value;
    char separator;
    QStringList folders;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

class AbsolutePathFoldersTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(AbsolutePathFoldersTest, KeepsAbsoluteFoldersOnceInOrder) {
    const PathCase& c = GetParam();
    EXPECT_EQ(absolutePathFolders(c.value, QChar::fromLatin1(c.separator)), c.folders);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AbsolutePathFoldersTest,
    ::testing::Values(
        PathCase{"WindowsOrderKept",
                 QStringLiteral(R"(D:\ic_23;C:\Windows\system32)"),
                 ';',
                 {QStringLiteral(R"(D:\ic_23)"), QStringLiteral(R"(C:\Windows\system32)")}},
        // Each of these would make the search depend on the current drive or folder.
        PathCase{"WindowsRelativeEntriesDropped",
                 QStringLiteral(R"(.;bin;C:ic;\ic;;  ;..\x;E:/oracle/ic)"),
                 ';',
                 {QStringLiteral("E:/oracle/ic")}},
        PathCase{"WindowsQuotesTakenOff",
                 QStringLiteral(R"("C:\Program Files\ic";"relative")"),
                 ';',
                 {QStringLiteral(R"(C:\Program Files\ic)")}},
        PathCase{"WindowsUncPathKept",
                 QStringLiteral(R"(\\server\share\ic)"),
                 ';',
                 {QStringLiteral(R"(\\server\share\ic)")}},
        // Windows compares folders without regard to case, slash kind or a closing slash.
        PathCase{"WindowsRepeatsDropped",
                 QStringLiteral(R"(C:\IC\;c:\ic;C:/ic/;C:\;c:\)"),
                 ';',
                 {QStringLiteral(R"(C:\IC\)"), QStringLiteral(R"(C:\)")}},
        // On Unix case counts, and a bare name or "." is not a folder.
        PathCase{"UnixRules",
                 QStringLiteral("/opt/ic:.::lib:/opt/IC:/opt/ic/"),
                 ':',
                 {QStringLiteral("/opt/ic"), QStringLiteral("/opt/IC")}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::db
