#include "db/engines.h"
#include "support/logon_text.h"

namespace quarnel::db {
namespace {

class EngineSession : public Session {
  public:
    void LastServerErrReset() override {
        m_lastErr = 0;
        m_lastErrText.clear();
    }
    int LastServerErr() const override { return m_lastErr; }
    QString LastServerErrText() const override { return m_lastErrText; }

    std::shared_ptr<Database> DbOpenDatabase(const QString& host, const QString& connect,
                                             int /*options*/) override {
        LastServerErrReset();
        try {
            const qsizetype slash = connect.indexOf(u'/');
            if (host.startsWith(QLatin1String(kSqliteHostPrefix))) {
                SqliteOptions options;
                options.userName = slash < 0 ? connect : connect.left(slash);
                return OpenSqliteDatabase(host.mid(int(qstrlen(kSqliteHostPrefix))), options);
            }
            QString user = slash < 0 ? connect : connect.left(slash);
            QString password = slash < 0 ? QString() : connect.mid(slash + 1);
            auto database = [&] {
                try {
                    return OpenOracleDatabase(host, user, password);
                } catch (...) {
                    wipe(password);
                    throw;
                }
            }();
            wipe(password);
            return database;
        } catch (const ServerRefusal& refusal) {
            m_lastErr = refusal.number();
            m_lastErrText = refusal.description();
            throw;
        }
    }

  private:
    int m_lastErr = 0;
    QString m_lastErrText;
};

}  // namespace

std::shared_ptr<Session> CreateSession(const QString& className) {
    if (className != QLatin1String(kSessionClassName)) {
        throw DbError(QStringLiteral("ActiveX コンポーネントはオブジェクトを作成できません: %1")
                          .arg(className),
                      429);
    }
    return std::make_shared<EngineSession>();
}

}  // namespace quarnel::db
