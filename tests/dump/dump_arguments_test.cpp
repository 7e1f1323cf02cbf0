#include "dump/dump_arguments.h"

#include <gtest/gtest.h>

namespace quarnel::dump {
namespace {

QStringList words(const char* text) {
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

struct ParseCase {
    const char* name;
    QStringList arguments;
    DumpOptions expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << c.name;
}

DumpOptions options(const QString& host, const QString& user, DumpText text = DumpText::Ddl,
                    const QStringList& tables = {}) {
    DumpOptions result;
    result.host = host;
    result.user = user;
    result.text = text;
    result.tables = tables;
    return result;
}

DumpOptions withStdinPassword(DumpOptions o) {
    o.passwordFromStdin = true;
    return o;
}

DumpOptions withEncoding(DumpOptions o, const QString& encoding) {
    o.encoding = encoding;
    return o;
}

DumpOptions helpOnly() {
    DumpOptions o;
    o.help = true;
    return o;
}

class ParseDumpArgumentsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDumpArgumentsTest, ReadsTheOptions) {
    const ParseCase& c = GetParam();
    const ParsedArguments parsed = parseDumpArguments(c.arguments);
    ASSERT_TRUE(parsed.ok()) << parsed.error.toStdString();
    const DumpOptions& o = parsed.options;
    EXPECT_EQ(o.help, c.expected.help);
    EXPECT_EQ(o.host, c.expected.host);
    EXPECT_EQ(o.user, c.expected.user);
    EXPECT_EQ(o.passwordFromStdin, c.expected.passwordFromStdin);
    EXPECT_EQ(o.text, c.expected.text);
    EXPECT_EQ(o.encoding, c.expected.encoding);
    EXPECT_EQ(o.tables, c.expected.tables);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDumpArgumentsTest,
    ::testing::Values(
        ParseCase{"DefaultsToDdlOfEveryTableInUtf8", words("--host H --user U"), options("H", "U")},
        ParseCase{"ValuesAfterEquals",
                  words("--host=sqlite:a=b.db --user=U --encoding=CP932 --pk T1 T2"),
                  withEncoding(options("sqlite:a=b.db", "U", DumpText::Pk, {"T1", "T2"}), "CP932")},
        ParseCase{"TablesAndOptionsInAnyOrder",
                  words("T1 --host H --index-csv T2 --password-stdin --user U T1"),
                  withStdinPassword(options("H", "U", DumpText::IndexCsv, {"T1", "T2", "T1"}))},
        ParseCase{"EveryTableList", words("--list --host H --user U"),
                  options("H", "U", DumpText::List)},
        ParseCase{"DoubleDashEndsOptions", words("--host H --user U --info-txt -- -T --pk"),
                  options("H", "U", DumpText::InfoTxt, {"-T", "--pk"})},
        // Spaces around the user ID are kept here and dropped at logon, as the dialog does.
        ParseCase{"ValuesKeptAsGiven",
                  {"--host", " H ", "--user", " U ", "--table-ddl", "My Table"},
                  options(" H ", " U ", DumpText::TableDdl, {"My Table"})},
        ParseCase{"ValueMayLookLikeAnOption", words("--host H --user --ddl --index-ddl"),
                  options("H", "--ddl", DumpText::IndexDdl)},
        ParseCase{"HelpWinsOverMissingOptions", words("--pk --help"), helpOnly()},
        ParseCase{"ShortHelp", words("-h"), helpOnly()}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    QStringList arguments;
    const char* error;
};

void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.name;
}

class ParseDumpArgumentsRefusalTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ParseDumpArgumentsRefusalTest, SaysWhatIsWrong) {
    const RefusedCase& c = GetParam();
    EXPECT_EQ(parseDumpArguments(c.arguments).error.toStdString(), c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDumpArgumentsRefusalTest,
    ::testing::Values(
        RefusedCase{"Nothing", {}, "--host is required"},
        RefusedCase{"NoUser", words("--host H T"), "--user is required"},
        RefusedCase{"EmptyUser", {"--host", "H", "--user", ""}, "--user must not be empty"},
        RefusedCase{"ValueMissing", words("--user U --host"), "--host needs a value"},
        RefusedCase{"HostTwice", words("--host H --user U --host=G"), "--host is given twice"},
        RefusedCase{"EncodingTwice", words("--host H --user U --encoding A --encoding A"),
                    "--encoding is given twice"},
        RefusedCase{"EmptyEncoding", words("--host H --user U --encoding="),
                    "--encoding must not be empty"},
        RefusedCase{"TwoTexts", words("--host H --user U --pk T --ddl"),
                    "--pk and --ddl: only one text can be chosen"},
        RefusedCase{"SameTextTwice", words("--host H --user U --pk --pk"),
                    "--pk and --pk: only one text can be chosen"},
        RefusedCase{"UnknownOption", words("--host H --user U --tables T"),
                    "unknown option --tables"},
        RefusedCase{"FlagWithValue", words("--host H --user U --pk=1"), "--pk takes no value"},
        RefusedCase{"PasswordStdinWithValue", words("--host H --user U --password-stdin=S3cret"),
                    "--password-stdin takes no value"},
        RefusedCase{"PasswordOnCommandLine", words("--host H --user U --password x"),
                    "unknown option --password"},
        // A value typed after "=" or glued to a short option is never repeated.
        RefusedCase{"PasswordAfterEquals", words("--host H --user U --password=S3cret"),
                    "unknown option --password"},
        RefusedCase{"PasswordGluedToShortOption", words("--host H --user U -pS3cret"),
                    "unknown option -p"},
        RefusedCase{"UnknownOptionWithEmptyValue", words("--host H --user U --pass="),
                    "unknown option --pass"},
        RefusedCase{"ListWithTables", words("--host H --user U --list T"),
                    "--list takes no table names"},
        RefusedCase{"DocumentAndText", words("--host H --user U --pk --definition-md D"),
                    "--pk and --definition-md: only one text can be chosen"},
        RefusedCase{"TwoDocuments",
                    words("--host H --user U --definition-md D --definition-xlsx F"),
                    "--definition-xlsx and --definition-md: only one can be chosen"},
        RefusedCase{"OneSheetForMarkdown", words("--host H --user U --one-sheet --definition-md D"),
                    "--one-sheet needs --definition-xlsx"},
        RefusedCase{"OneSheetWithValue", words("--host H --user U --one-sheet=1"),
                    "--one-sheet takes no value"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::dump
