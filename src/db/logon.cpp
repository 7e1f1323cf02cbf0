#include "db/logon.h"

#include "support/logon_text.h"

#include <optional>

namespace quarnel::db {
namespace {

// The server's text for the last failure, from the session, else the database; nothing when
// neither reports one.
std::optional<QString> serverErrorText(const Session* session, const Database* database) {
    try {
        if (session != nullptr && session->LastServerErr() != 0)
            return session->LastServerErrText();
        if (database != nullptr && database->LastServerErr() != 0)
            return database->LastServerErrText();
    } catch (...) {
    }
    return std::nullopt;
}

}  // namespace

bool hasUserId(QStringView user) {
    return !user.isEmpty();
}

void resetServerErrors(Session* session, Database* database) {
    try {
        if (database != nullptr)
            database->LastServerErrReset();
    } catch (...) {
    }
    try {
        if (session != nullptr)
            session->LastServerErrReset();
    } catch (...) {
    }
}

LogonResult logOn(const SessionFactory& createSession, const LogonInput& input,
                  std::shared_ptr<Session>& session, std::shared_ptr<Database>& database) {
    LogonResult result;
    result.userId = trimSpaces(input.user).toString();
    result.hostString = trimSpaces(input.host).toString();

    // The password goes from the input straight into a connect string of its own, sized once so
    // that no reallocation leaves a copy behind; it is wiped when the attempt is over.
    const QStringView password = trimSpaces(input.password);
    QString connectString;
    connectString.reserve(result.userId.size() + 1 + password.size());
    connectString.append(result.userId).append(u'/').append(password);

    try {
        session = createSession(QLatin1String(kSessionClassName));
        database = session->DbOpenDatabase(result.hostString, connectString, kLogonOption);
        result.connected = true;
    } catch (const DbError& failure) {
        result.failure = failure.description();
    } catch (const std::exception& failure) {
        result.failure = QString::fromLocal8Bit(failure.what());
    }
    wipe(connectString);

    if (!result.connected) {
        if (std::optional<QString> server = serverErrorText(session.get(), database.get()))
            result.failure = *server;
    }
    return result;
}

}  // namespace quarnel::db
