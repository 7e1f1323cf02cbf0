// The password line: its end, its limit, and what is refused.
#include "dump/password_input.h"

#include "dump/dump_run_fixture.h"

#include <gtest/gtest.h>

namespace quarnel::dump {
namespace {

using testing::inputOf;

struct LineCase {
    const char* name;
    QByteArray input;
    // Bytes handed out a call, to cover a line end that arrives in a later block.
    qint64 block;
    QString password;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class PasswordLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(PasswordLineTest, ReadsTheFirstLineWithoutItsEnd) {
    const LineCase& c = GetParam();
    QString error;
    const std::optional<QString> password = readPasswordLine(inputOf(c.input, c.block), &error);
    ASSERT_TRUE(password.has_value()) << error.toStdString();
    EXPECT_EQ(password->toStdString(), c.password.toStdString());
}

const QByteArray kLongest(kMaxPasswordBytes, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordLineTest,
    ::testing::Values(
        LineCase{"LfEndsTheLine", "secret\nnext\n", 1 << 16, "secret"},
        LineCase{"CrLfEndsTheLine", "secret\r\nnext", 1 << 16, "secret"},
        LineCase{"LastLineWithoutEnd", "secret", 1 << 16, "secret"},
        LineCase{"LoneCrIsPartOfALastLine", "secret\r", 1 << 16, "secret\r"},
        LineCase{"EmptyInput", "", 1 << 16, ""}, LineCase{"EmptyLine", "\r\nsecret\n", 1 << 16, ""},
        LineCase{"LineEndInALaterBlock", "se cret\r\nx", 3, "se cret"},
        LineCase{"Utf8", "パス\n", 2, QStringLiteral("パス")},
        LineCase{"LongestLineWithCrLf", kLongest + "\r\n", 1000, QString::fromLatin1(kLongest)},
        LineCase{"LongestLineAtTheEnd", kLongest, 1 << 16, QString::fromLatin1(kLongest)}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    InputReader read;
    QString error;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class PasswordLineRefusalTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(PasswordLineRefusalTest, SaysWhy) {
    QString error;
    EXPECT_FALSE(readPasswordLine(GetParam().read, &error).has_value());
    EXPECT_EQ(error.toStdString(), GetParam().error.toStdString());
}

const QString kTooLong = QStringLiteral("the password line is longer than 4096 bytes");

// An input that never ends (like /dev/zero); counts the bytes handed out.
InputReader endless(std::shared_ptr<qint64> handedOut) {
    return [handedOut](char* buffer, qint64 size) {
        std::fill(buffer, buffer + size, '\0');
        *handedOut += size;
        return size;
    };
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordLineRefusalTest,
    ::testing::Values(RefusedCase{"OneByteTooLong", inputOf(kLongest + "x\n"), kTooLong},
                      RefusedCase{"OneByteTooLongAtTheEnd", inputOf(kLongest + "x"), kTooLong},
                      RefusedCase{"OneByteTooLongBeforeCr", inputOf(kLongest + "x\r\n", 7),
                                  kTooLong},
                      RefusedCase{"EndlessInput", endless(std::make_shared<qint64>()), kTooLong},
                      RefusedCase{"NotUtf8", inputOf("\x82\xa0\n"),
                                  QStringLiteral("the password line is not UTF-8")},
                      RefusedCase{"UnreadableInput", [](char*, qint64) { return qint64(-1); },
                                  QStringLiteral("cannot read the password from standard input")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PasswordLineLimitTest, AnEndlessInputIsReadOnlyUpToTheLimit) {
    auto handedOut = std::make_shared<qint64>(0);
    QString error;
    EXPECT_FALSE(readPasswordLine(endless(handedOut), &error).has_value());
    EXPECT_EQ(*handedOut, kMaxPasswordBytes + 2);
}

}  // namespace
}  // namespace quarnel::dump
