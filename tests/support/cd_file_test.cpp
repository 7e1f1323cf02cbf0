#include "support/cd_file.h"

#include "testing/scripted_file_dialog.h"

#include <QObject>

#include <gtest/gtest.h>

namespace quarnel {
namespace {

struct NameCase {
    const char* name;
    QString input;
    QString expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<NameCase>& info) {
    return info.param.name;
}

class GetFileExtTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(GetFileExtTest, TakesWhatFollowsTheLastDot) {
    EXPECT_EQ(clsCDFile::GetFileExt(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, GetFileExtTest,
    ::testing::Values(NameCase{"CaseKept", "list.CSV", "CSV"},
                      NameCase{"LastDotOnly", "a.b.txt", "txt"},
                      NameCase{"DotAtTheEnd", "name.", ""}, NameCase{"DotFirst", ".txt", "txt"},
                      NameCase{"Empty", "", ""}, NameCase{"NoDot", "list", ""},
                      NameCase{"DoesNotStopAtAFolder", "C:\\my.dir\\file", "dir\\file"}),
    caseName);

class WindowsDirectoryPartTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(WindowsDirectoryPartTest, EndsBeforeTheLastSeparator) {
    EXPECT_EQ(directoryPart(GetParam().input, QStringLiteral("\\:"), u'\\'), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, WindowsDirectoryPartTest,
                         ::testing::Values(NameCase{"Folder", "C:\\data\\list.csv", "C:\\data"},
                                           NameCase{"DriveRoot", "C:\\list.csv", "C:"},
                                           NameCase{"DriveRelative", "C:list.csv", "C:"},
                                           NameCase{"BareName", "list.csv", ""}),
                         caseName);

class LinuxDirectoryPartTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(LinuxDirectoryPartTest, EndsBeforeTheLastSlash) {
    EXPECT_EQ(directoryPart(GetParam().input, QStringLiteral("/"), u'/'), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, LinuxDirectoryPartTest,
                         ::testing::Values(NameCase{"Folder", "/home/u/list.csv", "/home/u"},
                                           NameCase{"RootFolder", "/list.csv", ""},
                                           NameCase{"BackslashIsAName", "/a\\b.csv", ""},
                                           NameCase{"BareName", "list.csv", ""}),
                         caseName);

TEST(ComposePath, AddsTheSeparatorOnlyWhereMissing) {
    EXPECT_EQ(composePath("", "a.csv", u'/'), "/a.csv");
    EXPECT_EQ(composePath("/", "a.csv", u'/'), "/a.csv");
    EXPECT_EQ(composePath("/home/u", "a.csv", u'/'), "/home/u/a.csv");
    EXPECT_EQ(composePath("C:", "a.csv", u'\\'), "C:\\a.csv");
    EXPECT_EQ(composePath("C:\\", "a.csv", u'\\'), "C:\\a.csv");
}

TEST(ParseFilter, SplitsDescriptionAndPatternPairs) {
    EXPECT_EQ(parseFilter("A|*.a"), (QList<FileDialogFilter>{{"A", "*.a"}}));
    EXPECT_EQ(parseFilter("T(*.txt;*.csv)|*.csv;*.txt|All|*.*"),
              (QList<FileDialogFilter>{{"T(*.txt;*.csv)", "*.csv;*.txt"}, {"All", "*.*"}}));
    EXPECT_EQ(parseFilter("A|*.a|B"), (QList<FileDialogFilter>{{"A", "*.a"}}));
    EXPECT_TRUE(parseFilter("").isEmpty());
}

class CDFileTest : public ::testing::Test {
  protected:
    testing::ScriptedFileDialog dialog;
    clsCDFile file{dialog};
};

TEST_F(CDFileTest, NewInstanceAsksForAnEmptyDialog) {
    EXPECT_EQ(file.ShowSave(), 0);
    ASSERT_EQ(dialog.requests.size(), 1u);
    const FileDialogRequest& request = dialog.requests[0];
    EXPECT_EQ(request.mode, FileDialogMode::Save);
    EXPECT_TRUE(request.title.isEmpty());
    EXPECT_TRUE(request.filters.isEmpty());
    EXPECT_TRUE(request.initialDir.isEmpty());
    EXPECT_TRUE(request.proposedName.isEmpty());
    EXPECT_EQ(file.nameBufferLength(), 255);
}

TEST_F(CDFileTest, ProposedNameIsCutToTheNameBuffer) {
    const QString longName(300, u'n');
    file.setFileName(longName);
    file.ShowSave();
    file.setMaxFileSize(100);
    file.ShowSave();
    file.setMaxFileSize(1000);
    file.ShowOpen();
    ASSERT_EQ(dialog.requests.size(), 3u);
    EXPECT_EQ(dialog.requests[0].proposedName.size(), 254);
    EXPECT_EQ(dialog.requests[1].proposedName.size(), 254);
    EXPECT_EQ(dialog.requests[2].proposedName, longName);
    EXPECT_EQ(dialog.requests[2].mode, FileDialogMode::Open);
}

TEST_F(CDFileTest, PassesTheCallersSettings) {
    QObject owner;
    file.sethWnd(&owner);
    file.setDialogTitle("T");
    file.setFilter("A|*.a|B|*.b");
    file.setFilterIndex(2);
    file.setInitDir("/tmp");
    file.setDefaultExt("txt");
    file.setflags(1024);
    dialog.choose("/tmp/x.b");
    EXPECT_EQ(file.ShowSave(), 0);
    const FileDialogRequest& request = dialog.requests.at(0);
    EXPECT_EQ(request.owner, &owner);
    EXPECT_EQ(request.title, "T");
    EXPECT_EQ(request.filters.size(), 2);
    EXPECT_EQ(request.filterIndex, 2);
    EXPECT_EQ(request.initialDir, "/tmp");
    EXPECT_EQ(request.defaultExt, "txt");
    EXPECT_EQ(request.flags, 1024);
    // The dialog never writes these back.
    EXPECT_EQ(file.FilterIndex(), 2);
    EXPECT_EQ(file.flags(), 1024);
    EXPECT_EQ(file.Filter(), "A|*.a|B|*.b");
}

TEST_F(CDFileTest, ChosenFileGivesPathNameAndFolder) {
    dialog.choose("/home/u/list.csv");
    dialog.choose("/list.csv");
    ASSERT_EQ(file.ShowSave(), 0);
    EXPECT_EQ(file.FileName(), "/home/u/list.csv");
    EXPECT_EQ(file.FileTitle(), "list.csv");
    EXPECT_EQ(file.DirectoryName(), "/home/u");
    // A file in the root folder: the folder text never ends with the separator.
    ASSERT_EQ(file.ShowSave(), 0);
    EXPECT_EQ(file.FileName(), "/list.csv");
    EXPECT_EQ(file.FileTitle(), "list.csv");
    EXPECT_EQ(file.DirectoryName(), "");
}

TEST_F(CDFileTest, CancelIsAnErrorOnlyWhenAskedFor) {
    dialog.choose("/home/u/a.txt");
    ASSERT_EQ(file.ShowSave(), 0);
    dialog.cancel();
    EXPECT_EQ(file.ShowSave(), 0);
    file.setCancelError(true);
    dialog.cancel();
    EXPECT_EQ(file.ShowSave(), kCancelErrorNumber);
    // The results of the last chosen file stay.
    EXPECT_EQ(file.FileName(), "/home/u/a.txt");
    EXPECT_EQ(file.FileTitle(), "a.txt");
    EXPECT_EQ(file.DirectoryName(), "/home/u");
    EXPECT_EQ(file.ExtendedError(), 0);
}

TEST_F(CDFileTest, FailedDialogKeepsItsReasonUntilTheNextCall) {
    file.setCancelError(true);
    dialog.answers.push_back({FileDialogAnswer::Result::Failed, {}, 0x3002});
    EXPECT_EQ(file.ShowSave(), kCancelErrorNumber);
    EXPECT_EQ(file.ExtendedError(), 0x3002);
    dialog.cancel();
    file.ShowSave();
    EXPECT_EQ(file.ExtendedError(), 0);
}

TEST_F(CDFileTest, ChosenAnswerWithoutPathIsReported) {
    dialog.answers.push_back({FileDialogAnswer::Result::Chosen, {}, 0});
    EXPECT_EQ(file.ShowSave(), 0);
    EXPECT_EQ(dialog.failures.size(), 1u);
    EXPECT_TRUE(file.FileName().isEmpty());
}

TEST_F(CDFileTest, SeveralFilesComeAsFolderAndNames) {
    file.setflags(kFlagAllowMultiSelect | kFlagExplorer);
    dialog.answers.push_back({FileDialogAnswer::Result::Chosen, {"/d/a.txt", "/d/b.txt"}, 0});
    ASSERT_EQ(file.ShowOpen(), 0);
    EXPECT_TRUE(dialog.requests.at(0).multiSelect);
    EXPECT_EQ(file.FileName(), QString("/d") + QChar(0) + "a.txt" + QChar(0) + "b.txt");
    EXPECT_EQ(file.DirectoryName(), "/d");

    file.setflags(kFlagAllowMultiSelect);
    dialog.answers.push_back({FileDialogAnswer::Result::Chosen, {"/d/a.txt", "/d/b.txt"}, 0});
    ASSERT_EQ(file.ShowOpen(), 0);
    EXPECT_EQ(file.FileName(), "/d a.txt b.txt");
    EXPECT_EQ(file.DirectoryName(), "/d");
}

}  // namespace
}  // namespace quarnel
