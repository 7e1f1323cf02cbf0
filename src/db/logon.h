// One logon attempt, made the same way by the logon dialog and by quarnel-dump: the user ID
// check, trimming, the connect string, the session and database objects, and the text that tells
// why a logon failed.
#pragma once

#include "db/data_access.h"

#include <QString>
#include <QStringView>

#include <memory>

namespace quarnel::db {

// The option passed to DbOpenDatabase at logon.
inline constexpr int kLogonOption = 3;

// What the user typed, untrimmed. The password is copied only into the connect string, which is
// wiped when the attempt ends.
struct LogonInput {
    QStringView user;
    QStringView password;
    QStringView host;
};

// The user ID check, made on the untrimmed text: only an empty user ID is refused, so one of
// spaces only passes (its connect string then begins with "/").
bool hasUserId(QStringView user);

// Clears the server error that an earlier attempt left on the database, then on the session.
// Either may be missing; failures are ignored.
void resetServerErrors(Session* session, Database* database);

struct LogonResult {
    bool connected = false;
    // The user ID and host string with spaces at either end removed.
    QString userId;
    QString hostString;
    // Why the logon failed; empty when connected.
    QString failure;
};

// One attempt with the objects of the last one in `session` and `database` (either may be
// empty):
// 1. a new session is created from kSessionClassName through `createSession` and replaces
//    `session` (also when the logon then fails);
// 2. the database named by the trimmed host is opened with the connect string
//    trimmed user + "/" + trimmed password and kLogonOption, and replaces `database` only when it
//    opened; after a failure `database` keeps its earlier value;
// 3. the failure text is `session`'s LastServerErrText when its LastServerErr is not 0, else
//    `database`'s when its LastServerErr is not 0, else the failure's own description.
// Never throws for a failure of the data access component.
LogonResult logOn(const SessionFactory& createSession, const LogonInput& input,
                  std::shared_ptr<Session>& session, std::shared_ptr<Database>& database);

}  // namespace quarnel::db
