// Sessions are made from one class name only, written here as the component knows it.
#include "db/data_access.h"

#include <gtest/gtest.h>

namespace quarnel::db {
namespace {

const QString kDesignedClass = QStringLiteral("OracleInProcServer.XOraSession");

TEST(CreateSessionTest, TheDesignedClassNameGivesASession) {
    EXPECT_NE(CreateSession(kDesignedClass), nullptr);
}

struct OtherClass {
    const char* label;
    const char* className;
};

class OtherClassNameTest : public ::testing::TestWithParam<OtherClass> {};

TEST_P(OtherClassNameTest, IsRefusedWithTheComponentsFailure) {
    const QString className = QString::fromLatin1(GetParam().className);
    try {
        CreateSession(className);
        FAIL() << "a session was created from " << GetParam().className;
    } catch (const DbError& error) {
        EXPECT_EQ(error.number(), 429);
        EXPECT_TRUE(error.description().contains(className)) << error.description().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, OtherClassNameTest,
    ::testing::Values(OtherClass{"Empty", ""}, OtherClass{"ClassPartOnly", "XOraSession"},
                      OtherClass{"ServerPartOnly", "OracleInProcServer"},
                      OtherClass{"TrailingSpace", "OracleInProcServer.XOraSession "},
                      OtherClass{"OtherClassOfTheServer", "OracleInProcServer.XOraDatabase"},
                      OtherClass{"OtherServer", "Excel.Application"}),
    [](const ::testing::TestParamInfo<OtherClass>& info) { return info.param.label; });

}  // namespace
}  // namespace quarnel::db
