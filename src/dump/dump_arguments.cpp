#include "dump/dump_arguments.h"

#include "db/logon.h"

#include <algorithm>

namespace quarnel::dump {

ParsedArguments parseDumpArguments(const QStringList& arguments) {
    ParsedArguments parsed;
    DumpOptions& options = parsed.options;
    bool hostGiven = false;
    bool userGiven = false;
    bool encodingGiven = false;
    bool xlsxGiven = false;
    bool markdownGiven = false;
    QString xlsxTarget;
    QString markdownTarget;
    bool snapshotGiven = false;
    bool tblsGiven = false;
    bool compareGiven = false;
    bool compareUserGiven = false;
    bool compareFormatGiven = false;
    QString textOption;
    const auto failed = [&parsed](const QString& error) {
        parsed.error = error;
        return parsed;
    };

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            options.tables += arguments.mid(i + 1);
            break;
        }
        if (!argument.startsWith(u'-')) {
            options.tables += argument;
            continue;
        }
        // Messages name an option but never repeat its value, which may be a password typed in
        // the wrong place: "--password=S3cret" is reported as "--password", "-pS3cret" as "-p".
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.startsWith(QLatin1String("--"))
                                 ? (equals < 0 ? argument : argument.left(equals))
                                 : argument.left(2);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            DumpOptions help;
            help.help = true;
            return {help, {}};
        }
        if (argument == QLatin1String("--password-stdin")) {
            options.passwordFromStdin = true;
            continue;
        }
        if (argument == QLatin1String("--one-sheet")) {
            options.oneSheet = true;
            continue;
        }

        bool isTextOption = false;
        for (const DumpTextOption& candidate : kDumpTextOptions) {
            if (argument != QLatin1String(candidate.name))
                continue;
            if (!textOption.isEmpty()) {
                return failed(QStringLiteral("%1 and %2: only one text can be chosen")
                                  .arg(textOption, argument));
            }
            textOption = argument;
            options.text = candidate.text;
            isTextOption = true;
        }
        if (isTextOption)
            continue;

        struct ValueOption {
            const char* name;
            QString* value;
            bool* given;
        };
        const std::array<ValueOption, 10> valueOptions{{
            {"--host", &options.host, &hostGiven},
            {"--user", &options.user, &userGiven},
            {"--encoding", &options.encoding, &encodingGiven},
            {"--definition-xlsx", &xlsxTarget, &xlsxGiven},
            {"--definition-md", &markdownTarget, &markdownGiven},
            {"--snapshot", &options.snapshotFile, &snapshotGiven},
            {"--tbls-json", &options.tblsJsonFile, &tblsGiven},
            {"--compare-with", &options.compareHost, &compareGiven},
            {"--compare-user", &options.compareUser, &compareUserGiven},
            {"--compare-format", &options.compareFormat, &compareFormatGiven},
        }};
        const ValueOption* option = nullptr;
        for (const ValueOption& candidate : valueOptions) {
            if (name == QLatin1String(candidate.name))
                option = &candidate;
        }
        if (option == nullptr) {
            const bool isFlag = name == QLatin1String("--help") ||
                                name == QLatin1String("--password-stdin") ||
                                name == QLatin1String("--one-sheet") ||
                                std::any_of(kDumpTextOptions.begin(), kDumpTextOptions.end(),
                                            [&name](const DumpTextOption& candidate) {
                                                return name == QLatin1String(candidate.name);
                                            });
            return failed(isFlag ? QStringLiteral("%1 takes no value").arg(name)
                                 : QStringLiteral("unknown option %1").arg(name));
        }
        if (equals >= 0) {
            *option->value = argument.mid(equals + 1);
        } else if (i + 1 < arguments.size()) {
            *option->value = arguments[++i];
        } else {
            return failed(QStringLiteral("%1 needs a value").arg(name));
        }
        if (*option->given)
            return failed(QStringLiteral("%1 is given twice").arg(name));
        *option->given = true;
    }

    if (!hostGiven)
        return failed(QStringLiteral("--host is required"));
    if (!userGiven)
        return failed(QStringLiteral("--user is required"));
    if (!db::hasUserId(options.user))
        return failed(QStringLiteral("--user must not be empty"));
    if (options.encoding.isEmpty())
        return failed(QStringLiteral("--encoding must not be empty"));
    if (xlsxGiven && markdownGiven)
        return failed(
            QStringLiteral("--definition-xlsx and --definition-md: only one can be chosen"));
    if (xlsxGiven || markdownGiven) {
        const QString document =
            xlsxGiven ? QStringLiteral("--definition-xlsx") : QStringLiteral("--definition-md");
        if (!textOption.isEmpty()) {
            return failed(
                QStringLiteral("%1 and %2: only one text can be chosen").arg(textOption, document));
        }
        options.document = xlsxGiven ? DumpDocument::Excel : DumpDocument::Markdown;
        options.documentTarget = xlsxGiven ? xlsxTarget : markdownTarget;
        if (options.documentTarget.isEmpty())
            return failed(document + QStringLiteral(" must not be empty"));
    }
    if (options.oneSheet && !xlsxGiven)
        return failed(QStringLiteral("--one-sheet needs --definition-xlsx"));
    if (options.text == DumpText::List && !options.tables.isEmpty())
        return failed(QStringLiteral("--list takes no table names"));
    if (options.schemaOutput() && !textOption.isEmpty()) {
        return failed(QStringLiteral("%1: a text cannot be chosen with --snapshot, --tbls-json"
                                     " or --compare-with")
                          .arg(textOption));
    }
    if ((snapshotGiven && options.snapshotFile.isEmpty()) ||
        (tblsGiven && options.tblsJsonFile.isEmpty()) ||
        (compareGiven && options.compareHost.trimmed().isEmpty())) {
        return failed(QStringLiteral("a file or host of an output option must not be empty"));
    }
    if ((compareUserGiven || compareFormatGiven) && !compareGiven)
        return failed(QStringLiteral("--compare-user and --compare-format need --compare-with"));
    if (compareGiven && (snapshotGiven || tblsGiven))
        return failed(QStringLiteral("--compare-with writes a report: it takes no file output"));
    if (compareUserGiven && !db::hasUserId(options.compareUser))
        return failed(QStringLiteral("--compare-user must not be empty"));
    if (!compareUserGiven)
        options.compareUser = options.user;
    if (options.compareFormat != QLatin1String("text") &&
        options.compareFormat != QLatin1String("markdown")) {
        return failed(QStringLiteral("--compare-format takes text or markdown"));
    }
    return parsed;
}

}  // namespace quarnel::dump
