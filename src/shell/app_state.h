// The program-wide state: the open session and database, the connection flag, the last logon's
// user and host, and the eight texts that the catalogue lookups build and the copy, save and
// DDL commands read. One instance is owned by the application and handed to every window.
#pragma once

#include "db/data_access.h"
#include "schema/schema.h"
#include "support/main_layout.h"

#include <QString>

#include <memory>

namespace quarnel {

class Dialogs;

struct AppState {
    // Where sessions come from: the real component, or a test double.
    db::SessionFactory sessionFactory = db::CreateSession;
    // Message boxes, questions and modal runs; never null while windows exist.
    Dialogs* dialogs = nullptr;

    std::shared_ptr<db::Session> objOraSession;
    std::shared_ptr<db::Database> objOraDatabase;
    bool blnConnected = false;
    QString strUserId;
    QString strHostString;

    QString strTableListTxt;
    QString strTableInfoTxt;
    QString strTableInfoCsv;
    QString strPkTxt;
    QString strCreateTableSql;
    QString strIndexInfoTxt;
    QString strIndexInfoCsv;
    QString strCreateIndexSql;

    // Empties the five texts that list the chosen table's columns, key and indexes. The two
    // DDL scripts stay: the lookups replace them.
    void clearTableTexts() {
        strIndexInfoCsv.clear();
        strIndexInfoTxt.clear();
        strTableInfoCsv.clear();
        strTableInfoTxt.clear();
        strPkTxt.clear();
    }

    // The whole schema, read on first use by the commands that need it (search, documents,
    // snapshots), and dropped on disconnect and whenever the table list is read again.
    std::shared_ptr<const schema::Schema> schemaModel;

    bool blnCreateViewOpen = false;
    double sngSplitter2Top = layout::kDesignSplitter2Top;
};

}  // namespace quarnel
